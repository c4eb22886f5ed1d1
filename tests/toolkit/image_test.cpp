#include "toolkit/image.h"

#include <filesystem>
#include <fstream>
#include <functional>

#include <gtest/gtest.h>

#include "runtime/system.h"
#include "tests/toolkit/gif_writer.h"
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

// --- Animated GIF ---

using testing_gif::Frame;
using testing_gif::WriteGif;

constexpr std::uint32_t kGifRed = 0xFF0000, kGifGreen = 0x00FF00, kGifBlue = 0x0000FF;

// A frame of one colour index over the whole canvas.
Frame SolidFrame(int width, int height, std::uint8_t index, int delay) {
    Frame f;
    f.width = width;
    f.height = height;
    f.indices.assign(static_cast<std::size_t>(width * height), index);
    f.delay = delay;
    return f;
}

TEST_F(ImageFileTest, AnimatedGifKeepsEveryFrameWithItsDelay) {
    const Bytes gif = WriteGif(4, 3, {kGifRed, kGifGreen, kGifBlue},
                               {SolidFrame(4, 3, 0, 10), SolidFrame(4, 3, 1, 20), SolidFrame(4, 3, 2, 30)});
    UiImage image;
    ASSERT_TRUE(image.LoadFromMemory(gif));
    EXPECT_EQ(image.Width(), 4);
    EXPECT_EQ(image.Height(), 3);
    EXPECT_EQ(image.FrameCount(), 3);
    EXPECT_EQ(image.FrameDelays(), (std::vector<int>{10, 20, 30}));
    EXPECT_EQ(image.GetPixel(3, 2), kRed);
    ASSERT_TRUE(image.SelectFrame(2));
    EXPECT_EQ(image.GetPixel(3, 2), kBlue);
    ASSERT_TRUE(image.SelectFrame(1));
    EXPECT_EQ(image.GetPixel(0, 0), 0xFF00FF00u);

    // No such frame: nothing changes.
    EXPECT_FALSE(image.SelectFrame(3));
    EXPECT_FALSE(image.SelectFrame(-1));
    EXPECT_EQ(image.SelectedFrame(), 1);
    EXPECT_EQ(image.GetPixel(0, 0), 0xFF00FF00u);

    // A quarter turn turns every frame.
    ASSERT_TRUE(image.RotateFlip(1));
    ASSERT_TRUE(image.SelectFrame(2));
    EXPECT_EQ(image.Width(), 3);
    EXPECT_EQ(image.GetPixel(2, 3), kBlue);
}

TEST_F(ImageFileTest, GifFramesComposeOverTheOnesBefore) {
    // Frame 2 covers a 3 x 2 patch at (2, 1); its index 3 is transparent, so
    // the red of frame 1 shows through there.
    Frame patch;
    patch.left = 2;
    patch.top = 1;
    patch.width = 3;
    patch.height = 2;
    patch.indices = {1, 3, 1, 2, 2, 3};
    patch.transparent = 3;
    patch.disposal = 1;  // leave it in place
    Frame first = SolidFrame(6, 4, 0, 5);
    first.disposal = 1;
    const Bytes gif = WriteGif(6, 4, {kGifRed, kGifGreen, kGifBlue, 0x123456}, {first, patch});
    UiImage image;
    ASSERT_TRUE(image.LoadFromMemory(gif));
    ASSERT_EQ(image.FrameCount(), 2);
    ASSERT_TRUE(image.SelectFrame(1));
    EXPECT_EQ(image.GetPixel(0, 0), kRed);
    EXPECT_EQ(image.GetPixel(2, 1), 0xFF00FF00u);
    EXPECT_EQ(image.GetPixel(3, 1), kRed);
    EXPECT_EQ(image.GetPixel(4, 1), 0xFF00FF00u);
    EXPECT_EQ(image.GetPixel(2, 2), kBlue);
    EXPECT_EQ(image.GetPixel(4, 2), kRed);
    EXPECT_EQ(image.GetPixel(5, 3), kRed);

    // The selected frame is what gets drawn.
    Bitmap target(6, 4);
    graphics->Open(target)->DrawImage(image.Pixels(), RectF{0, 0, 6, 4}, RectF{0, 0, 6, 4});
    EXPECT_EQ(target.GetPixel(2, 2), kBlue);
    EXPECT_EQ(target.GetPixel(3, 1), kRed);
}

