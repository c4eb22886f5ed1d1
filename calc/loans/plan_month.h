// A calendar month (year and month) of a repayment plan, with the month
// arithmetic the schedule needs and its "YYYY-MM" text.
#pragma once

#include <compare>
#include <optional>

#include "runtime/text.h"

namespace qh {

struct PlanMonth {
    int year = 0;
    int month = 0;  // 1 to 12

    auto operator<=>(const PlanMonth&) const = default;
};

inline constexpr int kMonthsPerYear = 12;

// Months counted from year 0, so that differences are plain subtraction.
constexpr int MonthIndex(PlanMonth m) { return m.year * kMonthsPerYear + (m.month - 1); }
constexpr PlanMonth MonthAt(int index) { return {index / kMonthsPerYear, index % kMonthsPerYear + 1}; }
constexpr PlanMonth AddMonths(PlanMonth m, int months) { return MonthAt(MonthIndex(m) + months); }
constexpr int MonthsFrom(PlanMonth from, PlanMonth to) { return MonthIndex(to) - MonthIndex(from); }

// "2026-01"; nothing for any other form or a month outside 1 to 12 or a
// year outside 1900 to 2200.
std::optional<PlanMonth> ParsePlanMonth(const Text& text);
Text PlanMonthText(PlanMonth m);

}  // namespace qh
