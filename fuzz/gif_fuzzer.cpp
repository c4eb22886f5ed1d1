// libFuzzer target for GIF through giflib: any bytes are decoded or refused
// without a crash or a read outside; every frame has the screen's size within
// the limit, and each frame has its delay.
#include "fuzz/image_fuzzer.h"
#include "toolkit/cairo/gif_decoder.h"

namespace {

// The screen's width and height, little-endian, after the signature.
constexpr std::size_t kScreenAt = 6;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size >= kScreenAt + 4) {
        const std::uint64_t width = data[kScreenAt] | data[kScreenAt + 1] << 8;
        const std::uint64_t height = data[kScreenAt + 2] | data[kScreenAt + 3] << 8;
        if (width * height > qh::fuzz::kFuzzedPixels) return 0;
    }
    qh::DecodedImage decoded;
    if (!qh::cairo::DecodeGif(qh::fuzz::ToBytes(data, size), decoded)) return 0;
    if (decoded.frames.empty() || decoded.frames.size() != decoded.delays.size()) __builtin_trap();
    long long pixels = 0;
    for (const qh::Bitmap& frame : decoded.frames) {
        qh::fuzz::CheckDecoded(frame);
        if (frame.Width() != decoded.frames.front().Width() || frame.Height() != decoded.frames.front().Height()) {
            __builtin_trap();
        }
        pixels += static_cast<long long>(frame.Width()) * frame.Height();
    }
    if (pixels > qh::kMaxDecodedPixels) __builtin_trap();
    return 0;
}
