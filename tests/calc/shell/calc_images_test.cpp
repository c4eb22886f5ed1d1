#include "calc/shell/calc_images.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <utility>

#include "tests/toolkit/test_backend.h"
#include "toolkit/headless/headless_host.h"
#include "toolkit/image.h"
#include "toolkit/toolkit.h"

namespace qh {
namespace {

struct Expected {
    CalcImage image;
    const char* file;  // in calc/shell/art/
    int width;
    int height;
    bool jpeg;
};

// Where the windows put them: the skin under both windows, the tab pictures,
// the help badge beside a row, the line under the form, the drawer handle at
// the main window's right edge, the banner in the tab band and the logo
// across the top of the about window.
constexpr Expected kImages[] = {
    {CalcImage::Skin, "skin.jpg", 730, 510, true},
    {CalcImage::TabHousing, "tab_housing.png", 32, 32, false},
    {CalcImage::TabCar, "tab_car.png", 32, 32, false},
    {CalcImage::TabCombined, "tab_combined.png", 32, 32, false},
    {CalcImage::TabSearch, "tab_search.png", 30, 30, false},
    {CalcImage::TabAbout, "tab_about.png", 30, 30, false},
    {CalcImage::HelpIcon, "help_icon.png", 22, 18, false},
    {CalcImage::Separator, "separator.png", 108, 1, false},
    {CalcImage::ResultsStrip, "results_strip.png", 8, 293, false},
    {CalcImage::Banner, "banner.png", 100, 60, false},
    {CalcImage::AboutLogo, "about_logo.jpg", 370, 70, true},
};

// Perceived brightness 0..255 of an opaque colour.
int Brightness(Argb c) { return (299 * RedOf(c) + 587 * GreenOf(c) + 114 * BlueOf(c)) / 1000; }

class CalcImagesTest : public ::testing::Test {
protected:
    void SetUp() override { ToolkitStartup(host, *graphics); }
    void TearDown() override { ToolkitShutdown(); }
    UiImage Decoded(CalcImage which) {
        UiImage image;
        EXPECT_TRUE(image.LoadFromMemory(CalcImageBytes(which)));
        return image;
    }
    headless::HeadlessHost host;
    std::unique_ptr<GraphicsDriver> graphics = MakeTestGraphicsDriver();
};

TEST_F(CalcImagesTest, EveryImageDecodesAtTheSizeItsPlaceNeeds) {
    for (const Expected& e : kImages) {
        SCOPED_TRACE(e.file);
        const Bytes bytes = CalcImageBytes(e.image);
        ASSERT_GE(bytes.size(), 8u);
        // The skin and the logo are JPEGs (opaque, small), the rest PNG with
        // alpha.
        if (e.jpeg) {
            EXPECT_EQ(bytes[0], 0xFF);
            EXPECT_EQ(bytes[1], 0xD8);
        } else {
            EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 8),
                      (Bytes{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}));
        }
        const UiImage image = Decoded(e.image);
        EXPECT_EQ(image.Width(), e.width);
        EXPECT_EQ(image.Height(), e.height);
    }
}

TEST_F(CalcImagesTest, EachImageHoldsExactlyTheBytesOfItsCommittedFile) {
    // The program holds the files as the build embedded them: every byte, in
    // order, and each image under its own name (the three 32 x 32 tab
    // pictures cannot be told apart by size).
    for (const Expected& e : kImages) {
        SCOPED_TRACE(e.file);
        std::ifstream in(std::string(QH_CALC_ART_DIR) + "/" + e.file, std::ios::binary);
        ASSERT_TRUE(in.is_open());
        const Bytes file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        EXPECT_EQ(CalcImageBytes(e.image), file);
    }
}