// Colour index of a test picture: runs, alternating pixels and noise by
// rows, so that the compressor finds long strings, meets codes it has just
// defined (whose strings begin and end differently) and fills its dictionary.
std::uint8_t PatternIndex(int x, int y, int colors) {
    if (y % 3 == 0) return static_cast<std::uint8_t>((x / 5) % colors);
    if (y % 3 == 1) return static_cast<std::uint8_t>((x + y) % 2 + (y / 3) % (colors - 1));
    const std::uint32_t h = static_cast<std::uint32_t>(x) * 2654435761u ^ static_cast<std::uint32_t>(y) * 40503u;
    return static_cast<std::uint8_t>((h >> 13) % static_cast<std::uint32_t>(colors));
}

TEST_F(ImageFileTest, CompressedGifsDecodeToTheExactPixels) {
    struct Case {
        int width, height, colors;
        bool interlaced;
    };
    // 256 colours on 120 x 90 fill the 12-bit dictionary several times;
    // four colours start at 3-bit codes; the interlaced one stores its rows
    // in four passes.
    for (const Case c : {Case{120, 90, 256, false}, Case{37, 21, 4, false}, Case{31, 19, 16, true}}) {
        std::vector<std::uint32_t> colors;
        for (int i = 0; i < c.colors; ++i) colors.push_back(static_cast<std::uint32_t>(i) * 0x010307u + 0x102030u);
        Frame f;
        f.width = c.width;
        f.height = c.height;
        f.interlaced = c.interlaced;
        for (int y = 0; y < c.height; ++y) {
            for (int x = 0; x < c.width; ++x) f.indices.push_back(PatternIndex(x, y, c.colors));
        }
        UiImage image;
        ASSERT_TRUE(image.LoadFromMemory(WriteGif(c.width, c.height, colors, {f}))) << c.width;
        EXPECT_EQ(image.FrameCount(), 1);
        int wrong = 0;
        for (int y = 0; y < c.height; ++y) {
            for (int x = 0; x < c.width; ++x) {
                const Argb want = 0xFF000000u | (colors[PatternIndex(x, y, c.colors)] & 0xFFFFFFu);
                wrong += image.GetPixel(x, y) != want;
            }
        }
        EXPECT_EQ(wrong, 0) << c.width << " x " << c.height;
    }
}

TEST_F(ImageFileTest, StillImagesHaveOneFrameAndNoDelays) {
    UiImage image;
    EXPECT_EQ(image.FrameCount(), 0);
    EXPECT_FALSE(image.SelectFrame(0));
    ASSERT_TRUE(image.LoadFromMemory(kRedBluePng));
    EXPECT_EQ(image.FrameCount(), 1);
    EXPECT_TRUE(image.FrameDelays().empty());
    EXPECT_TRUE(image.SelectFrame(0));
    EXPECT_FALSE(image.SelectFrame(1));
    EXPECT_EQ(image.GetPixel(1, 0), kBlue);

    // Loading a still picture over an animation forgets the frames.
    ASSERT_TRUE(image.LoadFromMemory(WriteGif(2, 2, {kGifRed, kGifBlue}, {SolidFrame(2, 2, 0, 7), SolidFrame(2, 2, 1, 7)})));
    ASSERT_TRUE(image.SelectFrame(1));
    ASSERT_TRUE(image.LoadFromMemory(kRedBluePng));
    EXPECT_EQ(image.FrameCount(), 1);
    EXPECT_EQ(image.SelectedFrame(), 0);
}

// --- Icons ---

