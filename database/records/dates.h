// Person dates are a day of the year (1 = 1 January .. 365 = 31 December, February always 28
// days) beside a year; the pages show day and month.
#pragma once

#include <optional>

namespace vh::db {

// Day of the year to day and month. A day of the year outside 1..365 has no month: both outputs
// are set to 0, never left as they were.
void GetDate(int dayOfYear, int& day, int& month);
// Day and month to a day of the year. The day is not checked against the month, so 31 April
// runs on to 1 May (121). A month outside 1..12 gives no date; callers then keep what was stored.
std::optional<int> MakeDate(int day, int month);

}  // namespace vh::db
