#include "fuzz/image_fuzzer.h"

// fontconfig, which the cairo driver starts, keeps what it parsed from its
// configuration files for the life of the process; that memory is not the
// decoders' to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace qh::fuzz {

Bytes ToBytes(const std::uint8_t* data, std::size_t size) { return Bytes(data, data + size); }

void CheckDecoded(const Bitmap& image) {
    if (image.Width() <= 0 || image.Height() <= 0) __builtin_trap();
    if (static_cast<long long>(image.Width()) * image.Height() > kMaxImagePixels) __builtin_trap();
    // Reading every pixel lets the address sanitizer see a bitmap smaller
    // than its size says.
    std::uint32_t sum = 0;
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) sum += image.RawPixel(x, y);
    }
    static volatile std::uint32_t sink;
    sink = sum;
}

}  // namespace qh::fuzz
