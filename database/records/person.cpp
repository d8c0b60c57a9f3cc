#include "database/records/person.h"

#include <charconv>

#include "database/records/convert.h"
#include "database/records/errors.h"
#include "database/records/text.h"

namespace vh::db {

std::string PersonLabel(const StaffRecord& person, const NameTables& names) {
    // Every list of people builds 50000 of these at a time: the parts are found first, then the
    // label is written into one allocation.
    static const std::string kNone;
    const std::string* name = &kNone;
    const std::string* first = nullptr;
    const std::int32_t common = person.Get(StaffRecord::CommonName);
    if (common >= 1) {
        name = &names.common.At(common);
    } else {
        const std::int32_t second = person.Get(StaffRecord::SecondName);
        const std::int32_t f = person.Get(StaffRecord::FirstName);
        if (second >= 1) name = &names.second.At(second);
        if (f >= 1) first = &names.first.At(f);
    }
    char id[16];
    const auto end = std::to_chars(id, id + sizeof id, person.Get(StaffRecord::Id)).ptr;
    const auto idLength = static_cast<std::size_t>(end - id);
    std::string label;
    label.reserve(name->size() + (first ? first->size() + 2 : 0) + idLength + 3);
    label += *name;
    if (first) {
        label += ", ";
        label += *first;
    }
    label += " (";
    label.append(id, idLength);
    label += ')';
    return label;
}

StaffRecord ReadPersonRecord(RecordFile& staff, std::int64_t id) {
    staff.Rewind(StaffRecord::kSize);
    staff.Seek(id);
    StaffRecord person;
    staff.Read(person.bytes);
    return person;
}

std::string GetStaffName(std::int32_t id, RecordFile& staff, const NameTables& names) {
    return PersonLabel(ReadPersonRecord(staff, id), names);
}

std::int32_t GetStaffIdFromName(std::string_view label) {
    const std::size_t open = label.rfind('(');
    const std::size_t close = open == std::string_view::npos ? open : label.find(')', open);
    std::int32_t id = 0;
    if (close == std::string_view::npos || close == open + 1) {
        throw EConvertError("'" + Cp1252ToUtf8(label) + "' is not a valid integer value");
    }
    const std::string_view digits = label.substr(open + 1, close - open - 1);
    for (char c : digits) {
        if (c < '0' || c > '9')
            throw EConvertError("'" + Cp1252ToUtf8(label) + "' is not a valid integer value");
    }
    if (!TryStrToInt(digits, id))
        throw EConvertError("'" + Cp1252ToUtf8(label) + "' is not a valid integer value");
    return id;
}

}  // namespace vh::db
