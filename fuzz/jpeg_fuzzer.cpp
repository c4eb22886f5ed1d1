// libFuzzer target for JPEG through libjpeg: any bytes are decoded or refused without a
// crash or a read outside, and a decoded image is within the size limit.
#include "fuzz/cairo_fuzz_driver.h"
#include "fuzz/image_fuzzer.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qh::fuzz::Driver();  // started once, outside the inputs' leak checks
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qh::Bitmap image;
    if (qh::fuzz::Driver().DecodeImage(qh::fuzz::ToBytes(data, size), image)) qh::fuzz::CheckDecoded(image);
    return 0;
}
