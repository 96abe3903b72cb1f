#include "clubdb/Date.h"

#include <cstdio>
#include <ctime>

namespace clubdb {
namespace {

// Days between 1.1.1970 and the given civil date (Howard Hinnant's days_from_civil). Evaluated
// at compile time for the constants below, so that a date made while other globals are set up
// (a constant of another file) never meets them still zero.
constexpr std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

struct Civil
{
    std::int64_t year;
    unsigned month;
    unsigned day;
};

Civil civilFromDays(std::int64_t z)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2), m, d};
}

constexpr std::int64_t kZeroDay = daysFromCivil(1899, 12, 30);
constexpr std::int64_t kFirstDay = daysFromCivil(100, 1, 1) - kZeroDay;
constexpr std::int64_t kLastDay = daysFromCivil(9999, 12, 31) - kZeroDay;

bool isLeap(std::int64_t y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(std::int64_t y, int m)
{
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

// Reads exactly n digits at pos.
std::optional<int> digits(std::string_view text, std::size_t pos, std::size_t n)
{
    if (pos + n > text.size())
        return std::nullopt;
    int value = 0;
    for (std::size_t i = pos; i < pos + n; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

} // namespace

std::optional<Date> Date::fromCivil(int year, int month, int day, int hour, int minute, int second)
{
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
        return std::nullopt;
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return std::nullopt;
    Date d;
    d.m_days = daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kZeroDay;
    d.m_seconds = hour * 3600 + minute * 60 + second;
    return d;
}

Date Date::fromParts(int year, int month, int day)
{
    // Normalise the month into 1..12, carrying whole years; then count the day from the
    // first of that month, which carries days across month and year ends.
    std::int64_t m0 = static_cast<std::int64_t>(month) - 1;
    const std::int64_t carry = m0 / 12 - (m0 % 12 < 0 ? 1 : 0);
    const std::int64_t y = year + carry;
    m0 -= carry * 12;
    // Years this far out cannot come back into range through the day carry of a 16-bit day.
    if (y < -1000 || y > 20000)
        return Date();
    const std::int64_t days =
        daysFromCivil(y, static_cast<unsigned>(m0 + 1), 1) - kZeroDay + (static_cast<std::int64_t>(day) - 1);
    if (days < kFirstDay || days > kLastDay)
        return Date();
    Date d;
    d.m_days = days;
    return d;
}

Date Date::now()
{
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return fromCivil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                     local.tm_sec)
        .value_or(Date());
}

std::optional<Date> Date::fromText(std::string_view text)
{
    if (text.size() != 10 && text.size() != 19)
        return std::nullopt;
    const auto y = digits(text, 0, 4);
    const auto m = digits(text, 5, 2);
    const auto d = digits(text, 8, 2);
    if (!y || !m || !d || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    if (text.size() == 10) {
        // The zero date lies before the valid range but is a stored value all the same.
        if (*y == 1899 && *m == 12 && *d == 30)
            return Date();
        return fromCivil(*y, *m, *d);
    }
    const auto hh = digits(text, 11, 2);
    const auto mi = digits(text, 14, 2);
    const auto ss = digits(text, 17, 2);
    if (!hh || !mi || !ss || text[10] != ' ' || text[13] != ':' || text[16] != ':')
        return std::nullopt;
    if (*y == 1899 && *m == 12 && *d == 30) {
        auto zero = fromCivil(2000, 1, 1, *hh, *mi, *ss);
        if (!zero)
            return std::nullopt;
        Date t;
        t.m_seconds = zero->m_seconds;
        return t;
    }
    return fromCivil(*y, *m, *d, *hh, *mi, *ss);
}

int Date::year() const
{
    return static_cast<int>(civilFromDays(m_days + kZeroDay).year);
}

int Date::month() const
{
    return static_cast<int>(civilFromDays(m_days + kZeroDay).month);
}

int Date::day() const
{
    return static_cast<int>(civilFromDays(m_days + kZeroDay).day);
}

Date Date::dateOnly() const
{
    Date d = *this;
    d.m_seconds = 0;
    return d;
}

std::string Date::toText() const
{
    // Written by hand: every stored person and membership carries dates, and the general
    // formatting costs more than the rest of preparing the record.
    const Civil c = civilFromDays(m_days + kZeroDay);
    std::string text = "0000-00-00 00:00:00";
    const auto put = [&text](std::size_t end, long value, int digits) {
        for (; digits > 0; --digits, value /= 10)
            text[--end] = static_cast<char>('0' + value % 10);
    };
    put(4, static_cast<long>(c.year), 4);
    put(7, static_cast<long>(c.month), 2);
    put(10, static_cast<long>(c.day), 2);
    put(13, hour(), 2);
    put(16, minute(), 2);
    put(19, second(), 2);
    return text;
}

std::string Date::toGerman() const
{
    const Civil c = civilFromDays(m_days + kZeroDay);
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%02u.%02u.%04d", c.day, c.month, static_cast<int>(c.year));
    return buffer;
}

} // namespace clubdb
