#include "calc/loans/plan_export.h"

#include <algorithm>

#include "runtime/convert.h"
#include "runtime/system.h"

namespace qh {
namespace {

constexpr const char* kUtf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr const char* kCsvLineEnd = "\r\n";
// Marks the 说明 of a month that carries one of the user's events.
constexpr const char* kEventMark = "◆ ";


Text RateCell(const PlanRow& row) {
    Text rate = ToText(row.annualPercent);
    if (row.otherAnnualPercent) rate += "/" + ToText(*row.otherAnnualPercent);
    return rate;
}

// A CSV field, quoted when it holds a comma, a quote or a line break.
Text CsvField(const Text& field) {
    if (field.find_first_of(",\"\r\n") == Text::npos) return field;
    Text quoted = "\"";
    for (char c : field) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

Text CsvLine(const std::vector<Text>& fields) {
    Text line;
    for (std::size_t i = 0; i < fields.size(); ++i) line += (i == 0 ? "" : ",") + CsvField(fields[i]);
    return line + kCsvLineEnd;
}

Text EventText(const PlanEvent& e) {
    if (e.kind == PlanEvent::Kind::RateChange) return PlanMonthText(e.month) + " " + ToText(e.annualPercent) + "%";
    const int mode = e.mode == PrepayMode::ReducePayment ? 0 : 1;
    return PlanMonthText(e.month) + " " + YuanText(e.amount, false) + " " + kPrepayModeTexts[mode];
}

Text HeaderLines(const NamedPlan& named) {
    const LoanPlan& p = *named.plan;
    const Text prefix = named.name.empty() ? Text() : named.name;
    const int method = p.method == PlanMethod::EqualInstallment ? 0 : 1;
    Text lines = CsvLine({prefix + "贷款金额", YuanText(p.principal, false)});
    lines += CsvLine({prefix + "贷款期限(月)", ToText(std::int32_t{p.months})});
    lines += CsvLine({prefix + "还款方式", kPlanMethodTexts[method]});
    lines += CsvLine({prefix + "首次还款月份", PlanMonthText(p.first)});
    lines += CsvLine({prefix + "利率", PlanRateText(p.rate)});
    for (const PlanEvent& e : p.events) {
        lines += CsvLine({prefix + (e.kind == PlanEvent::Kind::Prepayment ? "提前还款" : "利率调整"), EventText(e)});
    }
    return lines;
}

}  // namespace

std::vector<Text> PlanRowCells(const PlanRow& row) {
    return {ToText(std::int32_t{row.number}), PlanMonthText(row.month), YuanText(row.payment, true),
            YuanText(row.principal, true),       YuanText(row.interest, true), YuanText(row.balance, true),
            RateCell(row) + "%",              (row.HasEvent() ? Text(kEventMark) : Text()) + row.note};
}

Text PlanRateText(const PlanRate& rate) {
    if (!rate.lprLinked) return ToText(rate.annualPercent) + "%";
    const Text spread = rate.spreadBp == 0 ? Text()
                        : rate.spreadBp > 0 ? "+" + ToText(std::int32_t{rate.spreadBp}) + "BP"
                                            : ToText(std::int32_t{rate.spreadBp}) + "BP";
    const int repricing = rate.repricing == Repricing::EachJanuary ? 0 : 1;
    return "LPR" + spread + " (" + kRepricingTexts[repricing] + "重定价)";
}

std::string PlanCsv(const std::vector<NamedPlan>& plans, const PlanSchedule& schedule) {
    Text csv;
    for (const NamedPlan& named : plans) csv += HeaderLines(named);
    csv += kCsvLineEnd;
    csv += CsvLine(std::vector<Text>(std::begin(kPlanColumns), std::end(kPlanColumns)));
    for (const PlanRow& row : schedule.rows) {
        csv += CsvLine({ToText(std::int32_t{row.number}), PlanMonthText(row.month), YuanText(row.payment, false),
                        YuanText(row.principal, false), YuanText(row.interest, false), YuanText(row.balance, false),
                        RateCell(row), row.note});
    }
    return kUtf8ByteOrderMark + System().GbkToUtf8(csv);
}

Text PlanSummaryText(const PlanOutcome& outcome) {
    const PlanSummary& summary = outcome.summary;
    Text text;
    if (summary.firstPayment == summary.lastPayment) {
        text += "每月还款: " + YuanText(summary.firstPayment, true) + " 元\n";
    } else {
        text += "首期还款: " + YuanText(summary.firstPayment, true) + " 元\n";
        text += "末期还款: " + YuanText(summary.lastPayment, true) + " 元\n";
    }
    text += "利息总额: " + YuanText(summary.totalInterest, true) + " 元\n";
    text += "还款期数: " + ToText(std::int32_t{summary.installments}) + " 期, 至 " + PlanMonthText(summary.endMonth) + "\n";
    if (const std::optional<PlanSavings>& saved = outcome.savings) {
        text += "节省利息: " + YuanText(saved->interest, true) + " 元\n";
        text += (saved->ofCommercialPart ? "商贷缩短: " : "缩短期数: ") + ToText(std::int32_t{saved->months}) + " 期\n";
    }
    return text;
}

PlanComparison ComparePlans(const PlanSummary& a, const PlanSummary& current) {
    auto money = [](Fen fen) { return YuanText(fen, true) + " 元"; };
    auto signedMoney = [](Fen fen) { return (fen > 0 ? "+" : "") + YuanText(fen, true) + " 元"; };
    const int months = current.installments - a.installments;
    const Text separator = "\r\n";
    PlanComparison c;
    c.names = "\r\n首期还款:\r\n末期还款:\r\n利息总额:\r\n还款期数:\r\n结清月份:";
    c.a = "方案A" + separator + money(a.firstPayment) + separator + money(a.lastPayment) + separator +
          money(a.totalInterest) + separator + ToText(std::int32_t{a.installments}) + " 期" + separator +
          PlanMonthText(a.endMonth);
    c.current = "当前" + separator + money(current.firstPayment) + separator + money(current.lastPayment) + separator +
                money(current.totalInterest) + separator + ToText(std::int32_t{current.installments}) + " 期" +
                separator + PlanMonthText(current.endMonth);
    c.difference = "差额" + separator + signedMoney(current.firstPayment - a.firstPayment) + separator +
                   signedMoney(current.lastPayment - a.lastPayment) + separator +
                   signedMoney(current.totalInterest - a.totalInterest) + separator +
                   (months > 0 ? "+" : "") + ToText(std::int32_t{months}) + " 期" + separator +
                   (months > 0 ? "+" : "") + ToText(std::int32_t{months}) + " 个月";
    return c;
}

Text PlanTableText(const PlanSchedule& schedule) {
    std::vector<std::vector<Text>> cells{std::vector<Text>(std::begin(kPlanColumns), std::end(kPlanColumns))};
    for (const PlanRow& row : schedule.rows) cells.push_back(PlanRowCells(row));
    std::vector<std::size_t> widths(kPlanColumnCount, 0);
    for (const auto& line : cells) {
        for (int c = 0; c < kPlanColumnCount; ++c) widths[c] = std::max(widths[c], line[c].size());
    }
    Text table;
    for (const auto& line : cells) {
        Text out;
        for (int c = 0; c < kPlanColumnCount; ++c) {
            const bool last = c + 1 == kPlanColumnCount;
            const Text pad(widths[c] - line[c].size(), ' ');
            // Numbers stand right-aligned; the month and the note left.
            const bool leftAligned = c == 1 || last;
            out += leftAligned ? line[c] + (last ? Text() : pad) : pad + line[c];
            if (!last) out += "  ";
        }
        while (!out.empty() && out.back() == ' ') out.pop_back();
        table += out + "\n";
    }
    return table;
}

}  // namespace qh
