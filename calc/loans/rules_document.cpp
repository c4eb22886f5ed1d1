#include "calc/loans/rules_document.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "runtime/convert.h"
#include "runtime/files.h"
#include "runtime/system.h"
#include "runtime/xml/xml_tree.h"

namespace qh {
namespace {

constexpr char kRootName[] = "QingheRules";

// What a value may be: rates in percent, a floor area, a number of years.
struct Range {
    double low;
    double high;
};
constexpr Range kLoanRate{0.01, 30};
constexpr Range kTaxRate{0, 100};
constexpr Range kArea{1, 10000};
constexpr Range kYears{1, 50};

// A list offers at least two options (the pages rely on it), and not so many
// that it no longer fits its drop-down.
constexpr std::size_t kMinOptions = 2;
constexpr std::size_t kMaxOptions = 12;
constexpr std::size_t kMaxOptionTextBytes = 40;
constexpr std::size_t kMaxHistoryEntries = 200;
constexpr int kMonthsInYear = 12;

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// A plain decimal number without a sign ("3.025", "140"), of at most 16
// characters.
std::optional<double> StrictNumber(const Text& text) {
    constexpr std::size_t kMaxLength = 16;
    if (text.empty() || text.size() > kMaxLength || text[0] == '-') return std::nullopt;
    return ParsePlainDecimal(text);
}

// Reads the document's elements, keeping the first reason it finds to refuse
// it.
class RulesReader {
public:
    explicit RulesReader(const XmlTree& tree) : tree_(tree) {}

    std::optional<RulesDocument> Read();
    const Text& Error() const { return error_; }

private:
    bool Fail(const Text& why) {
        if (error_.empty()) error_ = why;
        return false;
    }
    bool Attribute(const Text& path, const char* name, Text& value);
    bool Number(const Text& path, const char* name, Range range, float& value);
    bool Years(const Text& path, const char* name, int& value);
    bool Date(const Text& path, const char* name, RulesDate& value);
    // The paths of an element's children, which must all have this name.
    bool Children(const Text& path, const char* childName, std::vector<Text>& children);

    bool ReadLpr(std::vector<LprFixing>& history);
    bool ReadProvidentRates(std::vector<ProvidentRates>& history);
    bool ReadOptions(const Text& path, RateOptionList& list);
    bool ReadTaxes(CurrentTaxRules& taxes);

    const XmlTree& tree_;
    Text error_;
};

bool RulesReader::Attribute(const Text& path, const char* name, Text& value) {
    if (tree_.GetAttribute(path, name, value)) return true;
    return Fail(path + ": " + name + " is missing");
}

bool RulesReader::Number(const Text& path, const char* name, Range range, float& value) {
    Text text;
    if (!Attribute(path, name, text)) return false;
    const std::optional<double> number = StrictNumber(text);
    if (!number || *number < range.low || *number > range.high) {
        return Fail(path + ": " + name + " \"" + text + "\" is not a number from " + ToText(range.low) + " to " +
                    ToText(range.high));
    }
    value = static_cast<float>(*number);
    return true;
}

bool RulesReader::Years(const Text& path, const char* name, int& value) {
    float years = 0;
    if (!Number(path, name, kYears, years)) return false;
    if (years != std::floor(years)) return Fail(path + ": " + name + " is not a whole number of years");
    value = static_cast<int>(years);
    return true;
}

bool RulesReader::Date(const Text& path, const char* name, RulesDate& value) {
    Text text;
    if (!Attribute(path, name, text)) return false;
    const std::optional<RulesDate> date = ParseRulesDate(text);
    if (!date) return Fail(path + ": " + name + " \"" + text + "\" is not a date (YYYY-MM-DD)");
    value = *date;
    return true;
}

bool RulesReader::Children(const Text& path, const char* childName, std::vector<Text>& children) {
    std::vector<Text> names;
    if (!tree_.ChildNames(path, names)) return Fail(path + " is missing or empty");
    if (names.size() > kMaxHistoryEntries) return Fail(path + " has too many entries");
    children.clear();
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] != childName) return Fail(path + ": \"" + names[i] + "\" where " + childName + " belongs");
        children.push_back(path + "/@" + ToText(static_cast<std::int32_t>(i + 1)));
    }
    return true;
}

bool RulesReader::ReadLpr(std::vector<LprFixing>& history) {
    std::vector<Text> entries;
    if (!Children("@1/Lpr", "Fixing", entries)) return false;
    for (const Text& entry : entries) {
        LprFixing fixing;
        if (!Date(entry, "Date", fixing.date) || !Number(entry, "OneYear", kLoanRate, fixing.oneYear) ||
            !Number(entry, "FiveYearPlus", kLoanRate, fixing.fiveYearPlus)) {
            return false;
        }
        if (!history.empty() && !(history.back().date < fixing.date)) return Fail(entry + ": dates out of order");
        history.push_back(fixing);
    }
    return true;
}

bool RulesReader::ReadProvidentRates(std::vector<ProvidentRates>& history) {
    std::vector<Text> entries;
    if (!Children("@1/ProvidentFund", "Rates", entries)) return false;
    for (const Text& entry : entries) {
        ProvidentRates rates;
        Text from;
        // Only the first entry may go without a date: it was in force before
        // the next one.
        if (!history.empty() || tree_.GetAttribute(entry, "From", from)) {
            RulesDate date;
            if (!Date(entry, "From", date)) return false;
            if (!history.empty() && history.back().from && !(*history.back().from < date)) {
                return Fail(entry + ": dates out of order");
            }
            rates.from = date;
        }
        if (!Number(entry, "FirstShort", kLoanRate, rates.firstHomeShort) ||
            !Number(entry, "FirstLong", kLoanRate, rates.firstHomeLong) ||
            !Number(entry, "SecondShort", kLoanRate, rates.secondHomeShort) ||
            !Number(entry, "SecondLong", kLoanRate, rates.secondHomeLong)) {
            return false;
        }
        history.push_back(rates);
    }
    return true;
}

bool RulesReader::ReadOptions(const Text& path, RateOptionList& list) {
    std::vector<Text> entries;
    if (!Children(path, "Option", entries)) return false;
    if (entries.size() < kMinOptions || entries.size() > kMaxOptions) {
        return Fail(path + " needs " + ToText(static_cast<std::int32_t>(kMinOptions)) + " to " +
                    ToText(static_cast<std::int32_t>(kMaxOptions)) + " options");
    }
    std::vector<float> annual;
    for (const Text& entry : entries) {
        Text text;
        float value = 0;
        if (!Attribute(entry, "Text", text) || !Number(entry, "Annual", kLoanRate, value)) return false;
        if (text.empty() || text.size() > kMaxOptionTextBytes) return Fail(entry + ": the option's text is empty or too long");
        list.texts.push_back(text);
        annual.push_back(value);
    }
    // The monthly values as ApplyRateOption shows them: the 32-bit annual
    // value divided by 12 in 32 bits, then rounded half up to two places.
    list.table = annual;
    for (float value : annual) {
        const auto monthly = static_cast<float>(static_cast<double>(value) / kMonthsInYear);
        list.table.push_back(static_cast<float>(RoundHalfUp(static_cast<double>(monthly), 2)));
    }
    for (std::size_t i = 0; i < list.table.size(); ++i) {
        if (std::count(list.table.begin(), list.table.end(), list.table[i]) > 1) {
            return Fail(path + ": the value " + ToText(list.table[i]) +
                        " appears twice among the annual and monthly values");
        }
    }
    return true;
}

