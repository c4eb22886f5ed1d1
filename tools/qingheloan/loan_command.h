// qingheloan: the calculator's loan pages on the command line.
//
//   qingheloan housing [--loan 商贷|公积金] [--by-area --area A --down 3成]
//                      --amount X --amount-unit 万 --term N --term-unit 年
//                      [--rate R] [--rate-kind 年利率|月利率]
//   qingheloan combined --term N --term-unit 年 --fund-amount X --fund-amount-unit 万
//                      [--fund-rate R] [--fund-rate-kind K] --comm-amount Y
//                      --comm-amount-unit 万 [--comm-rate R] [--comm-rate-kind K]
//   qingheloan car --price X --price-unit 万 --term N --term-unit 年 [--rate R]
//                  [--rate-kind K] [--down 3成]
//   qingheloan tax [--non-ordinary] [--cert-under5] --area A --price X --price-unit 万
//
// Option values are the texts the page's boxes and lists hold; an omitted
// option takes the page's start state, and an omitted rate is what the rate
// box shows once the first option has been applied under the chosen kind.
#pragma once

#include <vector>

#include "runtime/text.h"
#include "tools/common/tool_output.h"

namespace qh {

inline constexpr int kCommandOk = 0;
inline constexpr int kCommandUsageError = 2;

// Runs one command line (arguments after the program name, GBK).
ToolOutput RunLoanCommand(const std::vector<Text>& arguments);

}  // namespace qh
