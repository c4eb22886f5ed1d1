// The plan window in the headless host with cairo: opening it on a 360-month
// plan to the presented pixels, beside a full repaint of the calculator's
// main window in the same run; and scrolling its schedule, whose cost must
// not grow with the number of rows (360 against 600 months).
#include <benchmark/benchmark.h>

#include "calc/shell/main_window.h"
#include "calc/shell/plan_window.h"
#include "toolkit/cairo/cairo_graphics.h"
#include "toolkit/headless/headless_host.h"
#include "toolkit/messages.h"
#include "toolkit/platform.h"
#include "toolkit/toolkit.h"

namespace {

constexpr int kWheelNotch = 120;

// The platform of the runs: the headless host and cairo, no message loop.
class BenchPlatform final : public qh::Platform {
public:
    BenchPlatform(qh::Host& host, qh::GraphicsDriver& graphics) : host_(host), graphics_(graphics) {}
    qh::Host& WindowHost() override { return host_; }
    qh::GraphicsDriver& Graphics() override { return graphics_; }
    int RunMessageLoop() override { return 0; }
    void QuitMessageLoop(int) override {}
    void RunModalLoop(qh::HostHandle) override {}

private:
    qh::Host& host_;
    qh::GraphicsDriver& graphics_;
};

// The calculator's main window over the headless host.
struct CalcRun {
    CalcRun() : platform(host, graphics) {
        qh::ToolkitStartup(host, graphics);
        main = std::make_unique<qh::MainWindow>(platform, qh::MainWindowServices{});
        main->Build();
        host.ClearPresentations();
    }
    ~CalcRun() {
        host.DestroyWindow(main->Controls().hwnd);
        main.reset();
        qh::ToolkitShutdown();
    }

    qh::headless::HeadlessHost host;
    qh::cairo::CairoDriver graphics;
    BenchPlatform platform;
    std::unique_ptr<qh::MainWindow> main;
};

qh::PlanForm Form(int years) {
    qh::PlanForm form;
    form.amount = "100";
    form.term = std::to_string(years);
    form.firstMonth = "2026-01";
    form.rate = "3.5";
    return form;
}

void MainWindowRepaint(benchmark::State& state) {
    CalcRun run;
    qh::UiWindow& w = run.main->Controls().window;
    for (auto _ : state) {
        w.RepaintArea(qh::MakeRect(0, 0, float(w.ClientWidth()), float(w.ClientHeight())), true);
        run.host.ClearPresentations();
    }
}
BENCHMARK(MainWindowRepaint)->Unit(benchmark::kMicrosecond);

void OpenPlanWindow(benchmark::State& state) {
    CalcRun run;
    for (auto _ : state) {
        qh::PlanWindow plan(run.main->Controls().hwnd, qh::RateHistory::BuiltIn());
        plan.Show(Form(30));
        benchmark::DoNotOptimize(plan.Schedule().rows.size());
        state.PauseTiming();
        state.counters["presents"] = double(run.host.Presentations().size());
        run.host.DestroyWindow(plan.Handle());
        run.host.ClearPresentations();
        state.ResumeTiming();
    }
}
BENCHMARK(OpenPlanWindow)->Unit(benchmark::kMillisecond);

void ScrollSchedule(benchmark::State& state) {
    CalcRun run;
    qh::PlanWindow plan(run.main->Controls().hwnd, qh::RateHistory::BuiltIn());
    plan.Show(Form(int(state.range(0))));
    const qh::RectI r = run.host.WindowRect(plan.Handle());
    int notch = 0;
    for (auto _ : state) {
        // Down through the rows and back up, a notch at a time.
        const int direction = (notch++ / 50) % 2 == 0 ? -1 : 1;
        run.host.Send(plan.Handle(), qh::msg::kMouseWheel,
                      static_cast<std::intptr_t>(static_cast<std::uint32_t>(direction * kWheelNotch) << 16),
                      qh::MakeLParam(r.left + 200, r.top + 400));
        run.host.ClearPresentations();
    }
    run.host.DestroyWindow(plan.Handle());
}
BENCHMARK(ScrollSchedule)->Arg(30)->Arg(50)->ArgName("years")->Unit(benchmark::kMicrosecond);

}  // namespace
