// File > "Export Table..." and "Import Table...": the current mode's table as a CSV file, and a
// CSV or JSON file applied back to it, as `vhtool export` and `vhtool import` do.
#include <QFile>
#include <QSaveFile>

#include "database/records/errors.h"
#include "database/tables/table_import.h"
#include "dialogs/msgbox.h"
#include "dialogs/qtext.h"
#include "editor/shell/stad.h"

namespace vh::ui {

namespace {

QString Counted(std::size_t n, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromLatin1(n == 1 ? one : many));
}

// At most `shown` lines of a list, and how many more there are.
template <class T, class Line>
QString Listed(const std::vector<T>& items, Line line, std::size_t shown = 20) {
    QStringList lines;
    for (std::size_t i = 0; i < items.size() && i < shown; ++i) lines << line(items[i]);
    if (items.size() > shown) lines << QStringLiteral("... and %1 more").arg(items.size() - shown);
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

db::TableId TableOfMode(Mode m) {
    switch (m) {
        case Mode::kPlayers:
            return db::TableId::kPlayers;
        case Mode::kStaff:
            return db::TableId::kStaff;
        case Mode::kClubs:
            return db::TableId::kClubs;
        case Mode::kStadiums:
            return db::TableId::kStadiums;
        case Mode::kNation:
            return db::TableId::kNations;
        case Mode::kCity:
            return db::TableId::kCities;
    }
    return db::TableId::kPlayers;
}

std::optional<Mode> ModeOfTable(db::TableId t) {
    for (Mode m :
         {Mode::kPlayers, Mode::kStaff, Mode::kClubs, Mode::kStadiums, Mode::kNation, Mode::kCity})
        if (TableOfMode(m) == t) return m;
    return std::nullopt;
}

void TVHEdit::ExportTableMenuClick() {
    if (!s_.dataLoaded) return;
    const db::Table& table = db::TableOf(TableOfMode(mode_));
    const QString caption = QStringLiteral("Export Table");
    const QString name = AskFileName(
        this, caption, QStringLiteral("CSV files (*.csv);;All files (*)"), FileDialog::kSave,
        QString::fromLatin1(table.name.data(), static_cast<qsizetype>(table.name.size())) +
            QStringLiteral(".csv"));
    if (name.isEmpty()) return;
    db::DataFiles files(s_.dataPath);
    std::string text;
    const std::size_t rows =
        db::WriteTable(db::TableRows(files, table.id), db::TableFormat::kCsv, {}, true, text);
    // Written whole under a temporary name first: a failed export leaves no half file.
    QSaveFile out(name);
    if (!out.open(QIODevice::WriteOnly) ||
        out.write(text.data(), static_cast<qint64>(text.size())) !=
            static_cast<qint64>(text.size()) ||
        !out.commit()) {
        ShowMessage(this, caption,
                    QStringLiteral("%1 could not be written: %2").arg(name, out.errorString()),
                    Buttons::kOk, Icon::kWarning);
        return;
    }
    ShowMessage(this, caption,
                QStringLiteral("Wrote the %1 %2 of the data directory to %3.")
                    .arg(rows)
                    .arg(FromUtf8(std::string(table.name)), name),
                Buttons::kOk, Icon::kInformation);
}

void TVHEdit::ImportTableMenuClick() {
    if (!s_.dataLoaded || readOnly_) return;
    const db::Table& table = db::TableOf(TableOfMode(mode_));
    const QString caption = QStringLiteral("Import Table");
    // An edit on the page is saved or dropped first: the records are shown again afterwards.
    if (!SaveCheck()) return;
    const QString name = AskFileName(
        this, caption, QStringLiteral("CSV or JSON files (*.csv *.json);;All files (*)"),
        FileDialog::kOpen);
    if (name.isEmpty()) return;
    QFile in(name);
    if (!in.open(QIODevice::ReadOnly)) {
        ShowMessage(this, caption,
                    QStringLiteral("%1 could not be read: %2").arg(name, in.errorString()),
                    Buttons::kOk, Icon::kWarning);
        return;
    }
    const QByteArray bytes = in.readAll();
    db::ImportPlan plan;
    try {
        db::DataFiles files(s_.dataPath);
        plan = db::PlanImport(files, table.id,
                              db::ReadCellTable(std::string_view(bytes.data(), bytes.size())));
    } catch (const db::ETableError& e) {
        ShowMessage(this, caption,
                    QStringLiteral("%1: %2. Nothing was written.").arg(name, FromUtf8(e.what())),
                    Buttons::kOk, Icon::kWarning);
        return;
    }
    if (!plan.bad.empty()) {
        ShowMessage(
            this, caption,
            QStringLiteral("%1 has %2; nothing was written.\n\n%3")
                .arg(name, Counted(plan.bad.size(), "bad cell", "bad cells"))
                .arg(Listed(plan.bad,
                            [](const db::BadCell& b) { return FromUtf8(db::Describe(b)); })),
            Buttons::kOk, Icon::kWarning);
        return;
    }
    if (plan.writes.Empty()) {
        ShowMessage(this, caption,
                    QStringLiteral("Nothing to change: every cell of %1 is as the data directory "
                                   "holds it.")
                        .arg(name),
                    Buttons::kOk, Icon::kInformation);
        return;
    }
    const QString changes = Listed(plan.changes, [](const db::CellChange& c) {
        return QStringLiteral("%1 record %2 %3: %4 -> %5")
            .arg(FromUtf8(std::string(db::TableOf(c.table).name)))
            .arg(c.record)
            .arg(FromUtf8(c.column), FromUtf8(c.before), FromUtf8(c.after));
    });
    if (ShowMessage(this, caption,
                    QStringLiteral("Change %1 of %2?\n\n%3")
                        .arg(Counted(plan.changes.size(), "field", "fields"),
                             Counted(plan.records, "record", "records"), changes),
                    Buttons::kYesNo, Icon::kQuestion) != Answer::kYes)
        return;
    s_.history.Commit(s_.dataPath, plan.writes);
    ShowRecordsAgain();
}

}  // namespace vh::ui
