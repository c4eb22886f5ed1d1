// UiImage from the handles only Windows has: HICON (with alpha, or with a
// mask alone) and HBITMAP, decoded through GDI+ under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/toolkit/test_backend.h"
#include "toolkit/image.h"
#include "toolkit/toolkit.h"
#include "toolkit/win32/win32_host.h"
#include "toolkit/win32/top_down_dib.h"

namespace qh {
namespace {

class Win32ImageTest : public ::testing::Test {
protected:
    void SetUp() override { ToolkitStartup(host, *graphics); }
    void TearDown() override { ToolkitShutdown(); }
    win32::Win32Host host;
    std::unique_ptr<GraphicsDriver> graphics = MakeTestGraphicsDriver();
};

// A 32-bit top-down DIB section whose pixels are pixel(x, y) (0xAARRGGBB).
template <typename Pixel>
HBITMAP MakeDib(int width, int height, Pixel pixel) {
    BITMAPINFO info = win32::TopDownDibInfo(width, height);
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib) return nullptr;
    auto* p = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) p[y * width + x] = pixel(x, y);
    }
    GdiFlush();
    return dib;
}

// A mask bitmap: set bits (white) where masked(x, y) holds.
template <typename Masked>
HBITMAP MakeMask(int width, int height, Masked masked) {
    std::vector<std::uint8_t> rows(static_cast<std::size_t>((width + 15) / 16 * 2 * height), 0);
    const int stride = (width + 15) / 16 * 2;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (masked(x, y)) rows[static_cast<std::size_t>(y * stride + x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
    }
    return CreateBitmap(width, height, 1, 1, rows.data());
}

HICON MakeIcon(HBITMAP color, HBITMAP mask) {
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = color;
    info.hbmMask = mask;
    return CreateIconIndirect(&info);
}

TEST_F(Win32ImageTest, IconWithAlphaKeepsItsTransparency) {
    HBITMAP color = MakeDib(16, 16, [](int x, int y) -> std::uint32_t {
        if (y == 0 && x == 0) return 0xFFFF0000u;
        if (y == 0 && x == 1) return 0x80008000u;  // half-transparent green (icons hold straight alpha)
        if (y == 0 && x == 2) return 0x00000000u;
        return 0xFF0000FFu;
    });
    HBITMAP mask = MakeMask(16, 16, [](int, int) { return false; });
    HICON icon = MakeIcon(color, mask);
    ASSERT_NE(icon, nullptr);
    UiImage image;
    ASSERT_TRUE(image.LoadFromIcon(reinterpret_cast<UiImage::NativeHandle>(icon)));
    EXPECT_EQ(image.Width(), 16);
    EXPECT_EQ(image.GetPixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(AlphaOf(image.GetPixel(1, 0)), 0x80);
    EXPECT_EQ(AlphaOf(image.GetPixel(2, 0)), 0);
    EXPECT_EQ(image.GetPixel(15, 15), 0xFF0000FFu);
    // The icon stays the caller's, still usable.
    ICONINFO info{};
    EXPECT_TRUE(GetIconInfo(icon, &info));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
    DeleteObject(color);
    DeleteObject(mask);
}

TEST_F(Win32ImageTest, IconWithoutAlphaTakesItsMask) {
    // A 32-bit colour bitmap whose alpha is all zero, as icons made before
    // alpha existed are: the mask alone says which pixels show.
    HBITMAP color = MakeDib(16, 16, [](int x, int) { return x < 8 ? 0x00FF0000u : 0x0000FF00u; });
    HBITMAP mask = MakeMask(16, 16, [](int x, int y) { return x >= 12 && y >= 12; });
    HICON icon = MakeIcon(color, mask);
    ASSERT_NE(icon, nullptr);
    UiImage image;
    ASSERT_TRUE(image.LoadFromIcon(reinterpret_cast<UiImage::NativeHandle>(icon)));
    EXPECT_EQ(image.GetPixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(image.GetPixel(11, 15), 0xFF00FF00u);
    EXPECT_EQ(AlphaOf(image.GetPixel(12, 12)), 0);
    EXPECT_EQ(AlphaOf(image.GetPixel(15, 15)), 0);
    DestroyIcon(icon);
    DeleteObject(color);
    DeleteObject(mask);

    // The system's own icons load too.
    ASSERT_TRUE(image.LoadFromIcon(reinterpret_cast<UiImage::NativeHandle>(LoadIconW(nullptr, MAKEINTRESOURCEW(32512)))));
    EXPECT_GT(image.Width(), 0);
    EXPECT_FALSE(image.LoadFromIcon(0));
    EXPECT_TRUE(image.Empty());
}

TEST_F(Win32ImageTest, BitmapHandlesAreTakenAsOpaquePictures) {
    HBITMAP dib = MakeDib(3, 2, [](int x, int y) -> std::uint32_t {
        static constexpr std::uint32_t kColors[2][3] = {{0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu},
                                                         {0xFF000000u, 0xFFFFFFFFu, 0xFF808080u}};
        return kColors[y][x];
    });
    ASSERT_NE(dib, nullptr);
    UiImage image;
    ASSERT_TRUE(image.LoadFromHbitmap(reinterpret_cast<UiImage::NativeHandle>(dib)));
    EXPECT_EQ(image.Width(), 3);
    EXPECT_EQ(image.Height(), 2);
    EXPECT_EQ(image.GetPixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(image.GetPixel(2, 0), 0xFF0000FFu);
    EXPECT_EQ(image.GetPixel(1, 1), 0xFFFFFFFFu);
    EXPECT_EQ(image.GetPixel(2, 1), 0xFF808080u);
    DeleteObject(dib);
    EXPECT_FALSE(image.LoadFromHbitmap(0));
    EXPECT_TRUE(image.Empty());
}

}  // namespace
}  // namespace qh
