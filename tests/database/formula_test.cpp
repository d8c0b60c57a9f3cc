// Formulas: what an expression gives for a row, where a parse fails and what it expected, the
// nearest names for a field that does not exist, and what an assignment lets a column take.
#include <gtest/gtest.h>

#include <map>

#include "database/tables/formula.h"

namespace vh::db {
namespace {

const std::vector<Column>& Players() {
    static const std::vector<Column> columns = ColumnsOf(TableOf(TableId::kPlayers));
    return columns;
}

std::size_t ColumnIndex(const std::vector<Column>& columns, std::string_view name) {
    for (std::size_t c = 0; c < columns.size(); ++c)
        if (columns[c].name == name) return c;
    ADD_FAILURE() << "no column " << name;
    return 0;
}

TEST(Formula, ExpressionsGiveTheirValueOrSayWhereAndWhyNot) {
    const std::map<std::string, std::string> row = {{"PLayerPace", "12"},
                                                    {"PlayerWage", "1000"},
                                                    {"PlayerValue", "0"},
                                                    {"PlayerNation.name", "Norland"},
                                                    {"PlayerDayOB", ""}};
    const Formula::CellOf cell = [&](std::size_t c) { return row.at(Players()[c].name); };
    struct Case {
        std::string expression;
        double value;       // when it evaluates
        std::string error;  // else: how the message starts (parse or evaluation)
    };
    const Case cases[] = {
        {"1+2*3", 7, ""},
        {"(1+2)*3", 9, ""},
        {"10/4-1", 1.5, ""},
        {"-PLayerPace+2", -10, ""},
        {"1 - -1", 2, ""},
        {"PlayerWage*0.9", 900, ""},
        {"PlayerWage * .5", 500, ""},
        {"min(PLayerPace, 5, 7)", 5, ""},
        {"MAX(1,PLayerPace)", 12, ""},
        {"clamp(PLayerPace+10, 0, 20)", 20, ""},
        {"round(2.5)+round(-2.5)+round(0.49)", 0, ""},
        {"round(7.5)", 8, ""},
        // Evaluation: per row.
        {"PlayerWage/PlayerValue", 0, "division by zero"},
        {"clamp(1, 5, 3)", 0, "clamp(x, lo, hi) with lo 5 above hi 3"},
        {"PlayerDayOB+1", 0, "no value"},
        // Parsing: the position counts characters from 1.
        {"PLayerPace+*2", 0,
         "character 12: expected a number, a field, a text in quotes or '(', "
         "found '*'"},
        {"(1+2", 0, "character 5: expected ')', found the end"},
        {"1 2", 0, "character 3: expected an operator (+ - * /) or the end, found '2'"},
        {"", 0, "character 1: expected a number"},
        {"1.2.3", 0, "character 1: '1.2.3' is no number"},
        {"\"open", 0, "character 1: the text in quotes is never closed"},
        {"PLayerPase+1", 0, "character 1: no field 'PLayerPase': the nearest are PLayerPace, "},
        {"2*playerwage", 0, "character 3: no field 'playerwage': the nearest are PlayerWage, "},
        {"sqrt(4)", 0, "character 1: no function 'sqrt': the functions are min, max, clamp"},
        {"clamp(1,2)", 0, "character 1: clamp takes three values (x, lo, hi), not 2"},
        {"min(3)", 0, "character 1: min takes two values or more, not 1"},
        {"\"a\"+1", 0, "character 1: a text: + - * / and the functions take numbers"},
        {"max(1, PlayerNation.name)", 0, "character 8: 'PlayerNation.name' holds text"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expression);
        try {
            const Formula f(c.expression, Players());
            const Formula::Value v = f.Evaluate(cell);
            if (c.error.empty()) {
                EXPECT_EQ(v.error, "");
                EXPECT_DOUBLE_EQ(v.number, c.value);
            } else {
                EXPECT_EQ(v.error.substr(0, c.error.size()), c.error);
            }
        } catch (const EFormulaError& e) {
            EXPECT_EQ(std::string(e.what()).substr(0, c.error.size()), c.error) << e.what();
            EXPECT_FALSE(c.error.empty()) << e.what();
        }
    }
    // Text in quotes, a quote doubled inside it.
    const Formula text("\"say \"\"hi\"\"\"", Players());
    EXPECT_TRUE(text.IsText());
    EXPECT_EQ(text.Evaluate(cell).text, "say \"hi\"");
}

TEST(Formula, AnAssignmentTakesWhatItsColumnHolds) {
    const std::vector<Column> clubs = ColumnsOf(TableOf(TableId::kClubs));
    struct Case {
        const std::vector<Column>& columns;
        std::string text;
        std::string column;  // the column set, when taken
        bool byName;
        std::string error;  // else: the message
    };
    const Case cases[] = {
        {Players(), "PLayerPace = PLayerPace+2", "PLayerPace", false, ""},
        {Players(), "PLayerMonthOB=PLayerMonthOB", "PLayerMonthOB", false, ""},
        {Players(), "PlayerNation=\"Norland\"", "PlayerNation", true, ""},
        {Players(), "PlayerNation.name=\"Norland\"", "PlayerNation", true, ""},
        {Players(), "PlayerNation=3", "PlayerNation", false, ""},
        {clubs, "ClubSName=ClubLName", "ClubSName", false, ""},
        {Players(), "PLayerPace", "", false, "'PLayerPace' is no assignment: write FIELD=EXPR"},
        {Players(), "Record=1", "", false, "'Record=1', the record number cannot be set"},
        {Players(), "PLayerPase=1", "", false,
         "'PLayerPase=1', no field 'PLayerPase': the nearest are PLayerPace"},
        {Players(), "PLayerPace=1+", "", false, "'PLayerPace=1+', character 14: expected"},
        {Players(), "PLayerPace=\"fast\"", "", false,
         "'PLayerPace=\"fast\"', PLayerPace holds numbers: it cannot take a text"},
        {clubs, "ClubLName=12", "", false,
         "'ClubLName=12', ClubLName holds text: give a text in quotes"},
        {clubs, "ClubLPosition=1", "", false, "'ClubLPosition=1', ClubLPosition is only shown"},
        {clubs, "ClubRivalList=1", "", false, "'ClubRivalList=1', ClubRivalList is a list"},
        {Players(), "PlayerNation.name=4", "", false,
         "'PlayerNation.name=4', PlayerNation.name "
         "takes a name in quotes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            const Assignment a = ParseAssignment(c.text, c.columns);
            EXPECT_EQ(c.error, "");
            EXPECT_EQ(a.column, ColumnIndex(c.columns, c.column));
            EXPECT_EQ(a.byName, c.byName);
        } catch (const EFormulaError& e) {
            EXPECT_EQ(std::string(e.what()).substr(0, c.error.size()), c.error) << e.what();
            EXPECT_FALSE(c.error.empty()) << e.what();
        }
    }
}

}  // namespace
}  // namespace vh::db
