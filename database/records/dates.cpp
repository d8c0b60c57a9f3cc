#include "database/records/dates.h"

#include <array>

namespace vh::db {

namespace {
constexpr std::array<int, 13> kDaysBefore = {0,   0,   31,  59,  90,  120, 151,
                                             181, 212, 243, 273, 304, 334};
}

void GetDate(int dayOfYear, int& day, int& month) {
    day = 0;
    month = 0;
    if (dayOfYear < 1 || dayOfYear > 365) return;
    int m = 12;
    while (kDaysBefore[static_cast<std::size_t>(m)] >= dayOfYear) --m;
    month = m;
    day = dayOfYear - kDaysBefore[static_cast<std::size_t>(m)];
}

std::optional<int> MakeDate(int day, int month) {
    if (month < 1 || month > 12) return std::nullopt;
    return day + kDaysBefore[static_cast<std::size_t>(month)];
}

}  // namespace vh::db
