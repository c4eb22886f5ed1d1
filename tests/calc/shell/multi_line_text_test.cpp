// Every multi-line text of the calculator, and the updater's longer texts,
// laid out with the font and line pitch its control really draws it with
// and measured with the platform's graphics backend (cairo on Linux, GDI+
// under Wine): every line must show whole inside the control's rectangle.
// The results window's two help tips once lost half of their last line: the
// font's line height was taller than the texts were written for.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "calc/loans/result_labels.h"
#include "calc/shell/about_window.h"
#include "calc/shell/main_window.h"
#include "calc/shell/page_forms.h"
#include "renew/installer.h"
#include "tests/support/test_platform.h"
#include "tests/toolkit/test_backend.h"
#include "toolkit/draw.h"
#include "toolkit/message_box.h"
#include "toolkit/text_lines.h"
#include "toolkit/toolkit.h"

namespace qh {
namespace {

// A text as its control lays it out, and the rectangle it must show in.
struct Shown {
    TextLines lines;
    RectF rect;
};

class MultiLineTextTest : public ::testing::Test {
public:  // the cases below reach in through a reference to the fixture
    void SetUp() override {
        ToolkitStartup(platform.host, *graphics);
        main = std::make_unique<MainWindow>(platform, MainWindowServices{});
        ASSERT_TRUE(main->Build());
        measure = graphics->Open(canvas);
    }
    void TearDown() override {
        measure.reset();
        boxText.reset();
        about.reset();
        main.reset();
        ToolkitShutdown();
    }

    MainControls& c() { return main->Controls(); }
    void Click(const UiControl& control) {
        const RectF b = control.Bounds();
        platform.host.Click(c().hwnd, int(b.left + b.width / 2), int(b.top + b.height / 2));
    }
    Shown DescriptionOn(int page) {
        main->SelectSideEntry(page);
        return OfLabel(c().descriptionLabel);
    }
    UiControl& ResultsControl(const char* name) {
        UiWindow& w = main->Results().Window();
        return *w.Record(w.IndexOfName(name))->object;
    }
    void Hover(HostHandle window, const UiControl& control) {
        const RectF b = control.Bounds();
        platform.host.MouseMove(window, int(b.left + b.width / 2), int(b.top + b.height / 2));
    }
    Shown OfTip(const UiTipPanel& tip) { return {tip.TextLayout(*measure), tip.TextBody()}; }
    Shown OfLabel(const UiLabel& label) { return {label.TextLayout(*measure), label.Bounds()}; }
    // A text the results window paints itself, at its 14 px pitch.
    Shown Painted(const char* text, const RectF& rect) {
        return {LinesAtPitch(*measure, text, Toolkit().defaultFont, 14), rect};
    }
    // The results window on a page, with its figures.
    void Calculate(int page) {
        main->SelectSideEntry(page);
        if (page == kPageTax) {
            c().taxAreaEdit.Text("120", true);
            c().taxPriceEdit.Text("200", true);
        } else {
            c().amountEdit.Text("100", true);
            c().termEdit.Text("20", true);
        }
        main->Calculate();
    }

