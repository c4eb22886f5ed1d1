#include "tools/qingheloan/loan_command.h"

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "calc/loans/current_tax.h"
#include "calc/loans/loan_pages.h"
#include "calc/loans/rate_field.h"
#include "calc/loans/rate_tables.h"
#include "calc/loans/rules_document.h"
#include "calc/loans/result_labels.h"
#include "calc/loans/transaction_tax.h"
#include "runtime/system.h"
#include "tools/qingheloan/options.h"
#include "tools/qingheloan/plan_command.h"

namespace qh {
namespace {

const char* const kUsage =
    "用法:\n"
    "  qingheloan housing [--loan 商贷|公积金] [--by-area --area A --down 3成] --amount X "
    "[--amount-unit 万] --term N [--term-unit 年] [--rate R] [--rate-kind 年利率|月利率]\n"
    "  qingheloan combined --term N [--term-unit 年] --fund-amount X [--fund-amount-unit 万] "
    "[--fund-rate R] [--fund-rate-kind K] --comm-amount Y [--comm-amount-unit 万] [--comm-rate R] "
    "[--comm-rate-kind K]\n"
    "  qingheloan car --price X [--price-unit 万] --term N [--term-unit 年] [--rate R] "
    "[--rate-kind K] [--down 3成]\n"
    "  qingheloan tax [--non-ordinary] [--cert-under5] --area A --price X [--price-unit 万]\n"
    "  qingheloan tax-now --price X [--price-unit 万] --area A --buyer 首套|二套|三套及以上 "
    "--held 未满2年|满2年|满5年 --only-home 是|否 [--original Y] [--location 市区|县城、镇|其他]\n"
    "  qingheloan plan --amount X [--amount-unit 万] --term N [--term-unit 年] [--method 等额本息|等额本金] "
    "--first YYYY-MM (--rate R | --lpr-bp BP [--reprice 1月1日|对月对日]) [--prepay YYYY-MM:金额:减少月供|缩短年限]... "
    "[--rate-change YYYY-MM:年利率]... [--csv]\n"
    "每个命令都可加 --rules FILE: 用该规则文件的利率与税费 (没有时用内置利率; tax-now 用程序旁的 rules.xml)\n";

constexpr const char* kHousingValued[] = {"--loan", "--area", "--down", "--amount", "--amount-unit",
                                          "--term", "--term-unit", "--rate", "--rate-kind"};
constexpr const char* kHousingFlags[] = {"--by-area"};
constexpr const char* kCombinedValued[] = {
    "--term", "--term-unit", "--fund-amount", "--fund-amount-unit", "--fund-rate",
    "--fund-rate-kind", "--comm-amount", "--comm-amount-unit", "--comm-rate", "--comm-rate-kind"};
constexpr const char* kCarValued[] = {"--price", "--price-unit", "--term", "--term-unit",
                                      "--rate", "--rate-kind", "--down"};
constexpr const char* kTaxValued[] = {"--area", "--price", "--price-unit"};
constexpr const char* kTaxFlags[] = {"--non-ordinary", "--cert-under5"};
constexpr const char* kTaxNowValued[] = {"--price", "--price-unit", "--area", "--buyer", "--held",
                                         "--only-home", "--original", "--location"};
constexpr const char* kRulesOption = "--rules";

int DownPaymentItem(const Options& o) {
    static const auto texts = [] {
        std::vector<Text> t;
        for (int k = 1; k <= kDownPaymentItemCount; ++k) t.push_back(DownPaymentText(k));
        return t;
    }();
    static const auto pointers = [] {
        std::vector<const char*> p;
        for (const auto& t : texts) p.push_back(t.c_str());
        return p;
    }();
    return o.item("--down", pointers, kDownPayment30);
}

AmountInput Amount(const Options& o, const char* value, const char* unit) {
    return {o.text(value), o.item(unit, kAmountUnitTexts, kAmountUnitWan)};
}

TermInput Term(const Options& o) {
    return {o.text("--term"), o.item("--term-unit", kTermUnitTexts, kTermInYears)};
}

// The rate box as the page would hold it: the typed rate, or the first
// option of the set applied under the chosen kind.
RateInput Rate(const Options& o, const char* value, const char* kind, RateOptionSet set) {
    RateFieldState field;
    field.SelectKind(o.item(kind, kRateKindTexts, kAnnualRateKind));
    if (o.has(value)) {
        field.SetRateText(o.text(value));
    } else {
        ApplyRateOption(field, set, 1);
    }
    return {field.RateText(), field.KindItem()};
}

// "label value" lines for the rows of one block of the results window.
Text Block(const char* heading, const Text& labels, const Text& values) {
    Text out = heading ? Text(heading) + "\n" : Text();
    size_t l = 0, v = 0;
    const Text separator = "\r\n\r\n";
    while (l != Text::npos) {
        const size_t le = labels.find(separator, l);
        const size_t ve = values.find(separator, v);
        out += labels.substr(l, le == Text::npos ? Text::npos : le - l) + " " +
               values.substr(v, ve == Text::npos ? Text::npos : ve - v) + "\n";
        l = le == Text::npos ? le : le + separator.size();
        v = ve == Text::npos ? values.size() : ve + separator.size();
    }
    return out;
}

Text LoanBlocks(const LoanResultTexts& r) {
    return Block(kInstallmentHeading, kInstallmentRowLabels, r.installment) + "\n" +
           Block(kPrincipalHeading, kPrincipalRowLabels, r.principal);
}

Text Housing(const std::vector<Text>& args) {
    const Options o(args, {kHousingValued, kHousingFlags});
    constexpr const char* kLoanTypes[] = {"商贷", "公积金"};
    const bool commercial = o.item("--loan", kLoanTypes, 1) == 1;
    HousingLoanInputs in;
    in.byArea = o.flag("--by-area");
    in.amount = Amount(o, "--amount", "--amount-unit");
    in.term = Term(o);
    in.rate = Rate(o, "--rate", "--rate-kind", OptionSetOf(RateFieldId::Housing, commercial));
    in.area = o.text("--area");
    in.downPaymentItem = DownPaymentItem(o);
    return LoanBlocks(HousingLoanResults(in));
}

Text Combined(const std::vector<Text>& args) {
    const Options o(args, {kCombinedValued, {}});
    CombinedLoanInputs in;
    in.term = Term(o);
    in.fundAmount = Amount(o, "--fund-amount", "--fund-amount-unit");
    in.fundRate = Rate(o, "--fund-rate", "--fund-rate-kind",
                       OptionSetOf(RateFieldId::CombinedProvident));
    in.commAmount = Amount(o, "--comm-amount", "--comm-amount-unit");
    in.commRate = Rate(o, "--comm-rate", "--comm-rate-kind",
                       OptionSetOf(RateFieldId::CombinedCommercial));
    return LoanBlocks(CombinedLoanResults(in));
}

Text Car(const std::vector<Text>& args) {
    const Options o(args, {kCarValued, {}});
    CarLoanInputs in;
    in.price = Amount(o, "--price", "--price-unit");
    in.term = Term(o);
    in.rate = Rate(o, "--rate", "--rate-kind", OptionSetOf(RateFieldId::Car));
    in.downPaymentItem = DownPaymentItem(o);
    return LoanBlocks(CarLoanResults(in));
}

Text Tax(const std::vector<Text>& args) {
    const Options o(args, {kTaxValued, kTaxFlags});
    TransactionTaxInputs in;
    in.ordinary = !o.flag("--non-ordinary");
    in.certOver5 = !o.flag("--cert-under5");
    in.area = o.text("--area");
    in.price = Amount(o, "--price", "--price-unit");
    return Block(nullptr, kTaxRowLabels, TransactionTaxResults(in).valueText);
}

Text TaxNow(const std::vector<Text>& args, const RulesDocument& rules) {
    const Options o(args, {kTaxNowValued, {}});
    for (const char* required : {"--price", "--area", "--buyer", "--held", "--only-home"}) {
        if (!o.has(required)) throw UsageError{"缺少选项 " + Text(required)};
    }
    CurrentTaxInputs in;
    in.price = Amount(o, "--price", "--price-unit");
    in.area = o.text("--area");
    in.buyer = static_cast<BuyerHomes>(o.item("--buyer", kBuyerHomesTexts, 1));
    in.holding = static_cast<SellerHolding>(o.item("--held", kSellerHoldingTexts, 1));
    in.onlyHome = o.item("--only-home", kOnlyHomeTexts, 1) == 1;
    // The original price is given in the price's unit.
    in.originalPrice = {o.text("--original"), in.price.unitItem};
    in.location = static_cast<HomeLocation>(o.item("--location", kHomeLocationTexts, 1));
    return Block(nullptr, kCurrentTaxRowLabels, CurrentTaxResults(rules.taxes, in).valueText);
}

// Takes "--rules FILE" (or "--rules=FILE") out of the arguments: the file
// named, or none.
std::optional<Text> TakeRulesOption(std::vector<Text>& args) {
    for (size_t i = 1; i < args.size(); ++i) {
        const Text& a = args[i];
        if (a.rfind(Text(kRulesOption) + "=", 0) == 0) {
            const Text file = a.substr(std::char_traits<char>::length(kRulesOption) + 1);
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
            return file;
        }
        if (a == kRulesOption) {
            if (i + 1 >= args.size()) throw UsageError{Text("选项 ") + kRulesOption + " 缺少值"};
            const Text file = args[i + 1];
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
            return file;
        }
    }
    return std::nullopt;
}

// The rules document of a command: the one named, or for tax-now the one
// beside the program. One that is missing or refused is a usage error.
std::optional<RulesDocument> RulesFor(const Text& command, const std::optional<Text>& named) {
    if (!named && command != "tax-now") return std::nullopt;
    const Text file = named ? *named : ProgramFile(kRulesFileName);
    RulesReadResult read = LoadRulesDocument(file);
    if (!read.rules) throw UsageError{"规则文件无法使用: " + file + (read.error.empty() ? Text(": 不存在") : ": " + read.error)};
    return std::move(read.rules);
}

// The command's rules in force for the command's run only.
class CommandRules {
public:
    explicit CommandRules(const std::optional<RulesDocument>& rules) {
        if (rules) UseRulesDocument(&*rules);
    }
    ~CommandRules() { UseRulesDocument(nullptr); }
    CommandRules(const CommandRules&) = delete;
    CommandRules& operator=(const CommandRules&) = delete;
};

}  // namespace

ToolOutput RunLoanCommand(const std::vector<Text>& arguments) {
    ToolOutput result;
    const bool help = !arguments.empty() && (arguments[0] == "--help" || arguments[0] == "-h");
    if (help && arguments.size() == 1) {
        result.out = kUsage;
        return result;
    }
    if (arguments.empty() || help) {
        result.error = arguments.empty() ? Text(kUsage) : "qingheloan: " + arguments[0] + " 不带参数\n" + kUsage;
        result.status = kCommandUsageError;
        return result;
    }
    const Text& command = arguments[0];
    try {
        std::vector<Text> args = arguments;
        const std::optional<RulesDocument> rules = RulesFor(command, TakeRulesOption(args));
        const CommandRules inForce(rules);
        if (command == "housing") {
            result.out = Housing(args);
        } else if (command == "combined") {
            result.out = Combined(args);
        } else if (command == "car") {
            result.out = Car(args);
        } else if (command == "tax") {
            result.out = Tax(args);
        } else if (command == "tax-now") {
            result.out = TaxNow(args, *rules);
        } else if (command == "plan") {
            result = RunPlanCommand(args, rules ? RateHistory(*rules) : RateHistory::BuiltIn());
        } else {
            throw UsageError{"未知命令: " + command};
        }
    } catch (const UsageError& e) {
        result.error = "qingheloan: " + e.message + "\n" + kUsage;
        result.status = kCommandUsageError;
    }
    return result;
}

}  // namespace qh