bool RulesReader::ReadTaxes(CurrentTaxRules& t) {
    const Text deed = "@1/Taxes/DeedTax", vat = "@1/Taxes/Vat", surcharges = "@1/Taxes/Surcharges",
               income = "@1/Taxes/IncomeTax";
    return Date("@1/Taxes", "From", t.from) && Number(deed, "AreaThreshold", kArea, t.deedAreaThreshold) &&
           Number(deed, "FirstSmall", kTaxRate, t.deedFirstSmall) &&
           Number(deed, "FirstLarge", kTaxRate, t.deedFirstLarge) &&
           Number(deed, "SecondSmall", kTaxRate, t.deedSecondSmall) &&
           Number(deed, "SecondLarge", kTaxRate, t.deedSecondLarge) &&
           Number(deed, "ThirdAndLater", kTaxRate, t.deedThirdAndLater) && Number(vat, "Rate", kTaxRate, t.vatRate) &&
           Years(vat, "ExemptAfterYears", t.vatExemptAfterYears) &&
           Number(surcharges, "CityConstructionCity", kTaxRate, t.cityConstructionCity) &&
           Number(surcharges, "CityConstructionCounty", kTaxRate, t.cityConstructionCounty) &&
           Number(surcharges, "CityConstructionOther", kTaxRate, t.cityConstructionOther) &&
           Number(surcharges, "Education", kTaxRate, t.educationSurcharge) &&
           Number(surcharges, "LocalEducation", kTaxRate, t.localEducationSurcharge) &&
           Number(income, "GainRate", kTaxRate, t.incomeGainRate) &&
           Number(income, "DeemedRate", kTaxRate, t.incomeDeemedRate) &&
           Years(income, "ExemptAfterYears", t.incomeExemptAfterYears);
}

std::optional<RulesDocument> RulesReader::Read() {
    int count = 0;
    if (!tree_.ChildCount(kRootName, count)) {
        Fail(Text("the root element is not ") + kRootName);
        return std::nullopt;
    }
    RulesDocument d;
    const bool ok = Date("@1", "Edition", d.edition) && ReadLpr(d.lpr) && ReadProvidentRates(d.providentRates) &&
                    ReadOptions("@1/RateOptions/Commercial", d.commercialOptions) &&
                    ReadOptions("@1/RateOptions/Provident", d.providentOptions) &&
                    ReadOptions("@1/RateOptions/CommercialTerm", d.commercialTerms) && ReadTaxes(d.taxes);
    if (!ok) return std::nullopt;
    return d;
}

}  // namespace

std::optional<RulesDate> ParseRulesDate(const Text& text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    int parts[3] = {};
    const std::size_t starts[3] = {0, 5, 8}, lengths[3] = {4, 2, 2};
    for (int i = 0; i < 3; ++i) {
        const char* first = text.data() + starts[i];
        const char* last = first + lengths[i];
        if (!std::all_of(first, last, [](char c) { return c >= '0' && c <= '9'; })) return std::nullopt;
        std::from_chars(first, last, parts[i]);
    }
    const RulesDate date{parts[0], parts[1], parts[2]};
    if (date.year < 1900 || date.month < 1 || date.month > 12 || date.day < 1 ||
        date.day > DaysInMonth(date.year, date.month)) {
        return std::nullopt;
    }
    return date;
}

Text RulesDateText(const RulesDate& date) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
}

RulesReadResult ReadRulesDocument(const Bytes& bytes) {
    XmlTree tree;
    if (!tree.LoadBytes(bytes)) return {std::nullopt, "not an XML document"};
    RulesReader reader(tree);
    std::optional<RulesDocument> rules = reader.Read();
    if (!rules) return {std::nullopt, reader.Error()};
    return {std::move(rules), Text()};
}

RulesReadResult LoadRulesDocument(const Text& path) {
    if (!FileExists(path)) return {};
    Bytes bytes;
    if (!ReadWholeFile(path, bytes)) return {std::nullopt, "the file cannot be read"};
    return ReadRulesDocument(bytes);
}

}  // namespace qh
