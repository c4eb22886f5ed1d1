#include <gtest/gtest.h>

#include "tests/toolkit/drawing_fixture.h"
#include "tests/toolkit/test_backend.h"
#include "toolkit/draw.h"
#include "toolkit/geometry.h"

namespace qh {
namespace {

constexpr Argb kRed = 0xFFFF0000u;

class DrawingTest : public DrawingFixture {
protected:
    DrawingTest() : DrawingFixture(120, 80) {}
};

TEST(ColorTest, MakeArgbNeverStoresFullAlpha) {
    EXPECT_EQ(MakeArgb(0x0000FF, 255), 0xFEFF0000u);  // COLORREF red
    EXPECT_EQ(MakeArgb(0x123456, 0, false), 0xFE563412u);
    EXPECT_EQ(MakeArgb(0xFFFFFF, 90), 0x5AFFFFFFu);
    EXPECT_TRUE(IsDarkColor(MakeArgb(0x7D7DFF)));   // only red is bright
    EXPECT_FALSE(IsDarkColor(MakeArgb(0x7E7E00)));  // green and red at 126
}

TEST(ColorTest, ShadowColourDependsOnTextColour) {
    EXPECT_EQ(EffectColor(MakeArgb(0x808080, 255)), MakeArgb(0x000000, 70));
    EXPECT_EQ(EffectColor(MakeArgb(0x202020, 255)), MakeArgb(0xFFFFFF, 90));
    EXPECT_EQ(EffectColor(MakeArgb(0x202020, 255), 0x11223344, true), 0x11223344u);
    EXPECT_EQ(EffectColor(MakeArgb(0x202020, 255), -1, true), MakeArgb(0xFFFFFF, 90));
}

TEST_F(DrawingTest, FillRectCoversOneLessThanItsSize) {
    FillRect(*g, MakeRect(0, 0, 10, 10), kRed);
    EXPECT_EQ(bitmap.GetPixel(0, 0), kRed);
    EXPECT_EQ(bitmap.GetPixel(8, 8), kRed);
    EXPECT_EQ(bitmap.GetPixel(9, 0), 0u);
    EXPECT_EQ(bitmap.GetPixel(0, 9), 0u);
    EXPECT_EQ(Ink(RectI{0, 0, 20, 20}).width, 9);
}

TEST_F(DrawingTest, StyledRectangleWithColourValueIsASolidOutline) {
    DrawRectStyled(*g, MakeRect(10, 10, 20, 10), static_cast<std::int64_t>(0xFF00FF00u));
    EXPECT_EQ(bitmap.GetPixel(10, 10), 0xFF00FF00u);
    EXPECT_EQ(bitmap.GetPixel(29, 19), 0xFF00FF00u);  // the outline covers 20 x 10 pixels
    EXPECT_EQ(bitmap.GetPixel(15, 15), 0u);           // not filled
    EXPECT_EQ(bitmap.GetPixel(30, 20), 0u);
}

TEST_F(DrawingTest, SunkenEdgeIsDarkAboveAndLightBelow) {
    g->Clear(0xFF808080u);
    DrawRectStyled(*g, MakeRect(10, 10, 20, 10), 1);
    EXPECT_LT(RedOf(bitmap.GetPixel(15, 10)), 0x80);
    EXPECT_GT(RedOf(bitmap.GetPixel(15, 19)), 0x80);
}

TEST_F(DrawingTest, AlignmentFourCentresBothWaysAndOneOnlyAcross) {
    const RectF box = MakeRect(0, 0, 120, 80);
    UiFont font{"宋体", 12, kRegular};
    DrawText(*g, "青禾", font, 0xFF000000u, box, 4);
    RectI ink = Ink(RectI{0, 0, 120, 80});
    ASSERT_FALSE(ink.Empty());
    EXPECT_NEAR(ink.left + ink.width / 2.0, 60, 2.5);
    EXPECT_NEAR(ink.top + ink.height / 2.0, 40, 3.5);

    g->Clear(0);
    DrawText(*g, "青禾", font, 0xFF000000u, box, 1);
    ink = Ink(RectI{0, 0, 120, 80});
    ASSERT_FALSE(ink.Empty());
    EXPECT_NEAR(ink.left + ink.width / 2.0, 60, 2.5);
    EXPECT_LT(ink.top, 6);
}

TEST_F(DrawingTest, ShadowDownRightIsDrawnOffsetByOnePixel) {
    g->Clear(0xFFFFFFFFu);
    UiFont font{"宋体", 12, kRegular};
    DrawText(*g, "I", font, 0xFF000000u, MakeRect(10, 10, 40, 20), 0, 0, 0, 0, kEffectShadowDownRight,
             0xFFFF0000u, true);
    // Somewhere right of the black stem lies the red shadow.
    bool red = false;
    for (int y = 10; y < 30; ++y)
        for (int x = 10; x < 30; ++x) {
                Argb p = bitmap.GetPixel(x, y);
                red |= RedOf(p) > 200 && GreenOf(p) < 100 && BlueOf(p) < 100;
            }
    EXPECT_TRUE(red);
}

TEST_F(DrawingTest, NineGridKeepsCornersUnscaled) {
    // A 30 x 30 image whose every pixel is distinct.
    Bitmap image(30, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) image.SetRawPixel(x, y, 0xFF000000u | (x * 8u << 16) | (y * 8u << 8) | 0x40u);
    DrawNineGrid(*g, image, MakeRect(0, 0, 100, 40), Margins{10, 10, 10, 10});
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            ASSERT_EQ(bitmap.GetPixel(x, y), image.GetPixel(x, y)) << x << "," << y;
            ASSERT_EQ(bitmap.GetPixel(90 + x, y), image.GetPixel(20 + x, y)) << x << "," << y;
            ASSERT_EQ(bitmap.GetPixel(x, 30 + y), image.GetPixel(x, 20 + y)) << x << "," << y;
            ASSERT_EQ(bitmap.GetPixel(90 + x, 30 + y), image.GetPixel(20 + x, 20 + y)) << x << "," << y;
        }
    }
    // The centre is stretched from the image's centre cell, not left empty.
    EXPECT_EQ(AlphaOf(bitmap.GetPixel(50, 20)), 255);
}

TEST_F(DrawingTest, RoundRectIsFilledInsideAndCutAtTheCorners) {
    FillRoundRect(*g, MakeRect(10, 10, 50, 30), 16, kRed);
    EXPECT_EQ(bitmap.GetPixel(30, 25), kRed);
    EXPECT_EQ(bitmap.GetPixel(10, 10), 0u);
    EXPECT_EQ(bitmap.GetPixel(30, 10), kRed);
}

TEST_F(DrawingTest, ClipLimitsDrawing) {
    SetClipRect(*g, MakeRect(0, 0, 20, 20));
    g->FillRectangle(MakeRect(0, 0, 100, 60), kRed);
    ResetClip(*g);
    EXPECT_EQ(bitmap.GetPixel(19, 19), kRed);
    EXPECT_EQ(bitmap.GetPixel(20, 5), 0u);
}

TEST(ImageTest, NonImageBytesLeaveTheImageEmpty) {
    std::unique_ptr<GraphicsDriver> driver = MakeTestGraphicsDriver();
    Bitmap out(3, 3);
    EXPECT_FALSE(driver->DecodeImage(Bytes{1, 2, 3}, out));
    EXPECT_FALSE(driver->DecodeImage(Bytes{0xFF, 0xD8, 0xFF, 0x00}, out));  // broken JPEG
    EXPECT_EQ(out.Width(), 3);
}

TEST(FontTest, SimSunResolvesToAChineseFont) {
    std::unique_ptr<GraphicsDriver> driver = MakeTestGraphicsDriver();
    EXPECT_TRUE(driver->FontFamilyExists("宋体"));
    EXPECT_FALSE(driver->FontFamilyExists("No Such Face Anywhere"));
}

}  // namespace
}  // namespace qh

namespace qh {
namespace {

// Regression: under a theme engine that reports success but leaves its
// composited text transparent (Wine's), the caption title vanished.
TEST_F(DrawingTest, CaptionGlowTextIsVisible) {
    UiFont font{"宋体", 12, kRegular};
    DrawGlowText(*g, "青禾计算器", font, MakeArgb(0x000000, 255), MakeRect(0, 0, 120, 30));
    int dark = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 120; ++x) {
            const Argb p = bitmap.GetPixel(x, y);
            dark += AlphaOf(p) > 200 && RedOf(p) < 100;
        }
    }
    EXPECT_GT(dark, 20);
}

}  // namespace
}  // namespace qh
