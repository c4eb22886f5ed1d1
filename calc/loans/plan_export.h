// A repayment plan as text: the CSV the plan window exports and
// `qingheloan plan --csv` prints, the aligned table qingheloan prints, and
// the summary lines both show.
#pragma once

#include <string>
#include <vector>

#include "calc/loans/repayment_plan.h"

namespace qh {

// One loan of a plan with the name its header lines carry ("" for a single
// loan; "公积金" and "商贷" for the parts of a combined one).
struct NamedPlan {
    Text name;
    const LoanPlan* plan = nullptr;
};

// The schedule's columns, in order.
inline constexpr const char* kPlanColumns[] = {"期数", "还款月份", "月供", "本金", "利息", "剩余本金", "年利率", "说明"};
inline constexpr int kPlanColumnCount = 8;

// A row's cells as the list view and the table show them: amounts with two
// decimals and grouping, the rate in percent, and the 说明 of a month with
// one of the user's events marked "◆".
std::vector<Text> PlanRowCells(const PlanRow& row);

// The CSV: UTF-8 with a byte-order mark and CRLF line ends (as Excel on a
// Chinese Windows opens it), a header block naming the inputs, a blank
// line, then the schedule with the columns above (amounts with two decimals
// and no grouping, months as YYYY-MM, the rate in percent).
std::string PlanCsv(const std::vector<NamedPlan>& plans, const PlanSchedule& schedule);

// The summary: first and last payment (one line when they are equal),
// total interest, installments and end month; then the savings, when the
// plan has events.
Text PlanSummaryText(const PlanOutcome& outcome);

// 方案A beside the current plan: the row names, A's figures, the current
// plan's and the differences (current − A), one line each, as four columns.
struct PlanComparison {
    Text names, a, current, difference;
};
PlanComparison ComparePlans(const PlanSummary& a, const PlanSummary& current);

// The schedule as a table aligned in columns (GBK: a character's bytes are
// its width on a terminal).
Text PlanTableText(const PlanSchedule& schedule);

// The plan's rate as the header names it: "4.9%" or "LPR-45BP (1月1日重定价)".
Text PlanRateText(const PlanRate& rate);

}  // namespace qh
