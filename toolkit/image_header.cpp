#include "toolkit/image_header.h"

#include <cstdint>
#include <cstring>

#include "toolkit/graphics.h"

namespace qh {
namespace {

// The signature, then the first chunk: its length, its type "IHDR", and the
// width and height as big-endian numbers.
constexpr unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr std::size_t kPngChunkTypeAt = 12;
constexpr std::size_t kPngWidthAt = 16;
constexpr std::size_t kPngHeightAt = 20;
constexpr std::size_t kPngSizeEnd = 24;
// A chunk's length, type and CRC around its data.
constexpr std::size_t kPngChunkOverhead = 12;
constexpr std::size_t kPngFirstChunkAt = 8;

std::uint64_t ReadBigEndian32(const Bytes& b, std::size_t at) {
    return std::uint64_t{b[at]} << 24 | std::uint64_t{b[at + 1]} << 16 | std::uint64_t{b[at + 2]} << 8 | b[at + 3];
}

}  // namespace

bool IsPng(const Bytes& bytes) {
    return bytes.size() >= sizeof kPngSignature && std::memcmp(bytes.data(), kPngSignature, sizeof kPngSignature) == 0;
}

bool PngWithinLimits(const Bytes& bytes) {
    if (!IsPng(bytes) || bytes.size() < kPngSizeEnd || std::memcmp(bytes.data() + kPngChunkTypeAt, "IHDR", 4) != 0) {
        return false;
    }
    if (ReadBigEndian32(bytes, kPngWidthAt) * ReadBigEndian32(bytes, kPngHeightAt) >
        static_cast<std::uint64_t>(kMaxImagePixels)) {
        return false;
    }
    // A cut file may end anywhere after a whole chunk; no chunk may claim
    // more bytes than follow it.
    for (std::size_t at = kPngFirstChunkAt; at < bytes.size();) {
        const std::size_t left = bytes.size() - at;
        if (left < kPngChunkOverhead) return false;
        const std::uint64_t length = ReadBigEndian32(bytes, at);
        if (length > left - kPngChunkOverhead) return false;
        if (std::memcmp(bytes.data() + at + 4, "IEND", 4) == 0) break;
        at += kPngChunkOverhead + static_cast<std::size_t>(length);
    }
    return true;
}

}  // namespace qh
