// qingheloan plan: the repayment plan's engine on the command line.
//
//   qingheloan plan --amount 100 [--amount-unit 万] --term 30 [--term-unit 年]
//                   [--method 等额本息|等额本金] --first 2026-01
//                   (--rate 4.9 | --lpr-bp -45 [--reprice 1月1日|对月对日])
//                   [--prepay 2028-06:200000:缩短年限]... [--rate-change 2027-01:3.3]...
//                   [--csv]
//
// Prepayments are in yuan, months YYYY-MM, --rate an annual percentage;
// under --lpr-bp a rate change is the LPR from its month on. Without --csv
// it prints the summary and the schedule as an aligned table; with it, the
// CSV the plan window exports.
#pragma once

#include <vector>

#include "calc/loans/rate_history.h"
#include "runtime/text.h"
#include "tools/common/tool_output.h"

namespace qh {

// args[0] is "plan". Throws UsageError (options.h) for a wrong option.
ToolOutput RunPlanCommand(const std::vector<Text>& args, const RateHistory& history);

}  // namespace qh
