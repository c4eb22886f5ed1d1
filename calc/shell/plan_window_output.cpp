// The plan window's outputs beyond the screen: the CSV export and the
// comparison with a plan kept as 方案A.
#include "calc/loans/plan_export.h"
#include "calc/shell/plan_window.h"
#include "runtime/files.h"
#include "runtime/system.h"
#include "toolkit/toolkit.h"

namespace qh {
namespace {

constexpr const char* kExportTitle = "导出还款计划";
constexpr const char* kExportName = "还款计划";
constexpr const char* kExportExtension = ".csv";
constexpr int kMaxNumberedNames = 999;
constexpr float kExportWidth = 70, kKeepWidth = 80, kButtonHeight = 24;
constexpr Argb kStatusColor = MakeArgb(0x000000, 170);
constexpr Argb kComparisonColor = MakeArgb(0x008000, 220);

Text InFolder(const Text& folder, const Text& name) { return folder + System().PathSeparator() + name; }

// "还款计划.csv", or "还款计划(2).csv" and so on when that name is taken.
Text FreeNameIn(const Text& folder) {
    const Text base = InFolder(folder, kExportName);
    if (!FileExists(base + kExportExtension)) return base + kExportExtension;
    for (int n = 2; n <= kMaxNumberedNames; ++n) {
        const Text candidate = base + "(" + std::to_string(n) + ")" + kExportExtension;
        if (!FileExists(candidate)) return candidate;
    }
    return base + kExportExtension;
}

}  // namespace

void PlanWindow::CreateOutputRow() {
    const HostHandle h = hwnd_;
    keepA_.Create(h, "设为方案A", 0, 0, kKeepWidth, kButtonHeight);
    keepA_.Name("PlanKeepA", true);
    clearA_.Create(h, "清除方案A", 0, 0, kKeepWidth, kButtonHeight);
    clearA_.Name("PlanClearA", true);
    export_.Create(h, "导出CSV", 0, 0, kExportWidth, kButtonHeight);
    export_.Name("PlanExport", true);
    status_.Create(h, "", 0, 0, 100, 20, kStatusColor, {}, kFormatNoWrap, 0);
    status_.Name("PlanStatus", true);
    const char* names[kComparisonColumns] = {"PlanCompareNames", "PlanCompareA", "PlanCompareCurrent",
                                             "PlanCompareDifference"};
    for (int i = 0; i < kComparisonColumns; ++i) {
        comparison_[i].Create(h, "", 0, 0, 10, 10, kComparisonColor, {}, kFormatNoWrap, 0, false);
        comparison_[i].Name(names[i], true);
    }
}

void PlanWindow::BindOutputs() {
    export_.OnClick([this] { Export(); });
    keepA_.OnClick([this] {
        if (outcome_.schedule.rows.empty()) return;
        planA_ = outcome_.summary;
        ShowComparison();
    });
    clearA_.OnClick([this] {
        planA_.reset();
        ShowComparison();
    });
}

void PlanWindow::ShowComparison() {
    const bool comparing = planA_.has_value() && !outcome_.schedule.rows.empty();
    if (comparing) {
        const PlanComparison c = ComparePlans(*planA_, outcome_.summary);
        const Text* texts[kComparisonColumns] = {&c.names, &c.a, &c.current, &c.difference};
        for (int i = 0; i < kComparisonColumns; ++i) comparison_[i].SetText(*texts[i]);
    }
    for (UiLabel& column : comparison_) column.Visible(comparing ? 1 : 0, true);
    summary_.Visible(comparing ? 0 : 1, true);
    clearA_.SetEnabled(planA_.has_value());
    keepA_.SetEnabled(!outcome_.schedule.rows.empty());
    export_.SetEnabled(!outcome_.schedule.rows.empty());
}

std::optional<Text> PlanWindow::ExportPath() {
    const Text documents = System().DocumentsFolder();
    const std::optional<Text> chosen =
        TheHost().ChooseSaveFile(hwnd_, kExportTitle, InFolder(documents, Text(kExportName) + kExportExtension));
    if (!chosen) return std::nullopt;
    if (!chosen->empty()) return chosen;
    const Text path = FreeNameIn(documents);
    CreateFolders(path);  // a documents folder named but not made yet
    return path;
}

void PlanWindow::Export() {
    if (!plan_ || outcome_.schedule.rows.empty()) return;
    const std::optional<Text> path = ExportPath();
    if (!path) return;
    // Written whole beside the target and then put in its place: a failed
    // write leaves no partial file, and an existing one as it was.
    std::vector<NamedPlan> parts{{Text(), &*plan_}};
    if (fund_) parts = {{"公积金", &*fund_}, {"商贷", &*plan_}};
    if (WriteWholeFile(*path, PlanCsv(parts, outcome_.schedule))) {
        status_.SetText("已导出: " + *path);
    } else {
        status_.SetText("导出失败, 未能写入: " + *path);
    }
}

}  // namespace qh