    std::unique_ptr<GraphicsDriver> graphics = MakeTestGraphicsDriver();
    TestPlatform platform{*graphics};
    std::unique_ptr<MainWindow> main;
    std::unique_ptr<AboutWindow> about;
    std::unique_ptr<UiLabel> boxText;
    Bitmap canvas{8, 8};
    std::unique_ptr<Graphics> measure;
};

struct TextCase {
    const char* what;
    std::function<Shown(MultiLineTextTest&)> show;
};

TEST_F(MultiLineTextTest, EveryMultiLineTextFitsItsRectangle) {
    const TextCase cases[] = {
        {"results tip, equal installments", [](MultiLineTextTest& t) {
             t.Calculate(kPageHousing);
             t.Hover(t.main->Results().Handle(), t.ResultsControl("InstallmentHelp"));
             return t.OfTip(dynamic_cast<UiTipPanel&>(t.ResultsControl("ResultsTip")));
         }},
        {"results tip, equal principal", [](MultiLineTextTest& t) {
             t.Calculate(kPageHousing);
             t.Hover(t.main->Results().Handle(), t.ResultsControl("PrincipalHelp"));
             return t.OfTip(dynamic_cast<UiTipPanel&>(t.ResultsControl("ResultsTip")));
         }},
        {"help pop-up, second-home rules", [](MultiLineTextTest& t) {
             t.main->SelectSideEntry(kPageHousing);
             t.Click(t.c().modeByArea);
             t.Hover(t.c().hwnd, t.c().helpIcon);
             return t.OfTip(t.c().helpPopup);
         }},
        {"help pop-up, ordinary-housing rules", [](MultiLineTextTest& t) {
             t.main->SelectSideEntry(kPageTax);
             t.Hover(t.c().hwnd, t.c().helpIcon);
             return t.OfTip(t.c().helpPopup);
         }},
        {"help pop-up, loan search prompt", [](MultiLineTextTest& t) {
             t.main->SelectSideEntry(kPageSearch);
             t.c().helpPopup.Visible(0, true);  // the tax page's pop-up, still shown, covers the link
             t.Click(t.c().searchLink);
             t.platform.host.ProcessPending();  // the link's click event comes posted
             EXPECT_EQ(t.c().helpPopup.Text(), " 请输入贷款金额");
             return t.OfTip(t.c().helpPopup);
         }},
        {"captions, housing by amount", [](MultiLineTextTest& t) {
             t.main->SelectSideEntry(kPageHousing);
             t.Click(t.c().modeByAmount);
             return t.OfLabel(t.c().captionLabel);
         }},
        {"captions, housing by area", [](MultiLineTextTest& t) {
             t.main->SelectSideEntry(kPageHousing);
             t.Click(t.c().modeByArea);
             return t.OfLabel(t.c().captionLabel);
         }},
        {"description, housing", [](MultiLineTextTest& t) { return t.DescriptionOn(kPageHousing); }},
        {"description, tax", [](MultiLineTextTest& t) { return t.DescriptionOn(kPageTax); }},
        {"description, car", [](MultiLineTextTest& t) { return t.DescriptionOn(kPageCar); }},
        {"description, combined", [](MultiLineTextTest& t) { return t.DescriptionOn(kPageCombined); }},
        {"description, loan search", [](MultiLineTextTest& t) { return t.DescriptionOn(kPageSearch); }},
        {"results, equal-principal figures", [](MultiLineTextTest& t) {
             t.Calculate(kPageHousing);
             return t.OfLabel(dynamic_cast<UiLabel&>(t.ResultsControl("PrincipalValues")));
         }},
        {"results, taxes", [](MultiLineTextTest& t) {
             t.Calculate(kPageTax);
             return t.OfLabel(dynamic_cast<UiLabel&>(t.ResultsControl("TaxValues")));
         }},
        {"results, row labels", [](MultiLineTextTest& t) {
             return t.Painted(kPrincipalRowLabels, MakeRect(15, 264, 70, 140));
         }},
        {"results, note", [](MultiLineTextTest& t) { return t.Painted(kResultsNote, MakeRect(0, 402, 220, 80)); }},
        {"updater, failed install in a message box", [](MultiLineTextTest& t) {
             // The installer's longest reason, about the longest file name it replaces.
             const Text reason = "QingheCalc.exe 无法替换, 请关闭正在使用它的程序后重试";
             const RectF at = MessageBoxTextRect(true);
             t.boxText = std::make_unique<UiLabel>();
             t.boxText->Create(t.c().hwnd, InstallFailedNotice({InstallOutcome::kFailed, reason}), at.left, at.top,
                               at.width, at.height, MakeArgb(0x000000, 210), {}, 0, 3);
             return t.OfLabel(*t.boxText);
         }},
        {"about window", [](MultiLineTextTest& t) {
             t.about = std::make_unique<AboutWindow>(t.c().hwnd, "http://www.example.cn");
             t.about->Show();
             return t.OfLabel(t.about->AboutText());
         }},
    };
    for (const TextCase& entry : cases) {
        SCOPED_TRACE(entry.what);
        const Shown s = entry.show(*this);
        ASSERT_FALSE(s.lines.lines.empty());
        ASSERT_FALSE(s.lines.lines.size() == 1 && s.lines.lines[0].empty()) << "nothing shown";
        // The backend's own measure of a line, not the layout's record of it.
        const float lineHeight = MeasureText(*measure, "国", s.lines.font, MakeRect(0, 0, 0, 0)).height;
        const float height = s.lines.pitch * float(s.lines.lines.size() - 1) + lineHeight;
        EXPECT_LE(height, s.rect.height + 0.5f) << s.lines.lines.size() << " lines, " << s.lines.pitch << " apart";
        // The widest line: the backend sets each line within the width on one line.
        for (const Text& line : s.lines.lines) {
            EXPECT_TRUE(FitsOneLine(*measure, line, s.lines.font, s.rect.width, lineHeight)) << line;
        }
        // Lines closer than the font's size would run into each other.
        EXPECT_GE(s.lines.pitch, s.lines.font.size);
    }
}

}  // namespace
}  // namespace qh
