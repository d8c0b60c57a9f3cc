// What the editor knows about the files and every field a user edits, written once. Per record
// file its name, its record size (from its layout) and the name field that references into it
// show and find; per table (a kind of record a user edits) its file, what names a record and what
// a search matches; per field its documented name, where it lies, its kind, the range its page
// accepts, its caption and tab, and what it refers to. The load, the reference lookups, the pages,
// the integrity check, the sample generator, export and import all walk these tables.
//
//     const db::Table& clubs = db::TableOf(db::TableId::kClubs);
//     for (const db::Field& f : clubs.fields) ...
//     const db::Field* cash = clubs.Find("ClubCash");   // 0..50000000, caption "Cash"
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "database/records/data_def.h"
#include "database/records/fields.h"
#include "database/records/reference.h"

namespace vh::db {

// --- the record files ----------------------------------------------------------------------------

// Names as the file lists spell them, appended to the data path exactly as typed.
inline constexpr std::string_view kStadiumFile = "\\stadium.dat";
inline constexpr std::string_view kCityFile = "\\city.dat";
inline constexpr std::string_view kClubFile = "\\club.dat";
inline constexpr std::string_view kCompetitionFile = "\\club_comp.dat";
inline constexpr std::string_view kNationFile = "\\nation.dat";
inline constexpr std::string_view kStaffFile = "\\staff.dat";
inline constexpr std::string_view kFirstNamesFile = "\\first_names.dat";
inline constexpr std::string_view kSecondNamesFile = "\\second_names.dat";
inline constexpr std::string_view kCommonNamesFile = "\\common_names.dat";
inline constexpr std::string_view kColourFile = "\\colour.dat";
inline constexpr std::string_view kContinentFile = "\\continent.dat";

// The name field of a layout that references into its file are shown and found by.
template <class R>
constexpr NameField NamedBy(const Str& name) {
    return {static_cast<int>(R::kSize), name.offset, name.width, R::Id.offset};
}
inline constexpr NameField kStadiumName = NamedBy<StadiumRecord>(StadiumRecord::Name);
inline constexpr NameField kCityName = NamedBy<CityRecord>(CityRecord::Name);
inline constexpr NameField kClubShortName = NamedBy<ClubRecord>(ClubRecord::ShortName);
inline constexpr NameField kCompetitionName = NamedBy<ClubCompRecord>(ClubCompRecord::Name);
inline constexpr NameField kColourName = NamedBy<ColourRecord>(ColourRecord::Name);
inline constexpr NameField kNationShortName = NamedBy<NationRecord>(NationRecord::ShortName);
inline constexpr NameField kContinentName = NamedBy<ContinentRecord>(ContinentRecord::Name);
inline constexpr NameField kPersonName = NamedBy<NamesRecord>(NamesRecord::Name);  // 3 names files
// staff.dat: a person is shown and found by his label, which no field holds.
inline constexpr NameField kPersonLabel{static_cast<int>(StaffRecord::kSize), 0, 0,
                                        StaffRecord::Id.offset};

struct DataFileInfo {
    std::string_view name;  // "\\club.dat"
    int recordSize;
    Target target;     // what a reference into the file names
    NameField naming;  // how such a reference shows and finds a record
};
constexpr DataFileInfo FileOf(std::string_view name, Target target, NameField naming) {
    return {name, naming.recordSize, target, naming};
}

// The record files of a data directory, in the order a load opens them.
inline constexpr std::array<DataFileInfo, 11> kDataFiles = {
    FileOf(kStadiumFile, Target::kStadium, kStadiumName),
    FileOf(kCityFile, Target::kCity, kCityName),
    FileOf(kClubFile, Target::kClub, kClubShortName),
    FileOf(kCompetitionFile, Target::kCompetition, kCompetitionName),
    FileOf(kNationFile, Target::kNation, kNationShortName),
    FileOf(kStaffFile, Target::kPerson, kPersonLabel),
    FileOf(kFirstNamesFile, Target::kFirstName, kPersonName),
    FileOf(kSecondNamesFile, Target::kSecondName, kPersonName),
    FileOf(kCommonNamesFile, Target::kCommonName, kPersonName),
    FileOf(kColourFile, Target::kColour, kColourName),
    FileOf(kContinentFile, Target::kContinent, kContinentName),
};

// The file a reference of that target points into; for none and the languages an entry with an
// empty name.
const DataFileInfo& InfoOf(Target t);
// The file name for messages, without its backslash: "city.dat".
std::string_view FileNameOf(Target t);
// The first, second and common names: persons are named by them, and the people lists with them.
constexpr bool IsPersonName(Target t) {
    return t == Target::kFirstName || t == Target::kSecondName || t == Target::kCommonName;
}

// --- the tables ----------------------------------------------------------------------------------

// The tables of export and import, one per kind of record; `players` and `staff` are the persons
// of staff.dat that the people lists class as players and as staff.
enum class TableId : std::uint8_t {
    kStadiums,
    kCities,
    kClubs,
    kNations,
    kPlayers,
    kStaff,
    kCompetitions,
    kColours,
    kContinents,
    kFirstNames,
    kSecondNames,
    kCommonNames,
};
inline constexpr std::size_t kTableCount = 12;

// Which record of a row a field lies in: a person is a staff.dat record and a block record.
enum class Part : std::uint8_t { kRecord, kPlayer, kNonPlayer };

enum class Kind : std::uint8_t {
    kNumber,      // a whole number; the page accepts min..max
    kText,        // cp1252 text of `width` bytes, of which at most `max` are written
    kDate,        // a day of the year, shown as a day field (name) and a month field (monthName)
    kCoordinate,  // a double shown as a decimal of four places
    kReference,   // a record number of the target (or a language number)
    kList,        // `count` consecutive references
    kCheck,       // a flag byte shown as a check box
    kChoice,      // a byte shown as a list of fixed items: item i stands for i + 1
};

// How a field changes.
enum class Edit : std::uint8_t {
    kStored,     // a save and an import store it
    kShownOnly,  // shown, never written
    kMove,       // only through the transfer and appointment rules (a person's club, squads, posts)
};

// Which stored values a check box shows as checked.
enum class Checked : std::uint8_t { kWhenNonZero, kWhenZero, kUnlessOne, kAboveThirtyTwo };

struct Field {
    const char* name;     // the documented control name ("ClubCash"), else the record field's
    const char* caption;  // the page's caption ("Cash")
    const char* tab;      // the page's tab ("Club Info"); "" on a page without tabs
    const char* member;   // the record field as the layouts name it ("Cash")
    Part part = Part::kRecord;
    Kind kind = Kind::kNumber;
    Edit edit = Edit::kStored;
    std::uint16_t offset = 0;
    std::uint8_t width = 4;  // bytes of one value; of the whole field for a text
    std::uint8_t count = 1;  // slots of a list
    bool isSigned = true;
    std::int32_t min = 0;  // numbers: the range the page accepts
    std::int32_t max = 0;  // texts: the characters written
    int maxLength = 0;     // characters its control takes; 0 for no limit beyond the range
    Target target = Target::kNone;
    None none = None::kNegative;
    const char* noneText = nullptr;   // what none shows; "<empty>" when not set
    const char* monthName = nullptr;  // a date's month field
    const char* monthCaption = nullptr;
    Checked checked = Checked::kWhenNonZero;
    std::uint8_t checkedValue = 1;  // what a box changed to checked or unchecked stores
    std::uint8_t uncheckedValue = 0;
    std::span<const char* const> items{};  // a choice's items

