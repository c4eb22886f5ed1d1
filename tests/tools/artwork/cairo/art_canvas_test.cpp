#include "tools/artwork/cairo/art_canvas.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "toolkit/cairo/cairo_graphics.h"
#include "toolkit/headless/headless_host.h"
#include "toolkit/image.h"
#include "toolkit/toolkit.h"

namespace qh::art {
namespace {

class ArtCanvasTest : public ::testing::Test {
protected:
    void SetUp() override { ToolkitStartup(host, graphics); }
    void TearDown() override {
        ToolkitShutdown();
        std::filesystem::remove(path);
    }
    // What the toolkit decodes from the file the canvas wrote.
    UiImage Reread() {
        std::ifstream in(path, std::ios::binary);
        const Bytes bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        UiImage image;
        EXPECT_TRUE(image.LoadFromMemory(bytes));
        return image;
    }
    headless::HeadlessHost host;
    cairo::CairoDriver graphics;
    std::string path = (std::filesystem::temp_directory_path() /
                        ("art_canvas_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed())))
                           .string();
};

bool Near(Argb c, int r, int g, int b, int tolerance) {
    return std::abs(RedOf(c) - r) <= tolerance && std::abs(GreenOf(c) - g) <= tolerance &&
           std::abs(BlueOf(c) - b) <= tolerance;
}

TEST_F(ArtCanvasTest, AJpegKeepsEachColourInItsOwnChannel) {
    // cairo holds pixels as 32-bit words; the writer must hand libjpeg red,
    // green and blue in that order, or the teal skin would come out purple.
    ArtCanvas canvas(32, 16, true);
    cairo_t* cr = canvas.Cr();
    const Paint blocks[] = {{0xE03020}, {0x20C040}, {0x3050E0}, {0xFFFFFF}};
    for (int i = 0; i < 4; ++i) {
        cairo_rectangle(cr, i * 8, 0, 8, 16);
        SetColor(cr, blocks[i]);
        cairo_fill(cr);
    }
    ASSERT_TRUE(canvas.WriteJpeg(path, 95));
    const UiImage image = Reread();
    ASSERT_EQ(image.Width(), 32);
    ASSERT_EQ(image.Height(), 16);
    EXPECT_TRUE(Near(image.GetPixel(4, 8), 0xE0, 0x30, 0x20, 12));
    EXPECT_TRUE(Near(image.GetPixel(12, 8), 0x20, 0xC0, 0x40, 12));
    EXPECT_TRUE(Near(image.GetPixel(20, 8), 0x30, 0x50, 0xE0, 12));
    EXPECT_TRUE(Near(image.GetPixel(28, 8), 0xFF, 0xFF, 0xFF, 4));
}

TEST_F(ArtCanvasTest, WritingToAFolderThatDoesNotExistFails) {
    ArtCanvas jpeg(4, 4, true), png(4, 4);
    const std::string nowhere = path + "/missing/picture";
    EXPECT_FALSE(jpeg.WriteJpeg(nowhere, 90));
    EXPECT_FALSE(png.WritePng(nowhere));
}

TEST_F(ArtCanvasTest, TheGrainMarkStaysInsideItsBox) {
    // The icons place the mark in a box of their own; a stroke that left it
    // would be cut off at the icon's edge or run into the badge's rim.
    constexpr double kBox = 20, kStroke = 2;
    ArtCanvas canvas(40, 40);
    SetColor(canvas.Cr(), {0x000000});
    GrainMark(canvas.Cr(), 10, 10, kBox, kStroke);
    ASSERT_TRUE(canvas.WritePng(path));
    const UiImage image = Reread();
    int inked = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            if (AlphaOf(image.GetPixel(x, y)) == 0) continue;
            ++inked;
            EXPECT_TRUE(x >= 9 && x < 31 && y >= 9 && y < 31) << "ink at " << x << ", " << y;
        }
    }
    EXPECT_GT(inked, 60);  // five strokes, not an empty picture
}

TEST(NoiseTest, ItIsTheSameForTheSameSeedUnbiasedAndWithinRange) {
    Noise a(7), b(7), other(8);
    double sum = 0;
    bool differs = false;
    constexpr int kSamples = 100000;
    for (int i = 0; i < kSamples; ++i) {
        const double v = a.Next();
        ASSERT_EQ(v, b.Next());
        differs = differs || v != other.Next();
        ASSERT_GE(v, -1.0);
        ASSERT_LT(v, 1.0);
        sum += v;
    }
    EXPECT_TRUE(differs);
    // The texture adds it to every pixel; a bias would tint the whole skin.
    EXPECT_LT(std::abs(sum / kSamples), 0.01);
}

}  // namespace
}  // namespace qh::art
