// The calculator's main and results windows in the headless host, drawn with
// the platform's graphics backend (cairo on Linux, GDI+ under Wine): the
// worked examples through the controls, the quit request, docking, the
// system calculator's fallbacks, the unit suffixes drawn into the boxes and
// the colours of the side menu and the search link.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "calc/shell/main_window.h"
#include "calc/shell/page_forms.h"
#include "calc/shell/updater_handoff.h"
#include "runtime/product_version.h"
#include "tests/support/test_platform.h"
#include "tests/toolkit/test_backend.h"
#include "toolkit/headless/headless_host.h"
#include "toolkit/messages.h"
#include "toolkit/toolkit.h"

namespace qh {
namespace {

// How many pixels of the image within bounds have the property.
template <typename Property>
int CountPixels(const Bitmap& image, const RectF& bounds, Property property) {
    int count = 0;
    for (int y = int(bounds.top); y < int(bounds.Bottom()); ++y) {
        for (int x = int(bounds.left); x < int(bounds.Right()); ++x) count += property(image.GetPixel(x, y)) ? 1 : 0;
    }
    return count;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ToolkitStartup(platform.host, *graphics);
        platform.host.SetScale(DisplayScale());
        MainWindowServices services;
        services.runProgram = [this](const Text& commandLine) {
            tried.push_back(commandLine);
            return commandLine == installedCalculator;
        };
        main = std::make_unique<MainWindow>(platform, services);
        ASSERT_TRUE(main->Build());
    }
    void TearDown() override {
        main.reset();
        ToolkitShutdown();
    }

    virtual float DisplayScale() const { return 1.0f; }
    MainControls& c() { return main->Controls(); }
    void Click(UiControl& control) {
        const RectF b = control.Bounds();
        platform.host.Click(c().hwnd, int(b.left + b.width / 2), int(b.top + b.height / 2));
    }