    // The whole number at the field (slot `slot` of a list), as its width and sign read it.
    std::int64_t Read(const std::uint8_t* rec, std::size_t slot = 0) const;
    // Stores v in the field's width (the caller has checked it fits).
    void Write(std::uint8_t* rec, std::int64_t v, std::size_t slot = 0) const;
    // A text field: its bytes up to the first zero; writes at most `max` bytes, zero padded.
    std::string ReadText(const std::uint8_t* rec) const;
    void WriteText(std::uint8_t* rec, std::string_view cp1252) const;
    double ReadDouble(const std::uint8_t* rec) const;
    void WriteDouble(std::uint8_t* rec, double v) const;

    bool IsReference() const { return kind == Kind::kReference || kind == Kind::kList; }
    // The value a page writes for none.
    std::int64_t NoneValue() const { return target == Target::kLanguage ? 0 : -1; }
    // Whether v stands for none; `count` is the number of records of the target.
    bool IsNone(std::int64_t v, std::int64_t count) const { return db::IsNone(none, v, count); }
    const char* NoneText() const { return noneText ? noneText : "<empty>"; }
    // A check box's state for a stored value.
    bool IsChecked(std::int64_t v) const;
};

struct Table {
    TableId id;
    std::string_view name;  // "clubs", as export and import spell it
    std::string_view what;  // "club", as messages speak of a record
    Target target;          // what a reference to one of its records names
    std::string_view file;  // "\\club.dat"
    int recordSize;
    // How a reference to a record of this table is shown and found again (persons: by their
    // label). Names tables, competitions, colours and continents are only ever picked.
    NameField naming;
    std::span<const Str> searchedBy;  // the names a search by the user matches, in that order
    std::span<const Field> fields;    // in the order of the page's tabs

    // nullptr when the table has no field of that name.
    const Field* Find(std::string_view name) const;
    // The field over that member of the layouts ("Wage"), in that part of a row; nullptr for none.
    const Field* FindMember(Part part, std::string_view member) const;
    // The persons of a row kind: players or staff; false for the other tables.
    bool IsPersons() const { return id == TableId::kPlayers || id == TableId::kStaff; }
};

std::span<const Table> Tables();
const Table& TableOf(TableId id);
// nullptr for a name that is no table.
const Table* FindTable(std::string_view name);
// What a reference to a record of the table points at: its records are shown and found that way.
Target TargetOf(TableId id);
// "stadiums cities clubs ...", for messages.
std::string TableNames();

// The first field of every table whose name is `name` (control names are unique across pages).
const Field* FindAnyField(std::string_view name);

// The most a field may hold in this record beside its own range, where another field of the
// record bounds it: a stadium never has more seats than places. nullopt for every other field.
std::optional<std::int64_t> BoundIn(TableId table, const Field& f, const std::uint8_t* rec);
// The rules of a whole record that a page and an import apply after its fields: each bounded
// field holds at most its bound.
void ApplyRecordRules(TableId table, std::uint8_t* rec);

}  // namespace vh::db
