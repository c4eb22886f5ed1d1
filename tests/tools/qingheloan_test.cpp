#include "tools/qingheloan/loan_command.h"

#include <gtest/gtest.h>

#include "runtime/system.h"

namespace qh {
namespace {

ToolOutput Loan(std::vector<Text> args) { return RunLoanCommand(args); }

TEST(QingheloanTest, HousingPrintsBothBlocksWithTheRowLabels) {
    const ToolOutput r = Loan({"housing", "--amount", "100", "--amount-unit", "万", "--term", "20",
                                 "--term-unit", "年"});
    EXPECT_EQ(r.status, kCommandOk);
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.out,
              "每月等额还款\n"
              "贷款总额: 1,000,000.00 元\n"
              "每月还款: 7,485.20 元\n"
              "总支付利息: 796,447.27 元\n"
              "本息合计: 1,796,447.27 元\n"
              "\n"
              "逐月递减还款\n"
              "贷款总额: 1,000,000.00 元\n"
              "首月还款: 9,625.00 元\n"
              "每月递减: 22.74 元\n"
              "总支付利息: 657,729.17 元\n"
              "本息合计: 1,657,729.17 元\n");
}

TEST(QingheloanTest, OmittedRateIsTheFirstOptionUnderTheChosenKind) {
    const Text fundMonthly =
        Loan({"housing", "--loan", "公积金", "--rate-kind", "月利率", "--amount", "100", "--term", "20"}).out;
    const Text typedMonthly =
        Loan({"housing", "--rate", "0.38", "--rate-kind", "月利率", "--amount", "100", "--term", "20"}).out;
    EXPECT_EQ(fundMonthly, typedMonthly);
    const Text commercialMonthly =
        Loan({"housing", "--rate-kind=月利率", "--amount=100", "--term=20"}).out;
    EXPECT_NE(commercialMonthly.find("每月还款: 7,514.72 元"), Text::npos) << commercialMonthly;
}

TEST(QingheloanTest, EveryPageWorkedExample) {
    EXPECT_NE(Loan({"housing", "--by-area", "--amount", "2", "--area", "100", "--down", "3成", "--term", "20"})
                  .out.find("贷款总额: 1,400,000.00 元"),
              Text::npos);
    EXPECT_NE(Loan({"combined", "--term", "20", "--fund-amount", "50", "--comm-amount", "50"})
                  .out.find("总支付利息: 554,802.08 元"),
              Text::npos);
    EXPECT_NE(Loan({"car", "--price", "15", "--term", "3"}).out.find("首月还款: 3,489.79 元"), Text::npos);
    EXPECT_EQ(Loan({"tax", "--cert-under5", "--area", "120", "--price", "200"}).out,
              "契税: 30,000.00 元\n营业税: 111,000.00 元\n城建税: 7,770.00 元\n教育附加费: 3,330.00 元\n"
              "个人所得税: 20,000.00 元\n印花税: 0.00 元\n税费总计: 172,100.00 元\n");
}

TEST(QingheloanTest, UnreadableBoxTextReadsAsZero) {
    const ToolOutput r = Loan({"housing", "--amount", "100", "--term", "20", "--rate", "abc"});
    EXPECT_EQ(r.status, kCommandOk);
    EXPECT_NE(r.out.find("每月还款: 0.00 元"), Text::npos);
    EXPECT_NE(r.out.find("贷款总额: 1,000,000.00 元"), Text::npos);
}

TEST(QingheloanTest, UsageErrorsGoToStandardErrorWithStatusTwo) {
    const std::vector<std::vector<Text>> bad = {
        {},
        {"mortgage"},
        {"housing", "--bogus", "1"},
        {"housing", "--amount"},
        {"housing", "--term-unit", "天"},
        {"car", "--down", "1成"},
        {"tax", "--non-ordinary=yes"},
        {"combined", "--by-area"},
        // Help takes nothing after it, and an option is given once.
        {"-h", "extra"},
        {"--help", "housing"},
        {"housing", "--amount", "1", "--amount", "2"},
        {"housing", "--amount=1", "--amount", "2"},
        {"tax", "--non-ordinary", "--non-ordinary"},
        // tax-now needs its five facts and known list texts; --rules a
        // document that can be used.
        {"tax-now", "--price", "300", "--area", "120", "--buyer", "首套", "--held", "满5年"},
        {"tax-now", "--price", "300", "--area", "120", "--buyer", "四套", "--held", "满5年", "--only-home", "是"},
        {"housing", "--amount", "1", "--rules"},
        {"housing", "--amount", "1", "--rules", "no-such-rules.xml"},
    };
    for (const auto& args : bad) {
        const ToolOutput r = Loan(args);
        EXPECT_EQ(r.status, kCommandUsageError) << (args.empty() ? "" : args.back());
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.error.find("用法"), Text::npos);
    }
    EXPECT_NE(Loan({"housing", "--term-unit", "天"}).error.find("天"), Text::npos);
}

// tax-now takes the rules beside the program, or those --rules names; a loan
// command takes the document's rates for its own run only.
TEST(QingheloanTest, TaxNowAndTheRulesOption) {
    const std::vector<Text> sale = {"--price", "300", "--price-unit", "万", "--area", "150", "--buyer", "二套",
                                    "--held", "未满2年", "--only-home", "否", "--original", "200"};
    const Text expected =
        "契税: 60,000.00 元\n增值税: 87,378.64 元\n附加税费: 10,485.44 元\n个人所得税: 180,427.18 元\n"
        "印花税: 0.00 元\n买方合计: 60,000.00 元\n卖方合计: 278,291.26 元\n税费总计: 338,291.26 元\n";
    std::vector<Text> beside = {"tax-now"};
    beside.insert(beside.end(), sale.begin(), sale.end());
    EXPECT_EQ(Loan(beside).out, expected);
    std::vector<Text> named = beside;
    named.insert(named.begin() + 1, {"--rules", ProgramFile("rules.xml")});
    EXPECT_EQ(Loan(named).out, expected);

    const auto monthly = [](const ToolOutput& r) {
        const std::size_t at = r.out.find("每月还款");
        return at == Text::npos ? r.out : r.out.substr(at, r.out.find('\n', at) - at);
    };
    EXPECT_EQ(monthly(Loan({"housing", "--amount", "100", "--term", "20", "--rules", ProgramFile("rules.xml")})),
              "每月还款: 5,799.60 元");
    EXPECT_EQ(monthly(Loan({"housing", "--amount", "100", "--term", "20"})), "每月还款: 7,485.20 元");
}

TEST(QingheloanTest, AFigureThatRoundsToZeroShowsNoSign) {
    const ToolOutput r = Loan({"housing", "--amount", "-0.00000001", "--term", "20"});
    EXPECT_EQ(r.status, kCommandOk);
    EXPECT_EQ(r.out.find("-0.00"), Text::npos) << r.out;
    EXPECT_NE(r.out.find("贷款总额: 0.00 元"), Text::npos) << r.out;
}

TEST(QingheloanTest, HelpGoesToStandardOutput) {
    const ToolOutput r = Loan({"--help"});
    EXPECT_EQ(r.status, kCommandOk);
    EXPECT_NE(r.out.find("qingheloan tax"), Text::npos);
}

}  // namespace
}  // namespace qh
