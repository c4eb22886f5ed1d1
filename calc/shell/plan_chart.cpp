#include "calc/shell/plan_chart.h"

#include <algorithm>
#include <cmath>

#include "runtime/convert.h"
#include "toolkit/draw.h"
#include "toolkit/window.h"

namespace qh {
namespace {

constexpr double kYuanPerWan = 10000;
constexpr double kYuanPerFen = 0.01;
constexpr float kAxisWidth = 34;     // room for the labels left and right
constexpr float kLegendHeight = 18;  // the legend above the plot
constexpr float kYearLabelHeight = 16;
constexpr int kMaxSteps = 8;
constexpr float kBarGap = 0.25f;     // of a year's slot, between bars

constexpr Argb kPanelFill = MakeArgb(0xFFFFFF, 200);
constexpr Argb kGridLine = MakeArgb(0x000000, 30);
constexpr Argb kAxisText = MakeArgb(0x000000, 150);
// Colours as COLORREFs (blue-green-red): principal green, interest orange,
// the balance a blue line.
constexpr Argb kPrincipalBar = MakeArgb(0x5AA03C, 220);
constexpr Argb kInterestBar = MakeArgb(0x2E9BF0, 220);
constexpr Argb kBalanceLine = MakeArgb(0xC0701E, 240);

Text WanText(double wan) { return FormatNumber(wan, std::nullopt, false); }

}  // namespace

std::vector<PlanYear> PlanYears(const PlanSchedule& schedule) {
    std::vector<PlanYear> years;
    for (const PlanRow& row : schedule.rows) {
        if (years.empty() || years.back().year != row.month.year) years.push_back({row.month.year});
        PlanYear& y = years.back();
        y.principal += double(row.principal + row.prepaid) * kYuanPerFen;
        y.interest += double(row.interest) * kYuanPerFen;
        y.balance = double(row.balance) * kYuanPerFen;
    }
    return years;
}

double ChartStep(double topWan) {
    if (topWan <= 0) return 1;
    const double raw = topWan / kMaxSteps;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (factor * power >= raw) return factor * power;
    }
    return 10 * power;
}

void PlanChart::Create(HostHandle hwnd, const RectF& bounds) {
    CreateBase(hwnd, bounds, kKindPicture, true, false);
}

void PlanChart::SetSchedule(const PlanSchedule& schedule) {
    years_ = PlanYears(schedule);
    Redraw();
}

void PlanChart::PaintAxis(Graphics& g, const RectF& plot, double topWan, double step, bool right) {
    const UiFont& font = Toolkit().defaultFont;
    for (double v = 0; v <= topWan + step / 2; v += step) {
        const float y = plot.Bottom() - float(v / topWan) * plot.height;
        if (!right) DrawLine(g, kGridLine, plot.left, y, plot.Right(), y);
        const RectF label = right ? MakeRect(plot.Right() + 3, y - 8, kAxisWidth - 3, 16)
                                  : MakeRect(plot.left - kAxisWidth, y - 8, kAxisWidth - 3, 16);
        DrawText(g, WanText(v), font, kAxisText, label, right ? 3 : 5, 0, 0, kFormatNoWrap);
    }
}

void PlanChart::Paint(UiWindow&, Graphics& g, int) {
    const RectF b = Bounds();
    FillRect(g, b, kPanelFill);
    const UiFont& font = Toolkit().defaultFont;
    // The legend: 本金, 利息 (bars, left axis, 万 a year) and 剩余本金 (line, right axis, 万).
    const float legendY = b.top + 2;
    FillRect(g, MakeRect(b.left + kAxisWidth, legendY + 4, 10, 10), kPrincipalBar);
    DrawText(g, "本金", font, kAxisText, MakeRect(b.left + kAxisWidth + 13, legendY, 40, 16), 3);
    FillRect(g, MakeRect(b.left + kAxisWidth + 50, legendY + 4, 10, 10), kInterestBar);
    DrawText(g, "利息(万/年)", font, kAxisText, MakeRect(b.left + kAxisWidth + 63, legendY, 90, 16), 3);
    DrawLine(g, kBalanceLine, b.left + kAxisWidth + 150, legendY + 9, b.left + kAxisWidth + 164, legendY + 9, 2);
    DrawText(g, "剩余本金(万)", font, kAxisText, MakeRect(b.left + kAxisWidth + 167, legendY, 100, 16), 3);
    if (years_.empty()) return;

    const RectF plot = MakeRect(b.left + kAxisWidth, b.top + kLegendHeight + 8, b.width - 2 * kAxisWidth,
                                b.height - kLegendHeight - kYearLabelHeight - 12);
    double topBar = 0, topBalance = 0;
    for (const PlanYear& y : years_) {
        topBar = std::max(topBar, (y.principal + y.interest) / kYuanPerWan);
        topBalance = std::max(topBalance, y.balance / kYuanPerWan);
    }
    const double barStep = ChartStep(topBar), lineStep = ChartStep(topBalance);
    const double barTop = std::max(barStep, std::ceil(topBar / barStep) * barStep);
    const double lineTop = std::max(lineStep, std::ceil(topBalance / lineStep) * lineStep);
    PaintAxis(g, plot, barTop, barStep, false);
    PaintAxis(g, plot, lineTop, lineStep, true);

    const float slot = plot.width / float(years_.size());
    const float barWidth = std::max(1.0f, slot * (1 - kBarGap));
    std::vector<PointF> line;
    const int labelEvery = std::max(1, int(std::ceil(40 / slot)));  // a year label each 40 px or more
    for (std::size_t i = 0; i < years_.size(); ++i) {
        const PlanYear& y = years_[i];
        const float x = plot.left + slot * float(i) + (slot - barWidth) / 2;
        const float principalH = float(y.principal / kYuanPerWan / barTop) * plot.height;
        const float interestH = float(y.interest / kYuanPerWan / barTop) * plot.height;
        FillRect(g, MakeRect(x, plot.Bottom() - principalH, barWidth, principalH), kPrincipalBar);
        FillRect(g, MakeRect(x, plot.Bottom() - principalH - interestH, barWidth, interestH), kInterestBar);
        line.push_back({plot.left + slot * (float(i) + 0.5f),
                        plot.Bottom() - float(y.balance / kYuanPerWan / lineTop) * plot.height});
        if (int(i) % labelEvery == 0) {
            DrawText(g, ToText(std::int32_t{y.year}), font, kAxisText,
                     MakeRect(x + barWidth / 2 - 20, plot.Bottom() + 2, 40, kYearLabelHeight), 4, 0, 0, kFormatNoWrap);
        }
    }
    for (std::size_t i = 1; i < line.size(); ++i) {
        DrawLine(g, kBalanceLine, line[i - 1].x, line[i - 1].y, line[i].x, line[i].y, 2);
    }
}

}  // namespace qh
