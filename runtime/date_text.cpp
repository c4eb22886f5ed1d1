// ToText of a date-time: "2024年2月29日13时5分" and its shorter forms.
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "runtime/convert.h"

namespace qh {
namespace {

struct CivilDate {
    std::int64_t year;
    int month;
    int day;
};

bool IsLeapYear(std::int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(std::int64_t y, int m) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return (m == 2 && IsLeapYear(y)) ? 29 : kDays[m - 1];
}

// Day 0 is 1899-12-30. Whole years are stepped over first, from 1900 forward
// or from 1899 backward, then months within the year.
CivilDate DateOfDay(std::int64_t dayNumber) {
    // Day 2 is 1900-01-01; count days from there.
    std::int64_t remaining = dayNumber - 2;
    std::int64_t year = 1900;
    // Leap years repeat every 400 years (146097 days), which keeps the walk
    // short for distant dates.
    constexpr std::int64_t kEra = 146097;
    year += (remaining / kEra) * 400;
    remaining %= kEra;
    while (remaining < 0) {
        --year;
        remaining += IsLeapYear(year) ? 366 : 365;
    }
    while (remaining >= (IsLeapYear(year) ? 366 : 365)) {
        remaining -= IsLeapYear(year) ? 366 : 365;
        ++year;
    }
    int month = 1;
    while (remaining >= DaysInMonth(year, month)) {
        remaining -= DaysInMonth(year, month);
        ++month;
    }
    return {year, month, static_cast<int>(remaining) + 1};
}

}  // namespace

Text ToText(DateTime value, bool dateOnly) {
    if (!std::isfinite(value.days) || std::fabs(value.days) > 1e12) return {};
    auto whole = static_cast<std::int64_t>(value.days);  // toward zero
    const double fraction = value.days - static_cast<double>(whole);
    auto seconds = static_cast<std::int64_t>(std::floor(std::fabs(fraction) * 86400 + 0.5));
    if (seconds >= 86400) {
        // A time that rounds up to midnight belongs to the next day.
        seconds -= 86400;
        whole += value.days < 0 ? -1 : 1;
    }
    const CivilDate date = DateOfDay(whole);
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%lld年%d月%d日", static_cast<long long>(date.year),
                  date.month, date.day);
    Text out = buffer;
    if (dateOnly) return out;

    const int h = static_cast<int>(seconds / 3600);
    const int m = static_cast<int>(seconds / 60 % 60);
    const int s = static_cast<int>(seconds % 60);
    if (s != 0) {
        std::snprintf(buffer, sizeof buffer, "%d时%d分%d秒", h, m, s);
    } else if (m != 0) {
        std::snprintf(buffer, sizeof buffer, "%d时%d分", h, m);
    } else if (h != 0) {
        std::snprintf(buffer, sizeof buffer, "%d时", h);
    } else {
        buffer[0] = '\0';
    }
    return out + buffer;
}

}  // namespace qh
