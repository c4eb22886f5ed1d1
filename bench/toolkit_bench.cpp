// The toolkit's drawing costs in the headless host with cairo: a full repaint
// of the gallery, one keystroke in an edit from the message to the presented
// pixels, and scrolling a list view of many rows (which must cost the same
// whatever the number of rows).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "toolkit/cairo/cairo_graphics.h"
#include "toolkit/controls/edit.h"
#include "toolkit/controls/list_view.h"
#include "toolkit/headless/headless_host.h"
#include "toolkit/messages.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"
#include "tools/toolkit-demo/gallery.h"

namespace {

constexpr std::int64_t kPercent = 100;

// The toolkit over the headless host, with the gallery open.
struct GalleryRun {
    // percent: the display scale (100 or 200).
    explicit GalleryRun(std::int64_t percent = kPercent) {
        qh::ToolkitStartup(host, graphics);
        host.SetScale(float(percent) / kPercent);
        gallery.Create();
        gallery.Window().Show(0);
        host.ClearPresentations();
    }
    ~GalleryRun() {
        host.DestroyWindow(gallery.Handle());
        qh::ToolkitShutdown();
    }
    template <class T>
    T* Control(const char* name) {
        qh::UiWindow& w = gallery.Window();
        return dynamic_cast<T*>(w.Record(w.IndexOfName(name))->object);
    }

    qh::headless::HeadlessHost host;
    qh::cairo::CairoDriver graphics;
    qh::Gallery gallery;
};

void FullRepaint(benchmark::State& state) {
    GalleryRun run(state.range(0));
    qh::UiWindow& w = run.gallery.Window();
    for (auto _ : state) {
        w.RepaintArea(qh::MakeRect(0, 0, 600, 440), true);
        run.host.ClearPresentations();
    }
}
BENCHMARK(FullRepaint)->ArgName("scale%")->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);

void Keystroke(benchmark::State& state) {
    GalleryRun run(state.range(0));
    qh::UiWindow& w = run.gallery.Window();
    auto* note = run.Control<qh::UiEdit>("Note");
    w.FocusControl(note->Id());
    int typed = 0;
    for (auto _ : state) {
        run.host.Send(run.gallery.Handle(), qh::msg::kChar, 'a' + typed % 26, 1);
        if (++typed == 40) {
            state.PauseTiming();
            note->Text("", true);
            typed = 0;
            state.ResumeTiming();
        }
        run.host.ClearPresentations();
    }
}
BENCHMARK(Keystroke)->ArgName("scale%")->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);

// One wheel notch down a list of state.range(0) rows; every twentieth goes
// back to the top, so that every notch scrolls in both lists.
void ListViewScroll(benchmark::State& state) {
    GalleryRun run;
    auto* list = run.Control<qh::UiListView>("Schedule");
    list->SuspendDraw();
    list->ClearRows();
    for (int row = 1; row <= state.range(0); ++row) {
        const int at = list->InsertRow(0, std::to_string(row));
        list->CellText(at, 2, "7,485.20", true);
    }
    list->ResumeDraw();
    const qh::RectI r = run.host.WindowRect(run.gallery.Handle());
    const std::int32_t at = qh::MakeLParam(r.left + 480, r.top + 200);
    int notches = 0;
    for (auto _ : state) {
        const bool back = ++notches % 20 == 0;
        run.host.Send(run.gallery.Handle(), qh::msg::kMouseWheel,
                      static_cast<std::intptr_t>(static_cast<std::uint32_t>(back ? 19 * 120 : -120) << 16), at);
        run.host.ClearPresentations();
    }
}
BENCHMARK(ListViewScroll)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace
