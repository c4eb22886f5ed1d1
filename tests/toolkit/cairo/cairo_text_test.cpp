// Text styles and trimming of the cairo backend. (Under Wine the GDI+
// backend draws neither bars nor word trimming, so these run on Linux only.)
#include <gtest/gtest.h>

#include "tests/toolkit/drawing_fixture.h"
#include "toolkit/draw.h"

namespace qh {
namespace {

class CairoTextTest : public DrawingFixture {
protected:
    CairoTextTest() : DrawingFixture(120, 40) {}
};

// The number of inked pixels in row y between x0 and x1.
int RowInk(const Bitmap& b, int y, int x0, int x1) {
    int n = 0;
    for (int x = x0; x < x1; ++x) n += AlphaOf(b.GetPixel(x, y)) > 100 ? 1 : 0;
    return n;
}

TEST_F(CairoTextTest, UnderlineAndStrikeoutDrawBarsBelowAndThroughTheText) {
    const RectF box = MakeRect(0, 0, 120, 40);
    auto widestRow = [&](const RectI& ink) {
        int widest = 0;
        for (int y = ink.top; y < ink.top + ink.height; ++y) widest = std::max(widest, RowInk(bitmap, y, 0, 120));
        return widest;
    };
    // Upright strokes only: no row of the plain text is inked across.
    DrawText(*g, "IIII", UiFont{"宋体", 16, kRegular}, 0xFF000000u, box);
    const RectI plain = Ink(RectI{0, 0, 120, 40});
    ASSERT_FALSE(plain.Empty());
    EXPECT_LT(widestRow(plain), plain.width * 2 / 3);

    g->Clear(0);
    DrawText(*g, "IIII", UiFont{"宋体", 16, kUnderline}, 0xFF000000u, box);
    const RectI under = Ink(RectI{0, 0, 120, 40});
    EXPECT_GT(under.top + under.height, plain.top + plain.height);  // below the baseline
    EXPECT_GE(RowInk(bitmap, under.top + under.height - 1, 0, 120), plain.width * 4 / 5);

    g->Clear(0);
    DrawText(*g, "IIII", UiFont{"宋体", 16, kStrikeout}, 0xFF000000u, box);
    const RectI struck = Ink(RectI{0, 0, 120, 40});
    EXPECT_EQ(struck.top + struck.height, plain.top + plain.height);  // within the letters
    EXPECT_GE(widestRow(struck), plain.width * 4 / 5);
}

TEST_F(CairoTextTest, WordTrimmingCutsAnUnwrappedLineAtASpace) {
    const UiFont font{"宋体", 12, kRegular};
    const RectF box = MakeRect(0, 0, 60, 20);
    const float firstWord = MeasureText(*g, "ab", font, MakeRect(0, 0, 200, 20)).width;
    DrawText(*g, "ab cdefghijkl", font, 0xFF000000u, box, 0, 1, 0, kFormatNoWrap);
    const RectI byCharacter = Ink(RectI{0, 0, 120, 20});
    g->Clear(0);
    DrawText(*g, "ab cdefghijkl", font, 0xFF000000u, box, 0, 2, 0, kFormatNoWrap);
    const RectI byWord = Ink(RectI{0, 0, 120, 20});
    ASSERT_FALSE(byWord.Empty());
    EXPECT_LE(byWord.left + byWord.width, firstWord + 2);
    EXPECT_GT(byCharacter.left + byCharacter.width, firstWord + 10);
}

}  // namespace
}  // namespace qh