    std::unique_ptr<GraphicsDriver> graphics = MakeTestGraphicsDriver();
    TestPlatform platform{*graphics};
    std::unique_ptr<MainWindow> main;
    std::vector<Text> tried;
    Text installedCalculator = "calc.exe";
};

TEST_F(MainWindowTest, ADevelopmentBuildSaysSoInItsCaptionWhileItsTitleStaysFindable) {
    // The build without the maker's key marks itself; the title, which the
    // updater, the setup program and the scripts find the window by, stays.
    EXPECT_EQ(Text(kBuildMark), kDevelopmentBuild ? Text(" 开发版") : Text());
    EXPECT_EQ(platform.host.Title(c().hwnd), "青禾计算器");
    EXPECT_EQ(c().window.CaptionText(), Text("青禾计算器") + kBuildMark);
    EXPECT_EQ(platform.host.NotifyWindows("Ex_DirectUI", "青禾计算器", 0), 1);
}

// The window lets go of its decoded skin once its first background is drawn;
// a later background (here a new caption) decodes it again rather than
// falling back to the plain background colour.
TEST_F(MainWindowTest, TheSkinIsDrawnAgainAfterItsDecodedPixelsWereLetGo) {
    const Bitmap before = platform.host.Screen(c().hwnd);
    c().window.SetCaptionText(c().window.CaptionText());
    const Bitmap after = platform.host.Screen(c().hwnd);
    ASSERT_EQ(after.Width(), before.Width());
    ASSERT_EQ(after.Height(), before.Height());
    EXPECT_TRUE(std::equal(before.Data(), before.Data() + before.Width() * before.Height(), after.Data()));
    const auto* skin = reinterpret_cast<const UiImage*>(platform.host.Send(c().hwnd, msg::kBackgroundHandle, 0, 0));
    ASSERT_NE(skin, nullptr);
    EXPECT_GT(skin->Width(), 0);
}

TEST_F(MainWindowTest, HousingByAreaFinancesAWholeNumberOfYuan) {
    Click(c().modeByArea);
    c().amountEdit.Text("2", true);
    c().termEdit.Text("20", true);
    c().areaEdit.Text("100", true);
    main->Calculate();
    ASSERT_TRUE(main->Results().Exists());
    // 2,000,000 less 3成 in single precision is 1,399,999.976…, financed as 1,400,000.
    EXPECT_EQ(main->Results().InstallmentText().substr(0, 15), "1,400,000.00 元");
    EXPECT_EQ(main->Results().PrincipalText().substr(0, 15), "1,400,000.00 元");
}

TEST_F(MainWindowTest, TheTaxPageShowsTheSixTaxesAndTheirTotal) {
    main->SelectSideEntry(kPageTax);
    Click(c().certUnder5);
    c().taxAreaEdit.Text("120", true);
    c().taxPriceEdit.Text("200", true);
    main->Calculate();
    EXPECT_EQ(main->Results().TaxText(),
              "30,000.00 元\r\n\r\n111,000.00 元\r\n\r\n7,770.00 元\r\n\r\n3,330.00 元\r\n\r\n20,000.00 元\r\n\r\n"
              "0.00 元\r\n\r\n172,100.00 元");
    EXPECT_EQ(main->CurrentTab(), 1);
}

TEST_F(MainWindowTest, MessageWmUserEndsTheMessageLoopAsClosingDoes) {
    platform.host.Send(c().hwnd, msg::kUser, 0, 0);
    EXPECT_EQ(platform.quitCodes, std::vector<int>{0});
}

TEST_F(MainWindowTest, MovingTheMainWindowDragsTheResultsWindowAlong) {
    main->Calculate();
    ASSERT_TRUE(main->Results().Exists());
    platform.host.MoveWindow(c().hwnd, RectI{100, 50, 600, 440});
    const RectI r = platform.host.WindowRect(main->Results().Handle());
    EXPECT_EQ(r.left, 100 + 600 - 9);
    EXPECT_EQ(r.top, 50);
    EXPECT_EQ(r.width, 220);
    EXPECT_EQ(r.height, 440);
}

// At scale 2 the windows keep their logical places, the results window
// docked at the right edge less 9, and are drawn at twice their size.
class MainWindowAtScale2Test : public MainWindowTest {
protected:
    float DisplayScale() const override { return 2.0f; }
};

TEST_F(MainWindowAtScale2Test, TheResultsWindowDocksInLogicalPixelsAndDrawsInDevicePixels) {
    main->Calculate();
    ASSERT_TRUE(main->Results().Exists());
    platform.host.MoveWindow(c().hwnd, RectI{100, 50, 600, 440});
    const RectI r = platform.host.WindowRect(main->Results().Handle());
    EXPECT_EQ(r.left, 100 + 600 - 9);
    EXPECT_EQ(r.width, 220);
    EXPECT_EQ(platform.host.Screen(c().hwnd).Width(), 1200);
    EXPECT_EQ(platform.host.Screen(main->Results().Handle()).Width(), 440);
    EXPECT_EQ(platform.host.Screen(main->Results().Handle()).Height(), 880);
}

TEST_F(MainWindowTest, TheSystemCalculatorIsTheFirstThatStarts) {
    Click(c().sysCalcButton);
    EXPECT_EQ(tried, std::vector<Text>{"calc.exe"});
    tried.clear();
    installedCalculator = "kcalc";
    Click(c().sysCalcButton);
    EXPECT_EQ(tried, (std::vector<Text>{"calc.exe", "gnome-calculator", "kcalc"}));
}

// The unit suffix is drawn inside the rate box, right of its text, by the
// box's draw hook: dark pixels near the box's right edge, none in the empty
// amount box beside which no suffix stands.
TEST_F(MainWindowTest, RateBoxesShowTheirPercentSuffix) {
    const Bitmap& screen = c().window.BackBuffer();
    auto darkNearRightEdge = [&](UiControl& box) {
        const RectF b = box.Bounds();
        int dark = 0;
        for (int y = int(b.top) + 3; y < int(b.Bottom()) - 3; ++y) {
            for (int x = int(b.Right()) - 12; x < int(b.Right()) - 2; ++x) {
                const Argb p = screen.GetPixel(x, y);
                dark += RedOf(p) < 200 && GreenOf(p) < 200 && BlueOf(p) < 200;
            }
        }
        return dark;
    };
    EXPECT_GT(darkNearRightEdge(c().rateEdit), 5);
    EXPECT_EQ(darkNearRightEdge(c().amountEdit), 0);
}

// The results window paints its background while it is created; the
// separator lines must be there on that first paint, on the loan and on the
// tax layout, not only after a later switch between them repaints it. Each
// layout is checked in a fresh program, where the window is created for the
// first time.
struct SeparatorLine {
    int x, y, length;
};
constexpr int kResultsWidth = 220;

void ExpectSeparatorsOnFirstPaint(MainWindow& main, int page, std::initializer_list<SeparatorLine> lines) {
    main.SelectSideEntry(page);
    main.Calculate();
    ASSERT_TRUE(main.Results().Exists());
    const Bitmap& screen = main.Results().Window().BackBuffer();
    for (const SeparatorLine& line : lines) {
        // The line's middle is its most opaque part: a clear green over the
        // pale skin, where the skin alone is at most 30 greener than red.
        // The 1-px image is stretched over two rows; GDI+ fades the second,
        // so the stronger row counts.
        const int x = std::min(line.x + line.length / 2, screen.Width() - 1);
        int greener = 0;
        for (int y : {line.y, line.y + 1}) {
            const Argb p = screen.GetPixel(x, y);
            greener = std::max(greener, int(GreenOf(p)) - int(RedOf(p)));
        }
        EXPECT_GT(greener, 50) << "page " << page << ": no separator at " << x << "," << line.y;
    }
}

TEST_F(MainWindowTest, ResultsSeparatorsShowOnTheFirstPaintOfTheLoanLayout) {
    ExpectSeparatorsOnFirstPaint(*main, kPageHousing, {{107, 115, 110}, {107, 248, 110}, {15, 395, kResultsWidth}});
}

TEST_F(MainWindowTest, ResultsSeparatorsShowOnTheFirstPaintOfTheTaxLayout) {
    ExpectSeparatorsOnFirstPaint(*main, kPageTax, {{15, 115, kResultsWidth}, {15, 325, kResultsWidth}});
}

// The side menu was given one colour: the selected entry was a solid green
// bar with white text, and the loan search lost its red once selected. The
// selected face is white α170 over the window's ground; the fifth entry's
// text is red at rest and selected, the others' never.
TEST_F(MainWindowTest, SideMenuSelectedEntryIsWhiteNotAGreenBarAndTheLoanSearchStaysRed) {
    const Bitmap& screen = c().window.BackBuffer();
    const RectF first = c().sideMenu[0].Bounds();
    const int x = int(first.Right()) - 6, y = int(first.top + first.height / 2);
    const Argb selected = screen.GetPixel(x, y);
    main->SelectSideEntry(kPageTax);
    const Argb ground = screen.GetPixel(x, y);
    auto whiteOver = [](int channel) { return channel + (255 - channel) * 170 / 255; };
    EXPECT_NEAR(RedOf(selected), whiteOver(RedOf(ground)), 4) << std::hex << selected << " over " << ground;
    EXPECT_NEAR(GreenOf(selected), whiteOver(GreenOf(ground)), 4);
    EXPECT_NEAR(BlueOf(selected), whiteOver(BlueOf(ground)), 4);

    auto isRed = [](Argb p) { return RedOf(p) - std::max(GreenOf(p), BlueOf(p)) > 60; };
    auto redPixels = [&](UiControl& entry) { return CountPixels(screen, entry.Bounds(), isRed); };
    EXPECT_GT(redPixels(c().sideMenu[kPageSearch - 1]), 10);
    main->SelectSideEntry(kPageSearch);
    EXPECT_GT(redPixels(c().sideMenu[kPageSearch - 1]), 10);
    EXPECT_EQ(redPixels(c().sideMenu[kPageHousing - 1]), 0);
}

// SearchLink kept one colour whatever the mouse did: under the mouse its
// text turns blue.
TEST_F(MainWindowTest, SearchLinkTurnsBlueUnderTheMouse) {
    main->SelectSideEntry(kPageSearch);
    const Bitmap& screen = c().window.BackBuffer();
    const RectF b = c().searchLink.Bounds();
    auto bluePixels = [&] { return CountPixels(screen, b, [](Argb p) { return BlueOf(p) - RedOf(p) > 60; }); };
    EXPECT_EQ(bluePixels(), 0);
    platform.host.MouseMove(c().hwnd, int(b.left + 20), int(b.top + b.height / 2));
    EXPECT_GT(bluePixels(), 10);
}

TEST(UpdaterHandOffTest, TheInstallCommandLineQuotesThePathAndEncodesTheFields) {
    EXPECT_EQ(InstallCommandLine("C:\\Program Files\\青禾\\renew.exe", "a.exe", 1234),
              "\"C:\\Program Files\\青禾\\renew.exe\" -m 612E657865 312E302E302E353033 31323334");
}

TEST(PageFormsTest, DownPaymentListsOfferTwoToNineTenths) {
    const std::vector<Text> items = ListTextsOf(ListTexts::DownPayments);
    ASSERT_EQ(items.size(), 8u);
    EXPECT_EQ(items.front(), "2成");
    EXPECT_EQ(items.back(), "9成");
}

}  // namespace
}  // namespace qh