void Put32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// An icon image as an .ico file stores it: a bottom-up DIB of bits per pixel
// (1, 4, 8: pixel gives the palette index; 24, 32: 0xAARRGGBB) followed by
// its AND mask (masked pixels are transparent).
Bytes IconDib(int side, int bits, const std::vector<std::uint32_t>& palette,
              const std::function<std::uint32_t(int, int)>& pixel, const std::function<bool(int, int)>& masked) {
    Bytes b;
    for (std::uint32_t v : {40u, static_cast<std::uint32_t>(side), static_cast<std::uint32_t>(side * 2)}) Put32(b, v);
    b.push_back(1), b.push_back(0);
    b.push_back(static_cast<std::uint8_t>(bits)), b.push_back(0);
    for (std::uint32_t v : {0u, 0u, 0u, 0u, static_cast<std::uint32_t>(palette.size()), 0u}) Put32(b, v);
    for (std::uint32_t c : palette) Put32(b, c & 0xFFFFFFu);
    const std::size_t colorStride = (static_cast<std::size_t>(side) * bits + 31) / 32 * 4;
    const std::size_t maskStride = (static_cast<std::size_t>(side) + 31) / 32 * 4;
    for (int y = side - 1; y >= 0; --y) {
        Bytes row(colorStride, 0);
        for (int x = 0; x < side; ++x) {
            const std::uint32_t v = pixel(x, y);
            if (bits <= 8) {
                const int bit = x * bits;
                row[static_cast<std::size_t>(bit / 8)] |= static_cast<std::uint8_t>(v << (8 - bits - bit % 8));
            } else {
                for (int i = 0; i < bits / 8; ++i) row[static_cast<std::size_t>(x * bits / 8 + i)] = static_cast<std::uint8_t>(v >> (8 * i));
            }
        }
        b.insert(b.end(), row.begin(), row.end());
    }
    for (int y = side - 1; y >= 0; --y) {
        Bytes row(maskStride, 0);
        for (int x = 0; x < side; ++x) {
            if (masked(x, y)) row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

struct IcoEntry {
    int side;
    int bits;
    Bytes data;
};

Bytes WriteIco(const std::vector<IcoEntry>& entries) {
    Bytes b = {0, 0, 1, 0, static_cast<std::uint8_t>(entries.size()), 0};
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * entries.size());
    for (const IcoEntry& e : entries) {
        b.push_back(static_cast<std::uint8_t>(e.side & 0xFF));
        b.push_back(static_cast<std::uint8_t>(e.side & 0xFF));
        b.insert(b.end(), {0, 0, 1, 0, static_cast<std::uint8_t>(e.bits), 0});
        Put32(b, static_cast<std::uint32_t>(e.data.size()));
        Put32(b, offset);
        offset += static_cast<std::uint32_t>(e.data.size());
    }
    for (const IcoEntry& e : entries) b.insert(b.end(), e.data.begin(), e.data.end());
    return b;
}

bool NoMask(int, int) { return false; }

// A 32-bit icon image of one colour.
IcoEntry SolidIcon(int side, std::uint32_t argb) {
    return {side, 32, IconDib(side, 32, {}, [argb](int, int) { return argb; }, NoMask)};
}

TEST_F(ImageFileTest, IconBytesGiveTheSixteenPixelImageWithItsAlpha) {
    // Opaque red, half-transparent green and transparent pixels in the top
    // row, black at the bottom left, white elsewhere.
    auto pixel = [](int x, int y) -> std::uint32_t {
        if (y == 0 && x == 0) return 0xFFFF0000u;
        if (y == 0 && x == 1) return 0x8000FF00u;
        if (y == 0 && x == 2) return 0x00000000u;
        if (y == 15 && x == 0) return 0xFF000000u;
        return 0xFFFFFFFFu;
    };
    const Bytes ico = WriteIco({SolidIcon(32, 0xFF0000FFu), {16, 32, IconDib(16, 32, {}, pixel, NoMask)}, SolidIcon(48, 0xFF0000FFu)});
    UiImage image;
    ASSERT_TRUE(image.LoadFromIconBytes(ico));
    EXPECT_EQ(image.Width(), 16);
    EXPECT_EQ(image.Height(), 16);
    EXPECT_EQ(image.GetPixel(0, 0), kRed);
    EXPECT_EQ(AlphaOf(image.GetPixel(1, 0)), 0x80);
    EXPECT_EQ(GreenOf(image.GetPixel(1, 0)), 0xFF);
    EXPECT_EQ(AlphaOf(image.GetPixel(2, 0)), 0);
    EXPECT_EQ(image.GetPixel(0, 15), 0xFF000000u);
    EXPECT_EQ(image.GetPixel(8, 8), 0xFFFFFFFFu);
    EXPECT_EQ(image.FrameCount(), 1);
}

TEST_F(ImageFileTest, IconMasksMakePixelsTransparentAtEveryDepth) {
    // The left half shows palette colour 1 (or red), the right half colour 0
    // (or white); the top-left 4 x 4 pixels are masked out.
    auto masked = [](int x, int y) { return x < 4 && y < 4; };
    for (int bits : {1, 4, 8, 24}) {
        const std::vector<std::uint32_t> palette =
            bits == 1 ? std::vector<std::uint32_t>{0xFFFFFF, 0x000000} : bits == 24 ? std::vector<std::uint32_t>{}
                                                                                  : std::vector<std::uint32_t>{0xFFFFFF, 0xFF0000};
        auto pixel = [bits](int x, int) -> std::uint32_t {
            if (bits == 24) return x < 8 ? 0xFF0000u : 0xFFFFFFu;
            return x < 8 ? 1u : 0u;
        };
        const Argb left = bits == 1 ? 0xFF000000u : kRed;
        UiImage image;
        ASSERT_TRUE(image.LoadFromIconBytes(WriteIco({{16, bits, IconDib(16, bits, palette, pixel, masked)}}))) << bits;
        EXPECT_EQ(image.Width(), 16);
        EXPECT_EQ(AlphaOf(image.GetPixel(0, 0)), 0) << bits;
        EXPECT_EQ(AlphaOf(image.GetPixel(3, 3)), 0) << bits;
        EXPECT_EQ(image.GetPixel(4, 3), left) << bits;
        EXPECT_EQ(image.GetPixel(7, 15), left) << bits;
        EXPECT_EQ(image.GetPixel(8, 0), 0xFFFFFFFFu) << bits;
        EXPECT_EQ(image.GetPixel(15, 15), 0xFFFFFFFFu) << bits;
    }
}

TEST_F(ImageFileTest, IconWithoutSixteenPixelsTakesTheNearestLargerImage) {
    UiImage image;
    ASSERT_TRUE(image.LoadFromIconBytes(WriteIco({SolidIcon(48, 0xFF0000FFu), SolidIcon(8, 0xFF00FF00u), SolidIcon(32, 0xFFFF0000u)})));
    EXPECT_EQ(image.Width(), 32);
    EXPECT_EQ(image.GetPixel(31, 31), kRed);
    ASSERT_TRUE(image.LoadFromIconBytes(WriteIco({SolidIcon(8, 0xFF00FF00u)})));
    EXPECT_EQ(image.Width(), 8);
    // Of two 16 x 16 images the one with more colours.
    const Bytes fewColors = IconDib(16, 4, {0x0000FF}, [](int, int) { return 0u; }, NoMask);
    ASSERT_TRUE(image.LoadFromIconBytes(WriteIco({{16, 4, fewColors}, SolidIcon(16, 0xFFFF0000u)})));
    EXPECT_EQ(image.GetPixel(0, 0), kRed);
    // An image stored as PNG, as large icons are.
    ASSERT_TRUE(image.LoadFromIconBytes(WriteIco({{2, 32, kRedBluePng}})));
    EXPECT_EQ(image.GetPixel(0, 0), kRed);
    EXPECT_EQ(image.GetPixel(1, 0), kBlue);
}

TEST_F(ImageFileTest, BrokenIconsLeaveTheImageEmpty) {
    const Bytes good = WriteIco({SolidIcon(16, 0xFFFF0000u)});
    Bytes pastTheEnd = good;
    pastTheEnd[6 + 15] = 0x7F;  // the image's offset points far outside the file
    Bytes noImages = good;
    noImages[4] = 0;
    Bytes cut = good;
    cut.resize(6 + 16 + 40 + 100);
    cut[6 + 8] = 100 + 40;  // the directory agrees with the cut size
    cut[6 + 9] = 0;
    Bytes notAnIcon = good;
    notAnIcon[2] = 2;  // a cursor file
    for (const Bytes& bad : {Bytes{}, pastTheEnd, noImages, cut, notAnIcon, kRedBluePng}) {
        UiImage image;
        ASSERT_TRUE(image.LoadFromIconBytes(good));
        EXPECT_FALSE(image.LoadFromIconBytes(bad));
        EXPECT_TRUE(image.Empty());
    }
}

}  // namespace
}  // namespace qh
