// How a person is named in every list: "second, first (Id)" or "common (Id)". The Id in
// parentheses at the end is how a chosen line is turned back into a person.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "database/records/data_def.h"
#include "database/records/names.h"
#include "database/records/record_file.h"

namespace vh::db {

// The common name when CommonName >= 1; else the second name (when SecondName >= 1), then ", "
// and the first name (when FirstName >= 1); then " (", the Id, ")". Names from the tables.
std::string PersonLabel(const StaffRecord& person, const NameTables& names);
// The label of the person with that Id, read from staff.dat into a buffer of its own.
// Record `id` of staff.dat, read as a lookup reads it.
StaffRecord ReadPersonRecord(RecordFile& staff, std::int64_t id);
std::string GetStaffName(std::int32_t id, RecordFile& staff, const NameTables& names);
// The Id inside a label: the digits between the last "(" and the ")" after it. A label without
// such a number throws EConvertError "'<label>' is not a valid integer value".
std::int32_t GetStaffIdFromName(std::string_view label);

// ClubJob 0 and 11..16 make a person a player in the people lists; every other code staff.
inline bool IsPlayerJob(int clubJob) {
    return clubJob == 0 || (clubJob >= 11 && clubJob <= 16);
}

}  // namespace vh::db
