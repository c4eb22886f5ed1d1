// The plan window's chart: for each year of the schedule, the principal and
// the interest paid as stacked bars, and the balance at the year's end as a
// line, with the amounts on the axis in 万. It is a control of its own, so
// it redraws alone when the schedule changes or the window is resized.
#pragma once

#include <vector>

#include "calc/loans/repayment_plan.h"
#include "toolkit/control.h"

namespace qh {

// One year of the chart, in yuan.
struct PlanYear {
    int year = 0;
    double principal = 0;  // installments' principal and prepayments
    double interest = 0;
    double balance = 0;    // at the end of the year
};
std::vector<PlanYear> PlanYears(const PlanSchedule& schedule);

// The axis step in 万 for amounts up to top: 1, 2 or 5 times a power of ten,
// giving four to eight steps.
double ChartStep(double topWan);

class PlanChart final : public UiControl {
public:
    void Create(HostHandle hwnd, const RectF& bounds);
    void SetSchedule(const PlanSchedule& schedule);
    const std::vector<PlanYear>& Years() const { return years_; }

protected:
    void Paint(UiWindow& window, Graphics& g, int state) override;

private:
    void PaintAxis(Graphics& g, const RectF& plot, double topWan, double step, bool right);

    std::vector<PlanYear> years_;
};

}  // namespace qh
