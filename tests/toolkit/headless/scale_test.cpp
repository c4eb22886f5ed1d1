// Windows at display scales 1, 1.5 and 2 in the headless host: the
// application's coordinates stay logical, the screen holds device pixels.
#include <gtest/gtest.h>

#include "tests/toolkit/toolkit_fixture.h"
#include "toolkit/controls/combo_box.h"
#include "toolkit/controls/edit.h"
#include "toolkit/controls/tip_panel.h"
#include "toolkit/image.h"
#include "toolkit/scale.h"
#include "tests/toolkit/controls/kind_test_support.h"

namespace qh {
namespace {

constexpr float kScales[] = {1.0f, 1.5f, 2.0f};
constexpr int kWindowWidth = 200, kWindowHeight = 150;
const RectF kProbeBounds = MakeRect(10, 30, 20, 20);

class ScaleTest : public ::testing::TestWithParam<float> {
protected:
    void SetUp() override {
        ToolkitStartup(host, *graphics);
        host.SetScale(GetParam());
        hwnd = CreateHostWindow("测试窗口", 0, true, 0, true, kWindowWidth, kWindowHeight);
        ASSERT_NE(hwnd, 0u);
        ASSERT_TRUE(window.Create(hwnd, Bytes(), MakeArgb(0xFFFFFF, 255), true, 0));
        ASSERT_TRUE(probe.Create(hwnd, kProbeBounds));
        window.RepaintArea(MakeRect(0, 0, kWindowWidth, kWindowHeight), true);
    }
    void TearDown() override {
        if (host.Exists(hwnd)) host.DestroyWindow(hwnd);
        ToolkitShutdown();
    }
    Argb DeviceAt(int x, int y) { return host.Screen(hwnd).GetPixel(x, y) | 0xFF000000u; }
    float Scale() const { return GetParam(); }

