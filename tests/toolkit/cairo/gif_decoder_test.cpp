// GIF through giflib on what the shared image tests do not
// reach: the disposals that restore, deferred dictionary clears, cut and
// corrupted files, and sizes that would exhaust memory.
#include "toolkit/cairo/gif_decoder.h"

#include <gtest/gtest.h>

#include "tests/toolkit/gif_writer.h"

namespace qh::cairo {
namespace {

using testing_gif::Frame;
using testing_gif::WriteGif;

const std::vector<std::uint32_t> kColors = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

Frame Solid(int left, int top, int width, int height, std::uint8_t index, int disposal) {
    Frame f;
    f.left = left;
    f.top = top;
    f.width = width;
    f.height = height;
    f.indices.assign(static_cast<std::size_t>(width * height), index);
    f.disposal = disposal;
    return f;
}

// A 4 x 4 red canvas, then a green 2 x 2 patch at (1, 1) with the given
// disposal, then a blue pixel at (3, 3).
DecodedImage PatchThenPixel(int disposal) {
    const Bytes gif = WriteGif(4, 4, kColors, {Solid(0, 0, 4, 4, 0, 1), Solid(1, 1, 2, 2, 1, disposal), Solid(3, 3, 1, 1, 2, 0)});
    DecodedImage out;
    EXPECT_TRUE(DecodeGif(gif, out));
    EXPECT_EQ(out.frames.size(), 3u);
    return out;
}

TEST(GifDecoderTest, DisposalsDecideWhatTheNextFrameStartsFrom) {
    const DecodedImage kept = PatchThenPixel(1);
    EXPECT_EQ(kept.frames[1].GetPixel(1, 1), 0xFF00FF00u);
    EXPECT_EQ(kept.frames[2].GetPixel(1, 1), 0xFF00FF00u);
    EXPECT_EQ(kept.frames[2].GetPixel(3, 3), 0xFF0000FFu);

    const DecodedImage cleared = PatchThenPixel(2);  // restore to the (transparent) background
    EXPECT_EQ(cleared.frames[1].GetPixel(2, 2), 0xFF00FF00u);
    EXPECT_EQ(cleared.frames[2].GetPixel(1, 1), 0u);
    EXPECT_EQ(cleared.frames[2].GetPixel(2, 2), 0u);
    EXPECT_EQ(cleared.frames[2].GetPixel(0, 0), 0xFFFF0000u);

    const DecodedImage restored = PatchThenPixel(3);  // restore what was there before
    EXPECT_EQ(restored.frames[1].GetPixel(2, 2), 0xFF00FF00u);
    EXPECT_EQ(restored.frames[2].GetPixel(2, 2), 0xFFFF0000u);
    EXPECT_EQ(restored.frames[2].GetPixel(3, 3), 0xFF0000FFu);
}

TEST(GifDecoderTest, FullDictionaryWithoutAClearKeepsDecoding) {
    Frame f;
    f.width = 120;
    f.height = 90;
    std::vector<std::uint32_t> colors;
    for (std::uint32_t i = 0; i < 256; ++i) colors.push_back(i * 0x010101u);
    std::uint32_t seed = 12345;
    for (int i = 0; i < f.width * f.height; ++i) {
        seed = seed * 1103515245u + 12345u;
        f.indices.push_back(static_cast<std::uint8_t>(seed >> 24));
    }
    DecodedImage out;
    ASSERT_TRUE(DecodeGif(WriteGif(120, 90, colors, {f}, /*clearWhenFull=*/false), out));
    int wrong = 0;
    for (int i = 0; i < f.width * f.height; ++i) {
        wrong += out.frames[0].RawPixel(i % 120, i / 120) != (0xFF000000u | colors[f.indices[static_cast<std::size_t>(i)]]);
    }
    EXPECT_EQ(wrong, 0);
}

TEST(GifDecoderTest, CutFilesKeepTheFramesThatArrived) {
    // A second frame of noise, whose data takes several sub-blocks.
    constexpr int kSide = 64;
    Frame second = Solid(0, 0, kSide, kSide, 1, 1);
    std::uint32_t seed = 99;
    for (std::uint8_t& index : second.indices) {
        seed = seed * 1103515245u + 12345u;
        index = static_cast<std::uint8_t>(seed >> 30);
    }
    const Bytes gif = WriteGif(kSide, kSide, kColors, {Solid(0, 0, kSide, kSide, 0, 1), second});
    DecodedImage whole;
    ASSERT_TRUE(DecodeGif(gif, whole));
    ASSERT_EQ(whole.frames.size(), 2u);
    // Every prefix of the file: never a read past the end, and any frame
    // that comes out has the canvas size.
    std::size_t firstFrameAt = 0;
    for (std::size_t length = 0; length < gif.size(); ++length) {
        DecodedImage out;
        const bool ok = DecodeGif(Bytes(gif.begin(), gif.begin() + static_cast<std::ptrdiff_t>(length)), out);
        if (ok && firstFrameAt == 0) firstFrameAt = length;
        EXPECT_EQ(ok, firstFrameAt != 0) << length;
        for (const Bitmap& frame : out.frames) EXPECT_EQ(frame.Width(), kSide);
    }
    EXPECT_GT(firstFrameAt, 0u);
    // Cut inside the second frame's last data sub-block: the rows whose data
    // arrived whole are the new ones, the rest still show the first frame.
    DecodedImage cut;
    ASSERT_TRUE(DecodeGif(Bytes(gif.begin(), gif.end() - 12), cut));
    ASSERT_EQ(cut.frames.size(), 2u);
    EXPECT_EQ(cut.frames[1].GetPixel(1, 0), 0xFF000000u | kColors[second.indices[1]]);
    EXPECT_EQ(cut.frames[1].GetPixel(kSide - 1, kSide - 1), 0xFFFF0000u);
}

TEST(GifDecoderTest, CorruptedBytesNeverReadOutside) {
    Frame f = Solid(0, 0, 16, 16, 0, 0);
    for (std::size_t i = 0; i < f.indices.size(); ++i) f.indices[i] = static_cast<std::uint8_t>((i * 7) % 4);
    Frame outside = Solid(14, 14, 6, 6, 2, 0);  // reaches past the canvas: clipped
    const Bytes gif = WriteGif(16, 16, kColors, {f, outside});
    DecodedImage clipped;
    ASSERT_TRUE(DecodeGif(gif, clipped));
    EXPECT_EQ(clipped.frames[1].GetPixel(15, 15), 0xFF0000FFu);
    for (std::size_t at = 6; at < gif.size(); ++at) {
        for (std::uint8_t flip : {0x01, 0x80, 0xFF}) {
            Bytes bad = gif;
            bad[at] ^= flip;
            DecodedImage out;
            if (DecodeGif(bad, out)) {
                EXPECT_EQ(out.frames.size(), out.delays.size());
                EXPECT_FALSE(out.frames.front().Empty());
            }
        }
    }
}

TEST(GifDecoderTest, EmptyAndHugeCanvasesAreRefusedBeforeAllocating) {
    Bytes gif = WriteGif(2, 2, kColors, {Solid(0, 0, 2, 2, 0, 0)});
    gif[6] = gif[7] = gif[8] = gif[9] = 0xFF;  // 65535 x 65535
    DecodedImage out;
    EXPECT_FALSE(DecodeGif(gif, out));
    gif[6] = gif[7] = 0;  // no width at all
    EXPECT_FALSE(DecodeGif(gif, out));
    // A frame far larger than its small canvas is refused as well.
    Bytes frame = WriteGif(2, 2, kColors, {Solid(0, 0, 2, 2, 0, 0)});
    const std::size_t descriptor = 6 + 7 + 12 + 8 + 5;  // header, screen, colours, control
    ASSERT_EQ(frame[descriptor - 5], 0x2C);
    for (std::size_t i = descriptor; i < descriptor + 4; ++i) frame[i] = 0xFF;
    EXPECT_FALSE(DecodeGif(frame, out));
    // The limit's edge: a screen of exactly kMaxImagePixels decodes, one row
    // more does not.
    constexpr int kSide = 4096;
    static_assert(static_cast<long long>(kSide) * kSide == kMaxImagePixels);
    const std::vector<Frame> pixel = {Solid(0, 0, 1, 1, 0, 0)};
    EXPECT_FALSE(DecodeGif(WriteGif(kSide, kSide + 1, kColors, pixel), out));
    ASSERT_TRUE(DecodeGif(WriteGif(kSide, kSide, kColors, pixel), out));
    EXPECT_EQ(out.frames.front().Height(), kSide);
}

}  // namespace
}  // namespace qh::cairo
