#include "toolkit/image.h"

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "runtime/system.h"
#include "tests/toolkit/test_backend.h"
#include "toolkit/headless/headless_host.h"
#include "toolkit/toolkit.h"

namespace qh {
namespace {

// A 2 x 1 PNG: a red pixel, then a blue one.
const Bytes kRedBluePng = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00, 0x00, 0xF4, 0x22, 0x7F, 0x8A, 0x00, 0x00, 0x00, 0x0E, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0xF8, 0xCF, 0xC0, 0x00, 0x42, 0xFF, 0x01, 0x0F, 0xF9, 0x03, 0xFD, 0x85, 0x11, 0x99, 0x76, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};

constexpr Argb kRed = 0xFFFF0000u;
constexpr Argb kBlue = 0xFF0000FFu;

class ImageFileTest : public ::testing::Test {
protected:
    void SetUp() override { ToolkitStartup(host, *graphics); }
    void TearDown() override { ToolkitShutdown(); }
    headless::HeadlessHost host;
    std::unique_ptr<GraphicsDriver> graphics = MakeTestGraphicsDriver();
};

TEST_F(ImageFileTest, LoadsAPngFromMemoryAndFromAFile) {
    UiImage image;
    ASSERT_TRUE(image.LoadFromMemory(kRedBluePng));
    EXPECT_EQ(image.Width(), 2);
    EXPECT_EQ(image.GetPixel(0, 0), kRed);
    EXPECT_EQ(image.GetPixel(1, 0), kBlue);

    const std::filesystem::path file = std::filesystem::path(ModuleDirectory()) / "image_test_skin.png";
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(kRedBluePng.data()),
                                                static_cast<std::streamsize>(kRedBluePng.size()));
    UiImage fromFile;
    EXPECT_TRUE(fromFile.LoadFromFile(file.string()));
    EXPECT_EQ(fromFile.GetPixel(1, 0), kBlue);
    std::filesystem::remove(file);
    EXPECT_FALSE(fromFile.LoadFromFile(file.string()));
    EXPECT_TRUE(fromFile.Empty());
}

// A 2 x 3 image whose pixels are numbered row by row, 1 to 6:
//   1 2
//   3 4
//   5 6
UiImage Numbered() {
    UiImage image;
    image.CreateBitmap(2, 3);
    for (int i = 0; i < 6; ++i) image.Pixels().SetRawPixel(i % 2, i / 2, static_cast<std::uint32_t>(i + 1));
    return image;
}

std::vector<std::uint32_t> Rows(const UiImage& image) {
    std::vector<std::uint32_t> out;
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) out.push_back(image.Pixels().RawPixel(x, y));
    }
    return out;
}

TEST(ImageRotateFlipTest, QuarterTurnsClockwiseThenMirror) {
    const std::vector<std::vector<std::uint32_t>> expected = {
        {1, 2, 3, 4, 5, 6},  // 0: as it is
        {5, 3, 1, 6, 4, 2},  // 1: a quarter turn clockwise, 3 x 2
        {6, 5, 4, 3, 2, 1},  // 2: half a turn
        {2, 4, 6, 1, 3, 5},  // 3: three quarter turns, 3 x 2
        {2, 1, 4, 3, 6, 5},  // 4: mirrored left to right
        {1, 3, 5, 2, 4, 6},  // 5: a quarter turn, then mirrored
        {5, 6, 3, 4, 1, 2},  // 6: half a turn and mirrored: upside down
        {6, 4, 2, 5, 3, 1},  // 7: three quarter turns, then mirrored
    };
    for (int type = 0; type < 8; ++type) {
        UiImage image = Numbered();
        ASSERT_TRUE(image.RotateFlip(type));
        EXPECT_EQ(image.Width(), type % 2 ? 3 : 2) << type;
        EXPECT_EQ(Rows(image), expected[static_cast<size_t>(type)]) << "type " << type;
    }
    UiImage image = Numbered();
    EXPECT_FALSE(image.RotateFlip(8));
    EXPECT_EQ(Rows(image), expected[0]);
}

}  // namespace
}  // namespace qh
