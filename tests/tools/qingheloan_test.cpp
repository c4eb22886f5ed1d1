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

// plan: the summary and table, the CSV the plan window exports (UTF-8 with
// a byte-order mark, the inputs, then the schedule), and errors naming the
// option that is wrong.
TEST(QingheloanTest, PlanPrintsTheScheduleOrItsCsv) {
    const std::vector<Text> plan = {"plan", "--amount", "100", "--term", "30", "--first", "2026-01", "--rate", "4.9",
                                    "--prepay", "2028-12:200000:缩短年限"};
    const ToolOutput table = Loan(plan);
    ASSERT_EQ(table.status, kCommandOk) << table.error;
    EXPECT_EQ(table.out.substr(0, table.out.find("\n   2 ")),
              "首期还款: 5,307.27 元\n末期还款: 5,295.64 元\n利息总额: 519,304.40 元\n还款期数: 249 期, 至 2046-09\n"
              "节省利息: 391,310.72 元\n缩短期数: 111 期\n\n"
              "期数  还款月份      月供      本金      利息    剩余本金  年利率  说明\n"
              "   1  2026-01   5,307.27  1,223.94  4,083.33  998,776.06    4.9%");

    std::vector<Text> csvArgs = plan;
    csvArgs.push_back("--csv");
    const ToolOutput csv = Loan(csvArgs);
    ASSERT_EQ(csv.status, kCommandOk) << csv.error;
    EXPECT_TRUE(csv.out.empty());
    const std::string bytes = csv.bytes;
    ASSERT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    const Text gbk = System().Utf8ToGbk(bytes.substr(3));
    EXPECT_EQ(gbk.substr(0, gbk.find("2,2026-02")),
              "贷款金额,1000000.00\r\n贷款期限(月),360\r\n还款方式,等额本息\r\n首次还款月份,2026-01\r\n利率,4.9%\r\n"
              "提前还款,2028-12 200000.00 缩短年限\r\n\r\n"
              "期数,还款月份,月供,本金,利息,剩余本金,年利率,说明\r\n"
              "1,2026-01,5307.27,1223.94,4083.33,998776.06,4.9,\r\n");
    EXPECT_NE(gbk.find("\r\n36,2028-12,5307.27,"), Text::npos);
    EXPECT_NE(gbk.find(",\"提前还款 200,000.00 元(缩短年限)\"\r\n37,2029-01,5296.92,"), Text::npos) << gbk;

    const std::pair<std::vector<Text>, const char*> wrong[] = {
        {{"plan", "--amount", "100", "--term", "30", "--first", "2026-13", "--rate", "4.9"}, "--first"},
        {{"plan", "--amount", "100", "--term", "30", "--first", "2026-01"}, "--rate 或 --lpr-bp"},
        {{"plan", "--amount", "1万", "--term", "30", "--first", "2026-01", "--rate", "4.9"}, "--amount"},
        {{"plan", "--amount", "100", "--term", "30", "--first", "2026-01", "--lpr-bp", "-45", "--prepay", "2026-05:0:缩短年限"},
         "提前还款金额须大于0"},
        {{"plan", "--amount", "100", "--term", "30", "--first", "2026-01", "--rate", "4.9", "--rate-change", "2056-01:3"},
         "不在贷款期内"},
        {{"plan", "--amount", "100", "--term", "30", "--first", "2026-01", "--rate", "4.9", "--prepay", "2027-01:5:全部"},
         "--prepay"},
    };
    for (const auto& [args, named] : wrong) {
        const ToolOutput r = Loan(args);
        EXPECT_EQ(r.status, kCommandUsageError) << named;
        EXPECT_TRUE(r.out.empty() && r.bytes.empty()) << named;
        EXPECT_NE(r.error.find(named), Text::npos) << r.error;
    }
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
