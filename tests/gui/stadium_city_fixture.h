// The stadium and city pages under test: records patched byte by byte, searches by name, picks
// through the picker, saves, and whole-file comparisons.
#pragma once

#include <QCheckBox>
#include <cstring>
#include <functional>

#include "database/records/data_def.h"
#include "dialogs/qtext.h"
#include "editor/pages/page_kit.h"
#include "editor_fixture.h"

namespace vh::test {

using db::CityRecord;
using db::NationRecord;
using db::StadiumRecord;
using ui::Answer;

class StadiumCity : public EditorTest {
  protected:
    StadiumRecord Stadium(std::int32_t n) { return Record<StadiumRecord>(n); }
    CityRecord City(std::int32_t n) { return Record<CityRecord>(n); }
    db::ClubRecord Club(std::int32_t n) { return Record<db::ClubRecord>(n); }
    NationRecord Nation(std::int32_t n) { return Record<NationRecord>(n); }
    // The tests rename the records they search for to names no other record has.
    void Rename(std::int32_t stadium, const char* name) {
        Patch(stadium, [&](StadiumRecord& r) { r.Set(StadiumRecord::Name, name); });
    }
    void RenameCity(std::int32_t city, const char* name) {
        Patch(city, [&](CityRecord& r) { r.Set(CityRecord::Name, name); });
    }

    void Open(const char* menu) {
        Load();
        Action(menu)->trigger();
    }
    // Refills the result list from its radio button, then chooses the line and searches.
    void Search(const char* radio, const QString& line) {
        Find<QRadioButton>(radio)->click();
        Choose(line);
    }
    void ShowStadium(const QString& name, std::int32_t expected) {
        Search("Stadrad", name);
        ASSERT_EQ(Edit("StadId")->text(), QString::number(expected));
    }
    void ShowCity(const QString& name, std::int32_t expected) {
        Search("CityRad", name);
        ASSERT_EQ(Edit("CityId")->text(), QString::number(expected));
    }
    void ExpectNoMatches() {
        ASSERT_NE(LastAsked(), nullptr);
        EXPECT_EQ(LastAsked()->caption, "No Matches");
        EXPECT_EQ(LastText(), "There were no matches to your seach.  Please try again.");
        ui::seam::Clear();
    }
    // A decimal as the page shows it, with the system's separator.
    static QString Local(QString decimal) {
        return decimal.replace('.', QChar(ui::DecimalSeparator()));
    }
    QString Text(const char* control) { return Edit(control)->text(); }
    static QString Name(const StadiumRecord& r) {
        return ui::FromCp1252(r.Get(StadiumRecord::Name));
    }
    static QString Name(const CityRecord& r) { return ui::FromCp1252(r.Get(CityRecord::Name)); }
};

// Everything outside one record is unchanged, and so is the record apart from `changed`.
inline void ExpectOnly(const Bytes& before, const Bytes& after, std::size_t recordStart,
                       std::initializer_list<std::pair<std::size_t, std::size_t>> changed = {}) {
    ASSERT_EQ(before.size(), after.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        bool allowed = false;
        for (auto [from, to] : changed) allowed |= i >= recordStart + from && i <= recordStart + to;
        if (!allowed && before[i] != after[i]) {
            ADD_FAILURE() << "byte " << i << " of the file changed";
            return;
        }
    }
}

}  // namespace vh::test
