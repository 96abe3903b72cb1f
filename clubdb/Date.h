#pragma once

// The Date of both database files: a calendar date with a time of day.
//
// The Zervik program counts dates from the zero date 30.12.1899; a field or a computation
// that has no valid date holds that zero date. Valid dates run from 1 January 100 to
// 31 December 9999 in the proleptic Gregorian calendar. In the files a date is stored as
// the text "YYYY-MM-DD HH:MM:SS" (a date without time of day has 00:00:00), which sorts and
// compares like the date itself.

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace clubdb {

class Date
{
public:
    // The zero date 30.12.1899 00:00:00.
    Date() = default;

    // The date of year, month and day with a time of day, or nothing when any part is out of
    // its range (no carry: 31.02. is no date here).
    static std::optional<Date> fromCivil(int year, int month, int day, int hour = 0, int minute = 0,
                                         int second = 0);

    // Year, month and day with carry, as the export dates need it: a month above 12 runs
    // into the following years, month 0 is December of the year before, a day beyond the
    // month's end runs into the following months, day 0 is the last day of the month before.
    // A result outside 1.1.100 to 31.12.9999 gives the zero date.
    static Date fromParts(int year, int month, int day);

    // The local date and time of day, to the second.
    static Date now();

    // Reads the stored form "YYYY-MM-DD HH:MM:SS" or "YYYY-MM-DD"; nothing for any other text.
    static std::optional<Date> fromText(std::string_view text);

    // The stored form "YYYY-MM-DD HH:MM:SS".
    std::string toText() const;

    // "dd.mm.yyyy", as the conversion log shows dates.
    std::string toGerman() const;

    int year() const;
    int month() const;
    int day() const;
    int hour() const { return static_cast<int>(m_seconds / 3600); }
    int minute() const { return static_cast<int>(m_seconds / 60 % 60); }
    int second() const { return static_cast<int>(m_seconds % 60); }

    // The same day at 00:00:00.
    Date dateOnly() const;

    bool isZero() const { return m_days == 0 && m_seconds == 0; }

    // Days since the zero date, for indexes of dates.
    std::int64_t dayNumber() const { return m_days; }

    friend auto operator<=>(const Date&, const Date&) = default;

private:
    std::int64_t m_days = 0;    // days since 30.12.1899
    std::int32_t m_seconds = 0; // seconds since midnight
};

} // namespace clubdb