    TestHost host;
    std::unique_ptr<GraphicsDriver> graphics = MakeTestGraphicsDriver();
    HostHandle hwnd = 0;
    UiWindow window;
    Probe probe;
};

TEST_P(ScaleTest, TheScreenHoldsDevicePixelsAndAControlPaintsItsScaledArea) {
    EXPECT_EQ(host.Screen(hwnd).Width(), ToDevice(kWindowWidth, Scale()));
    EXPECT_EQ(host.Screen(hwnd).Height(), ToDevice(kWindowHeight, Scale()));
    EXPECT_EQ(window.ClientWidth(), kWindowWidth);  // the application's size stays logical
    const RectI device = ToDevice(RectI{10, 30, 20, 20}, Scale());
    // Whatever state it shows (the window may have focused it), it fills
    // its area with one colour.
    const Argb rest = DeviceAt(device.left + device.width / 2, device.top + device.height / 2);
    EXPECT_FALSE(Near(rest, 0xFFFFFFFFu));
    for (int x : {device.left, device.left + device.width - 1}) {
        for (int y : {device.top, device.top + device.height - 1}) {
            EXPECT_TRUE(Near(DeviceAt(x, y), rest)) << x << "," << y << " " << std::hex << DeviceAt(x, y);
        }
    }
    EXPECT_TRUE(Near(DeviceAt(device.left - 1, device.top), 0xFFFFFFFFu));
    EXPECT_TRUE(Near(DeviceAt(device.left + device.width, device.top), 0xFFFFFFFFu));
    EXPECT_TRUE(Near(DeviceAt(device.left, device.top + device.height), 0xFFFFFFFFu));
}

// A click on the outermost device pixels a control paints hits it; one on
// the first pixel outside does not.
TEST_P(ScaleTest, ClicksOnTheEdgePixelsOfAControlHitIt) {
    const RectI device = ToDevice(RectI{10, 30, 20, 20}, Scale());
    const int right = device.left + device.width - 1, bottom = device.top + device.height - 1;
    const struct {
        int x, y;
        bool hits;
    } kClicks[] = {{device.left, device.top, true},       {right, bottom, true},
                   {device.left - 1, device.top, false},  {right + 1, bottom, false},
                   {device.left, bottom + 1, false}};
    for (const auto& c : kClicks) {
        const int before = probe.clicks;
        host.Click(hwnd, ToLogical(c.x, Scale()), ToLogical(c.y, Scale()));
        EXPECT_EQ(probe.clicks - before, c.hits ? 1 : 0) << "device " << c.x << "," << c.y;
    }
}

// The caret after typed double-byte text stands where the text ends, in
// logical pixels within one of its place at scale 1, and is drawn there.
TEST_P(ScaleTest, TheCaretFollowsTypedDoubleByteText) {
    UiEdit edit;
    edit.Create(hwnd, "", 40, 60, 140, 24);
    host.Click(hwnd, 100, 72);
    const Text typed = "房贷计算";
    for (unsigned char c : typed) host.Send(hwnd, msg::kChar, c, 1);
    ASSERT_EQ(edit.Text(), typed);
    const RectI caret = host.CaretRect(hwnd);
    // At scale 1: four 12-pixel ideographs after the edit's inner margin.
    constexpr int kCaretAtScale1Min = 40 + 4 * 11, kCaretAtScale1Max = 40 + 4 * 13 + 6;
    EXPECT_GE(caret.left, kCaretAtScale1Min);
    EXPECT_LE(caret.left, kCaretAtScale1Max);
    // The glyphs end left of the caret: the column under it is clear of
    // ink right of it in device pixels, and there is ink left of it.
    const int deviceCaret = ToDevice(caret.left, Scale());
    const int row = ToDevice(caret.top + caret.height / 2, Scale());
    bool inkLeft = false;
    for (int x = ToDevice(42, Scale()); x < deviceCaret - 1; ++x) inkLeft |= RedOf(DeviceAt(x, row)) < 128;
    EXPECT_TRUE(inkLeft);
}

// A combo box near the window's bottom right opens its list inside the
// window, and the list is drawn there in device pixels.
TEST_P(ScaleTest, AComboListOpensInsideTheWindow) {
    UiComboBox combo;
    combo.Create(hwnd, 120, 118, 70, 24, 1, {"一", "二", "三", "四", "五", "六"});
    host.Click(hwnd, 150, 130);
    ASSERT_TRUE(combo.IsOpen());
    const RectF list = combo.ListBounds();
    EXPECT_GE(list.left, 0);
    EXPECT_GE(list.top, 0);
    EXPECT_LE(list.Right(), kWindowWidth);
    EXPECT_LE(list.Bottom(), kWindowHeight);
    // Its first item's text is drawn inside it, in device pixels.
    const int row = ToDevice(int(list.top + combo.RowHeight() / 2), Scale());
    bool ink = false;
    for (int x = ToDevice(int(list.left), Scale()); x < ToDevice(int(list.Right()), Scale()); ++x) {
        ink |= RedOf(DeviceAt(x, row)) < 128;
    }
    EXPECT_TRUE(ink);
}

// A tip panel's explanation, laid out with the window's scaled graphics,
// shows every line whole inside its body at every scale.
TEST_P(ScaleTest, ATipPanelsLinesFitItsBody) {
    UiTipPanel tip;
    tip.Create(hwnd, 10, 60, 180, 64, kTipPointUp);
    tip.Text("等额本息: 每月还款额相同,\r\n前期利息多, 后期本金多.", true);
    Bitmap scratch(ToDevice(kWindowWidth, Scale()), ToDevice(kWindowHeight, Scale()));
    const auto g = graphics->Open(scratch, Scale());
    ASSERT_TRUE(g);
    EXPECT_EQ(g->Width(), kWindowWidth);
    const TextLines layout = tip.TextLayout(*g);
    const RectF body = tip.TextBody();
    EXPECT_EQ(layout.lines.size(), 2u);
    EXPECT_LE(layout.Height(), body.height);
    for (const Text& line : layout.lines) {
        EXPECT_LE(MeasureText(*g, line, layout.font, MakeRect(0, 0, 0, 0)).width, body.width + 1) << line;
    }
}

// Moving to a screen of another scale redraws the window at that scale
// with its logical size unchanged.
TEST_P(ScaleTest, AChangeOfScaleRedrawsAtTheNewScale) {
    const float next = Scale() == 2.0f ? 1.0f : 2.0f;
    host.ChangeScale(hwnd, next);
    EXPECT_EQ(window.ClientWidth(), kWindowWidth);
    EXPECT_EQ(host.Screen(hwnd).Width(), ToDevice(kWindowWidth, next));
    const RectI device = ToDevice(RectI{10, 30, 20, 20}, next);
    const Argb fill = DeviceAt(device.left + device.width / 2, device.top + device.height / 2);
    EXPECT_FALSE(Near(fill, 0xFFFFFFFFu));
    EXPECT_TRUE(Near(DeviceAt(device.left + device.width - 1, device.top), fill));
    EXPECT_TRUE(Near(DeviceAt(device.left + device.width, device.top), 0xFFFFFFFFu));
}

INSTANTIATE_TEST_SUITE_P(Scales, ScaleTest, ::testing::ValuesIn(kScales));

// An 800 x 600 screen at scale 3 is 267 x 200 logical pixels, which the
// hosts report as its size: a window larger than the work area starts at
// the work area's origin instead of off screen; a smaller one is centred.
TEST(ScalePlacement, AWindowLargerThanTheWorkAreaStartsAtItsOrigin) {
    TestHost host(RectI{0, 0, 267, 200}, RectI{0, 10, 267, 187});
    std::unique_ptr<GraphicsDriver> graphics = MakeTestGraphicsDriver();
    ToolkitStartup(host, *graphics);
    const RectI large = DefaultWindowRect(host, 600, 440, 0, false, 0, false);
    EXPECT_EQ(large.left, 0);
    EXPECT_EQ(large.top, 10);
    const RectI small = DefaultWindowRect(host, 100, 80, 0, false, 0, false);
    EXPECT_EQ(small.left, (267 - 100) / 2);
    EXPECT_EQ(small.top, 10 + (187 - 80) / 2);
    ToolkitShutdown();
}

// A 4 x 2 PNG, the double of kRedBluePicture in colours swapped (blue on
// the left, red on the right), so a test can tell which one was drawn.
const Bytes kDoubleSwapped = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00,
    0x04, 0x00, 0x00, 0x00, 0x02, 0x08, 0x06, 0x00, 0x00, 0x00, 0x7F, 0xA8, 0x7D, 0x63, 0x00, 0x00, 0x00, 0x14, 0x49,
    0x44, 0x41, 0x54, 0x78, 0xDA, 0x63, 0x60, 0x60, 0xF8, 0xFF, 0x1F, 0x84, 0xFF, 0x43, 0x19, 0x0C, 0xE8, 0x02, 0x00,
    0x07, 0x29, 0x0F, 0xF1, 0xE5, 0x7F, 0xAE, 0x0C, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60,
    0x82};

// A registered double picture is drawn from 150 % on, over the picture's own
// logical size; below that, and for bytes never registered, the picture itself.
TEST_P(ScaleTest, APictureDrawsItsDoubleFrom150Percent) {
    RegisterDoubleImage(kRedBluePicture, kDoubleSwapped);
    UiImage image;
    ASSERT_TRUE(image.LoadFromMemory(kRedBluePicture));
    EXPECT_EQ(image.Width(), 2);  // the logical size stays the picture's
    const Bitmap& drawn = image.PixelsFor(Scale());
    const bool twice = Scale() >= 1.5f;
    EXPECT_EQ(drawn.Width(), twice ? 4 : 2);
    EXPECT_TRUE(Close(drawn.GetPixel(0, 0), twice ? 0xFF0000FFu : kPictureRed, 8)) << std::hex << drawn.GetPixel(0, 0);
    UiImage unregistered;
    ASSERT_TRUE(unregistered.LoadFromMemory(kDoubleSwapped));
    EXPECT_EQ(&unregistered.PixelsFor(Scale()), &unregistered.Pixels());
}

TEST(ScaleSteps, DpiAndTextGiveTheNearestStep) {
    const struct {
        double dpi;
        float scale;
    } kDpis[] = {{96, 1}, {120, 1.25f}, {144, 1.5f}, {168, 1.75f}, {192, 2}, {240, 2.5f}, {288, 3}, {110, 1.25f},
                 {1000, 3}, {0, 1}, {-96, 1}};
    for (const auto& d : kDpis) EXPECT_EQ(ScaleOfDpi(d.dpi), d.scale) << d.dpi;
    EXPECT_EQ(ParseScale("2"), 2.0f);
    EXPECT_EQ(ParseScale("1.4"), 1.5f);
    EXPECT_EQ(ParseScale("x"), 0.0f);
    EXPECT_EQ(ParseScale("2x"), 0.0f);
    EXPECT_EQ(ParseScale("-1"), 0.0f);
    EXPECT_EQ(ParseScale(""), 0.0f);
}

TEST(ScaleSteps, ADesktopsScaleComesFromQingheScaleThenXftDpiThenGdkScale) {
    const struct {
        const char *qinghe, *resources, *gdk;
        float scale;
    } kDesktops[] = {
        {nullptr, nullptr, nullptr, 1},
        {"2", "Xft.dpi:\t144\n", "3", 2},
        {"bad", "Xft.dpi:\t144\n", "3", 1.5f},
        {nullptr, "Xcursor.size:\t24\nXft.dpi:  192 \nXft.hinting:\t1\n", nullptr, 2},
        {nullptr, "MyXft.dpi:\t192\n", "2", 2},
        {nullptr, "Xft.dpi:\t\n", nullptr, 1},
        {nullptr, "Xft.antialias:\t1\n", "2", 2},
        {nullptr, nullptr, "0", 1},
    };
    for (const auto& d : kDesktops) {
        EXPECT_EQ(ChooseDesktopScale(d.qinghe, d.resources, d.gdk), d.scale)
            << (d.qinghe ? d.qinghe : "-") << " | " << (d.resources ? d.resources : "-") << " | " << (d.gdk ? d.gdk : "-");
    }
}

}  // namespace
}  // namespace qh
