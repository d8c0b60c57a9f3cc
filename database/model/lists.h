// The tables behind the result list and the picker's lists, filled from the record files, and the
// incremental filter that narrows a list as the user types. Text is cp1252 bytes throughout.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "database/records/file_set.h"
#include "database/records/names.h"

namespace vh::db {

inline constexpr std::size_t kStadiumListCapacity = 9000;
inline constexpr std::size_t kClubListCapacity = 29998;
inline constexpr std::size_t kNationListCapacity = 600;
inline constexpr std::size_t kCompetitionListCapacity = 500;
inline constexpr std::size_t kCityListCapacity = 5000;
inline constexpr std::size_t kContinentListCapacity = 6;
inline constexpr std::size_t kPeopleListCapacity = 90000;
inline constexpr std::size_t kPersonLabelWidth = 103;

struct ListTables {
    NameTable stadium{kStadiumListCapacity};
    NameTable club{kClubListCapacity};
    NameTable nation{kNationListCapacity};
    NameTable competition{kCompetitionListCapacity};
    NameTable city{kCityListCapacity};
    NameTable continent{kContinentListCapacity};
    NameTable player{kPeopleListCapacity};  // persons whose ClubJob makes them players
    NameTable staff{kPeopleListCapacity};   // everyone else
};

// Entry n = the name field of record n, read as a fixed string, up to the table's capacity.
void StadiumLoad(FileSet& files, ListTables& t);
void ClubLoad(FileSet& files, ListTables& t);    // short names
void NationLoad(FileSet& files, ListTables& t);  // short names
void ClubCompLoad(FileSet& files, ListTables& t);
void CityLoad(FileSet& files, ListTables& t);
void ContinentLoad(FileSet& files, ListTables& t);

// Labels of every person, players and staff apart, from one pass over the person records of
// staff.dat (PersonRecordCount); block bytes are never read as persons.
void StaffLoad(FileSet& files, const std::string& dataPath, const NameTables& names, ListTables& t);

// The filter's working copy: the first letter and every letter after a blank made upper case
// (a-z only; nothing else changes).
std::string CapitaliseForFilter(std::string_view typed);
// Appends, in table order, every entry that begins with `capitalised` or with `typed` (each entry
// once).
void AppendMatching(const Names& table, std::string_view capitalised, std::string_view typed,
                    std::vector<const std::string*>& out);

}  // namespace vh::db
