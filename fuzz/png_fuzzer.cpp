// libFuzzer target for PNG through cairo's reader (libpng), after the header's size check: any bytes are decoded or refused without a
// crash or a read outside, and a decoded image is within the size limit.
#include "fuzz/cairo_fuzz_driver.h"
#include "fuzz/image_fuzzer.h"

namespace {

// The size the header claims: the first chunk's width and height.
constexpr std::size_t kWidthAt = 16;
constexpr std::size_t kHeightAt = 20;

std::uint64_t Big32(const std::uint8_t* p) {
    return std::uint64_t{p[0]} << 24 | std::uint64_t{p[1]} << 16 | std::uint64_t{p[2]} << 8 | p[3];
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qh::fuzz::Driver();  // started once, outside the inputs' leak checks
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size >= kHeightAt + 4 && Big32(data + kWidthAt) * Big32(data + kHeightAt) > qh::fuzz::kFuzzedPixels) return 0;
    qh::Bitmap image;
    if (qh::fuzz::Driver().DecodeImage(qh::fuzz::ToBytes(data, size), image)) qh::fuzz::CheckDecoded(image);
    return 0;
}
