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
//   qingheloan tax-now --price X [--price-unit 万] --area A --buyer 首套|二套|三套及以上
//                      --held 未满2年|满2年|满5年 --only-home 是|否 [--original Y]
//                      [--location 市区|县城、镇|其他]
//   qingheloan plan ... (plan_command.h)
//
// Every command takes --rules FILE: the rates (and for tax-now the taxes) of
// that rules document. Without it the loan commands use the built-in rates,
// and tax-now the rules.xml beside the program.
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
