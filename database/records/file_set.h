// The files of a data directory, the fixed lists the commands walk, and the set of open record
// files. Names are Windows-style text with their leading backslash, appended to the data path
// exactly as typed ("C:\Game\data" + "\stadium.dat").
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "database/records/catalogue.h"
#include "database/records/record_file.h"
#include "database/records/reference.h"

namespace vh::db {

// Opened by a load, in this order: the catalogue's record files.
inline constexpr const auto& kLoadList = kDataFiles;

// clubcomp.dat is copied by a backup but opened by no editor.
inline constexpr std::string_view kClubCompFile = "\\clubcomp.dat";
// The block index of staff.dat.
inline constexpr std::string_view kIndexFile = "\\index.dat";

// Copied by a backup and back by a restore, in this order.
inline constexpr std::array<std::string_view, 12> kBackupList = {
    kStadiumFile, kClubFile,     kNationFile, kFirstNamesFile,  kSecondNamesFile, kCityFile,
    kStaffFile,   kClubCompFile, kColourFile, kCompetitionFile, kContinentFile,   kCommonNamesFile,
};

// Made writable by a load: the backup list, then index.dat.
inline constexpr std::array<std::string_view, 13> kAttributeList = [] {
    std::array<std::string_view, 13> out{};
    for (std::size_t i = 0; i < kBackupList.size(); ++i) out[i] = kBackupList[i];
    out.back() = kIndexFile;
    return out;
}();

// The scratch files the player and staff editors create while they run (the exit deletes those
// it created).
inline constexpr std::string_view kIndex2File = "\\index2.dat";
inline constexpr std::string_view kPlayerScratch = "\\player.dat";
inline constexpr std::string_view kNonPlayerScratch = "\\nonplayer.dat";

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
    std::array<RecordFile*, kLoadList.size()> InLoadOrder() {
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
