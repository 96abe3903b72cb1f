#include "clubdb/Date.h"

#include <gtest/gtest.h>

#include <tuple>

using clubdb::Date;

// Made while the globals of the program are set up, perhaps before those of the date code.
const Date kHeiligabend = Date::fromParts(1961, 12, 24);

// Export dates carry like the calendar; what falls outside 1.1.100 to 31.12.9999 is the zero date
// (the limits are rows of the field helpers' table, which reads its dates through fromParts).
TEST(DateTest, FromPartsCarriesLikeTheCalendar)
{
    // 2000 is a leap year, 1900 none; day 0 is the last day of the month before
    // clang-format off
    const std::tuple<int, int, int, const char*> rows[] = {
        {1961, 12, 24, "1961-12-24"}, {2000, 2, 31, "2000-03-02"}, {2001, 2, 29, "2001-03-01"},
        {2000, 2, 29, "2000-02-29"}, {1900, 2, 29, "1900-03-01"}, {1985, 3, 0, "1985-02-28"},
        {1985, 1, 0, "1984-12-31"}, {1985, 13, 1, "1986-01-01"}, {1985, 0, 15, "1984-12-15"},
        {1985, 25, 1, "1987-01-01"}, {1985, -11, 1, "1984-01-01"}, {1985, -12, 1, "1983-12-01"}};
    // clang-format on
    EXPECT_EQ(kHeiligabend.toText(), "1961-12-24 00:00:00");
    for (const auto& [year, month, day, expected] : rows) // each expected day names its row
        EXPECT_EQ(Date::fromParts(year, month, day).toText(), std::string(expected) + " 00:00:00");
}

TEST(DateTest, StoredTextRoundTripsAndRejectsOtherTexts)
{
    const auto d = Date::fromCivil(2024, 3, 7, 14, 5, 9);
    ASSERT_TRUE(d);
    // the zero date, a time of day, the text read back, a day alone, the zero date read, leap days
    EXPECT_EQ(std::tuple(Date().toText(), d->toText(), Date::fromText(d->toText()) == d,
                         Date::fromText("2024-03-07") == d->dateOnly(), Date::fromText("1899-12-30 00:00:00")->isZero(),
                         Date::fromText("2000-02-29") && Date::fromText("2024-02-29 12:00:00")),
              std::tuple("1899-12-30 00:00:00", "2024-03-07 14:05:09", true, true, true, true));
    for (const char* bad : {"", "2024-3-7", "2024-02-30", "07.03.2024", "2024-03-07T14:05:09", "2024-03-07 24:00:00",
                            "0099-12-31", "abcd-ef-gh", "1900-02-29", "2023-02-29"})
        EXPECT_FALSE(Date::fromText(bad)) << bad;
}
