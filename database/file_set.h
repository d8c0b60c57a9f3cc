// The files of a data directory, the fixed lists the commands walk, and the set of open record
// files. Names are Windows-style text with their leading backslash, appended to the data path
// exactly as typed ("C:\Game\data" + "\stadium.dat").
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "record_file.h"
#include "reference.h"

namespace vh::db {

struct DataFileInfo {
    std::string_view name;
    int recordSize;
};

// Opened by a load, in this order.
inline constexpr std::array<DataFileInfo, 11> kLoadList = {{
    {"\\stadium.dat", 78},
    {"\\city.dat", 56},
    {"\\club.dat", 581},
    {"\\club_comp.dat", 107},
    {"\\nation.dat", 290},
    {"\\staff.dat", 157},
    {"\\first_names.dat", 60},
    {"\\second_names.dat", 60},
    {"\\common_names.dat", 60},
    {"\\colour.dat", 58},
    {"\\continent.dat", 198},
}};

// Copied by a backup and back by a restore, in this order. clubcomp.dat is opened by no editor.
inline constexpr std::array<std::string_view, 12> kBackupList = {
    "\\stadium.dat",      "\\club.dat",      "\\nation.dat",    "\\first_names.dat",
    "\\second_names.dat", "\\city.dat",      "\\staff.dat",     "\\clubcomp.dat",
    "\\colour.dat",       "\\club_comp.dat", "\\continent.dat", "\\common_names.dat",
};

// Made writable by a load: the backup list, then index.dat.
inline constexpr std::array<std::string_view, 13> kAttributeList = {
    "\\stadium.dat",      "\\club.dat",      "\\nation.dat",    "\\first_names.dat",
    "\\second_names.dat", "\\city.dat",      "\\staff.dat",     "\\clubcomp.dat",
    "\\colour.dat",       "\\club_comp.dat", "\\continent.dat", "\\common_names.dat",
    "\\index.dat",
};

// The files the player and staff editors read their blocks from, and the scratch files they
// create while they run (the exit deletes those it created).
inline constexpr std::string_view kStaffFile = "\\staff.dat";
inline constexpr std::string_view kIndexFile = "\\index.dat";
inline constexpr std::string_view kIndex2File = "\\index2.dat";
inline constexpr std::string_view kPlayerScratch = "\\player.dat";
inline constexpr std::string_view kNonPlayerScratch = "\\nonplayer.dat";

inline constexpr std::string_view kStadiumFileName = "\\stadium.dat";
inline constexpr std::string_view kClubFile = "\\club.dat";

// The eleven record files of a load, each bound to its file and open with its record size.
struct FileSet {
    RecordFile stadium;
    RecordFile city;
    RecordFile club;
    RecordFile clubComp;
    RecordFile nation;
    RecordFile staff;
    RecordFile firstNames;
    RecordFile secondNames;
    RecordFile commonNames;
    RecordFile colour;
    RecordFile continent;

    // In the order of kLoadList.
    std::array<RecordFile*, 11> InLoadOrder() {
        return {&stadium,    &city,        &club,        &clubComp, &nation,   &staff,
                &firstNames, &secondNames, &commonNames, &colour,   &continent};
    }
    // The file a reference of that target points into; nullptr for the languages.
    RecordFile* Of(Target t);
    // How the set was last opened: a read-only set refuses every write ("File access denied").
    Access access = Access::kReadWrite;
    bool IsReadOnly() const { return access == Access::kReadOnly; }

    void CloseAll();
    // Binds every file to dataPath and resets it with its record size, in load order.
    // Throws EInOutError at the first file that cannot be opened; the set is then unusable,
    // so callers open into a fresh set and keep their old one until this returns.
    void Open(const std::string& dataPath);
    void Open(const std::string& dataPath, Access how);
    // Opens for reading and writing; when that is refused with "File access denied" (another
    // user's files, a read-only medium), opens the same files read-only instead. Any other
    // failure throws as Open does. Returns the access the set got.
    Access OpenWritableOrReadOnly(const std::string& dataPath);
};

// Clears the read-only attribute of every file of the attribute list that has it set. A missing
// file is left alone, silently; so is one whose attribute cannot be changed (opening it for
// writing will then report the problem).
void UnReadOnly(const std::string& dataPath);

// True when dataPath + "\stadium.dat" exists (case-insensitively).
bool HasStadiumFile(const std::string& dataPath);

}  // namespace vh::db