TEST_F(CalcImagesTest, TabPicturesAndTheHelpBadgeStandOnATransparentGround) {
    // The pictures are drawn over the skin and over tab faces that change
    // with the state, so everything around the figure must be see-through.
    for (CalcImage which : {CalcImage::TabHousing, CalcImage::TabCar, CalcImage::TabCombined, CalcImage::TabSearch,
                            CalcImage::TabAbout, CalcImage::HelpIcon}) {
        SCOPED_TRACE(static_cast<int>(which));
        const UiImage image = Decoded(which);
        const int w = image.Width(), h = image.Height();
        EXPECT_EQ(AlphaOf(image.GetPixel(0, 0)), 0);
        EXPECT_EQ(AlphaOf(image.GetPixel(w - 1, 0)), 0);
        EXPECT_EQ(AlphaOf(image.GetPixel(0, h - 1)), 0);
        EXPECT_EQ(AlphaOf(image.GetPixel(w - 1, h - 1)), 0);
        EXPECT_EQ(AlphaOf(image.GetPixel(w / 2, h / 2)), 255);
    }
}

TEST_F(CalcImagesTest, TheSeparatorFadesOutAtBothEnds) {
    const UiImage line = Decoded(CalcImage::Separator);
    const int middle = AlphaOf(line.GetPixel(54, 0));
    EXPECT_GE(middle, 150);
    EXPECT_LE(AlphaOf(line.GetPixel(0, 0)), 10);
    EXPECT_LE(AlphaOf(line.GetPixel(107, 0)), 10);
    EXPECT_LT(AlphaOf(line.GetPixel(15, 0)), middle);
    EXPECT_LT(AlphaOf(line.GetPixel(92, 0)), middle);
}

TEST_F(CalcImagesTest, TheSkinBodyIsLightEnoughForTheResultsText) {
    // The results window writes its headings, labels and figures straight on
    // the skin, without a panel: every row it uses (window rows 100 to 440,
    // skin rows 113 to 510) stays light.
    const UiImage skin = Decoded(CalcImage::Skin);
    for (int y = 113; y < 510; y += 7) {
        for (int x = 0; x < 730; x += 9) {
            ASSERT_GE(Brightness(skin.GetPixel(x, y)), 175) << "at " << x << ", " << y;
        }
    }
    // The tab band above it is a colour of its own, darker than the body.
    EXPECT_LT(Brightness(skin.GetPixel(300, 60)), Brightness(skin.GetPixel(300, 200)) - 30);
}

TEST_F(CalcImagesTest, TheStripLeavesALightPocketForTheToolkitsArrow) {
    // The drawer bar draws its arrow in the accent colour at the middle of the
    // strip; the picture is pale there and coloured elsewhere.
    const UiImage strip = Decoded(CalcImage::ResultsStrip);
    const int middle = strip.Height() / 2;
    EXPECT_GE(Brightness(strip.GetPixel(4, middle)), 230);
    EXPECT_LT(Brightness(strip.GetPixel(4, 40)), 200);
    EXPECT_EQ(AlphaOf(strip.GetPixel(4, 40)), 255);
}

TEST_F(CalcImagesTest, TheLogoWritesTheNameInWhiteOnATealBand) {
    // The about window shows the logo at constant alpha 160 over a pale
    // ground: the band must be a clear teal, not washed out or of swapped
    // channels, and the name must stand out from it in white.
    const UiImage logo = Decoded(CalcImage::AboutLogo);
    for (auto [x, y] : {std::pair{250, 24}, std::pair{290, 8}, std::pair{200, 66}, std::pair{5, 35}}) {
        SCOPED_TRACE(::testing::Message() << "band at " << x << ", " << y);
        const Argb c = logo.GetPixel(x, y);
        EXPECT_GT(GreenOf(c), RedOf(c) + 50);
        EXPECT_GT(BlueOf(c), RedOf(c) + 30);
        EXPECT_LT(Brightness(c), 215);
    }
    // Near-white pixels: many where the name and the subtitle are written,
    // none on the empty band to the right of the name, so the text is neither
    // missing nor drawn elsewhere.
    auto whiteIn = [&](int left, int top, int right, int bottom) {
        int count = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) count += Brightness(logo.GetPixel(x, y)) >= 225 ? 1 : 0;
        }
        return count;
    };
    EXPECT_GE(whiteIn(76, 10, 205, 38), 400);
    EXPECT_EQ(whiteIn(215, 6, 290, 38), 0);
    EXPECT_GE(whiteIn(76, 47, 280, 63), 150);
}

}  // namespace
}  // namespace qh
