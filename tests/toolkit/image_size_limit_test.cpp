// Images whose headers claim more than kMaxImagePixels: small files that
// would make a decoder allocate hundreds of megabytes never decode to a
// picture over the limit on any backend, and an image exactly at the limit
// still decodes. (Wine's GDI+ sizes a GIF by its frame rather than its
// screen, so there a GIF's screen claim costs nothing and decodes small.)
#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "tests/toolkit/gif_writer.h"
#include "tests/toolkit/test_backend.h"
#include "toolkit/headless/headless_host.h"
#include "toolkit/image_header.h"
#include "toolkit/toolkit.h"

namespace qh {
namespace {

constexpr int kSide = 4096;  // kSide x kSide is exactly the limit
static_assert(static_cast<long long>(kSide) * kSide == kMaxImagePixels);

void PutBig32(Bytes& b, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) b.push_back(static_cast<std::uint8_t>(v >> shift));
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

void PutChunk(Bytes& png, const char* type, const Bytes& data) {
    PutBig32(png, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    PutBig32(png, Crc32(png.data() + start, png.size() - start));
}

// The signature and the header chunk of a PNG of one bit per pixel.
Bytes PngHeader(std::uint32_t width, std::uint32_t height) {
    Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes header;
    PutBig32(header, width);
    PutBig32(header, height);
    header.insert(header.end(), {1, 0, 0, 0, 0});  // 1-bit grey, no interlace
    PutChunk(png, "IHDR", header);
    return png;
}

// A valid black PNG of one bit per pixel, its rows stored without
// compression (deflate's stored blocks): megabytes, but built in moments.
Bytes BlackPng(std::uint32_t width, std::uint32_t height) {
    Bytes png = PngHeader(width, height);
    const std::size_t rawSize = static_cast<std::size_t>(height) * (1 + (width + 7) / 8);
    constexpr std::size_t kStoredBlock = 65535;
    Bytes data = {0x78, 0x01};
    for (std::size_t done = 0; done < rawSize;) {
        const std::size_t length = std::min(kStoredBlock, rawSize - done);
        done += length;
        data.push_back(done == rawSize ? 1 : 0);
        data.insert(data.end(), {static_cast<std::uint8_t>(length), static_cast<std::uint8_t>(length >> 8),
                                 static_cast<std::uint8_t>(~length), static_cast<std::uint8_t>(~length >> 8)});
        data.insert(data.end(), length, 0);  // filter 0 and black pixels alike
    }
    // Adler-32 of rawSize zero bytes: a = 1, b = rawSize, both mod 65521.
    PutBig32(data, static_cast<std::uint32_t>((rawSize % 65521) << 16 | 1));
    PutChunk(png, "IDAT", data);
    PutChunk(png, "IEND", {});
    return png;
}

// The header of a baseline grey JPEG of the given size whose scan ends
// after one byte: libjpeg fills the rest in and calls it a warning, so
// without a size check such a file decodes at whatever size it claims.
Bytes ShortJpeg(int width, int height) {
    Bytes b = {0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x43, 0x00};
    b.insert(b.end(), 64, 1);  // a quantization table of ones
    b.insert(b.end(), {0xFF, 0xC0, 0x00, 0x0B, 8, static_cast<std::uint8_t>(height >> 8),
                       static_cast<std::uint8_t>(height), static_cast<std::uint8_t>(width >> 8),
                       static_cast<std::uint8_t>(width), 1, 1, 0x11, 0});
    // One-code Huffman tables: DC category 0 and AC end-of-block.
    for (std::uint8_t table : {0x00, 0x10}) {
        b.insert(b.end(), {0xFF, 0xC4, 0x00, 0x14, table, 1});
        b.insert(b.end(), 15, 0);
        b.push_back(0);
    }
    b.insert(b.end(), {0xFF, 0xDA, 0x00, 0x08, 1, 1, 0x00, 0, 63, 0, 0x00, 0xFF, 0xD9});
    return b;
}

Bytes OnePixelGif(int screenWidth, int screenHeight, int frameWidth = 1, int frameHeight = 1) {
    testing_gif::Frame f;
    f.width = frameWidth;
    f.height = frameHeight;
    f.indices.assign(static_cast<std::size_t>(frameWidth) * static_cast<std::size_t>(frameHeight), 0);
    return testing_gif::WriteGif(screenWidth, screenHeight, {0xFF0000, 0x00FF00}, {f});
}

class ImageSizeLimitTest : public ::testing::Test {
protected:
    void SetUp() override { ToolkitStartup(host, *graphics); }
    void TearDown() override { ToolkitShutdown(); }
    headless::HeadlessHost host;
    std::unique_ptr<GraphicsDriver> graphics = MakeTestGraphicsDriver();
};

TEST_F(ImageSizeLimitTest, ImagesOverSixteenMegapixelsNeverDecodeOverTheLimit) {
    enum class Read { kFrames, kIcon };
    const struct {
        const char* what;
        std::function<Bytes()> bytes;
        Read read;
    } claims[] = {
        {"PNG one column over the limit", [] { return BlackPng(kSide + 1, kSide); }, Read::kFrames},
        {"PNG header of 8192 x 8192, nothing after", [] { return PngHeader(8192, 8192); }, Read::kFrames},
        {"PNG of 65536 x 65536, whose product overflows 32 bits", [] { return PngHeader(65536, 65536); }, Read::kFrames},
        {"JPEG of 8192 x 8192", [] { return ShortJpeg(8192, 8192); }, Read::kFrames},
        {"GIF screen one row over the limit", [] { return OnePixelGif(kSide, kSide + 1); }, Read::kFrames},
        {"GIF frame of 8192 x 8192 on a small screen", [] { return OnePixelGif(2, 2, 8192, 8192); }, Read::kFrames},
        {"icon image stored as a PNG of 8192 x 8192", [] { return PngHeader(8192, 8192); }, Read::kIcon},
    };
    for (const auto& c : claims) {
        const Bytes bytes = c.bytes();
        DecodedImage frames;
        Bitmap icon;
        const bool decoded = c.read == Read::kFrames ? graphics->DecodeFrames(bytes, frames)
                                                     : graphics->DecodeIconImage(bytes, icon);
        if (c.read == Read::kIcon) frames.frames.push_back(icon);
        for (const Bitmap& frame : frames.frames) {
            EXPECT_FALSE(decoded && static_cast<long long>(frame.Width()) * frame.Height() > kMaxImagePixels) << c.what;
        }
    }
    // Exactly at the limit the same kind of file still decodes.
    DecodedImage frames;
    ASSERT_TRUE(graphics->DecodeFrames(BlackPng(kSide, kSide), frames));
    EXPECT_EQ(frames.frames.front().Width(), kSide);
    EXPECT_EQ(frames.frames.front().Height(), kSide);
}

}  // namespace
}  // namespace qh

namespace qh {
namespace {

// libpng allocates each chunk's buffer at the length the chunk claims, before
// reading it: a 100-byte PNG whose text chunk claims a gigabyte cost a
// gigabyte and half a minute (found by the PNG fuzz target).
TEST(PngWithinLimits, RefusesChunksThatClaimMoreThanTheFileHolds) {
    const Bytes whole = BlackPng(3, 2);
    Bytes text = PngHeader(3, 2);
    PutBig32(text, 1006632997);  // a tEXt chunk of almost a gigabyte...
    text.insert(text.end(), {'t', 'E', 'X', 't', 'd', 'a', 't', 'e', 0, '2', '0'});  // ...holding a few bytes
    const Bytes cutHeader(whole.begin(), whole.begin() + 40);  // ends inside the IDAT chunk's header
    const struct {
        const Bytes* bytes;
        bool allowed;
    } cases[] = {{&whole, true}, {&text, false}, {&cutHeader, false}};
    for (const auto& c : cases) EXPECT_EQ(PngWithinLimits(*c.bytes), c.allowed) << c.bytes->size();
}

}  // namespace
}  // namespace qh
