#include "tools/qingheloan/loan_command.h"

#include <gtest/gtest.h>

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
    };
    for (const auto& args : bad) {
        const ToolOutput r = Loan(args);
        EXPECT_EQ(r.status, kCommandUsageError) << (args.empty() ? "" : args.back());
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.error.find("用法"), Text::npos);
    }
    EXPECT_NE(Loan({"housing", "--term-unit", "天"}).error.find("天"), Text::npos);
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
