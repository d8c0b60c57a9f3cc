#include "person.h"

#include "convert.h"
#include "errors.h"
#include "text.h"

namespace vh::db {

std::string PersonLabel(const StaffRecord& person, const NameTables& names) {
    std::string label;
    const std::int32_t common = person.Get(StaffRecord::CommonName);
    if (common >= 1) {
        label = names.common.At(common);
    } else {
        const std::int32_t second = person.Get(StaffRecord::SecondName);
        const std::int32_t first = person.Get(StaffRecord::FirstName);
        if (second >= 1) label = names.second.At(second);
        if (first >= 1) {
            label += ", ";
            label += names.first.At(first);
        }
    }
    label += " (";
    label += std::to_string(person.Get(StaffRecord::Id));
    label += ")";
    return label;
}

std::string GetStaffName(std::int32_t id, RecordFile& staff, const NameTables& names) {
    staff.Reset(StaffRecord::kSize);
    staff.Seek(id);
    StaffRecord person;
    staff.Read(person.bytes);
    return PersonLabel(person, names);
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
