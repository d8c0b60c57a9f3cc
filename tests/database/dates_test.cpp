#include <gtest/gtest.h>

#include "database/records/dates.h"

namespace vh::db {
namespace {

struct DM {
    int day, month;
};
DM Get(int doy) {
    DM r{-9, -9};
    GetDate(doy, r.day, r.month);
    return r;
}

TEST(Dates, DayOfYearToDayAndMonth) {
    EXPECT_EQ(Get(1).day, 1);
    EXPECT_EQ(Get(1).month, 1);
    EXPECT_EQ(Get(59).day, 28);
    EXPECT_EQ(Get(59).month, 2);
    EXPECT_EQ(Get(60).day, 1);
    EXPECT_EQ(Get(60).month, 3);
    EXPECT_EQ(Get(365).day, 31);
    EXPECT_EQ(Get(365).month, 12);
    EXPECT_EQ(Get(121).month, 5);
}

TEST(Dates, OutOfRangeGivesZeroForBothNeverAStaleValue) {
    for (int doy : {0, -1, 366, 32767, -32768}) {
        EXPECT_EQ(Get(doy).day, 0) << doy;
        EXPECT_EQ(Get(doy).month, 0) << doy;
    }
}

TEST(Dates, DayAndMonthToDayOfYearRunsOnPastTheMonthsEnd) {
    EXPECT_EQ(MakeDate(1, 1), 1);
    EXPECT_EQ(MakeDate(31, 12), 365);
    EXPECT_EQ(MakeDate(29, 2), 60);
    EXPECT_EQ(MakeDate(31, 4), 121);
    EXPECT_EQ(Get(*MakeDate(29, 2)).month, 3);
    EXPECT_FALSE(MakeDate(5, 0).has_value());
    EXPECT_FALSE(MakeDate(5, 13).has_value());
    // Every day of the year survives the round trip.
    for (int doy = 1; doy <= 365; ++doy) {
        const DM d = Get(doy);
        EXPECT_EQ(MakeDate(d.day, d.month), doy);
    }
}

}  // namespace
}  // namespace vh::db
