// The cairo driver: graphics over bitmaps and image decoding (PNG through
// cairo, JPEG through libjpeg, the first frame of a GIF through giflib).
#include <fontconfig/fontconfig.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <jpeglib.h>

#include "toolkit/cairo/cairo_graphics.h"
#include "toolkit/cairo/gif_decoder.h"
#include "toolkit/image_header.h"

namespace qh::cairo {

CairoDriver::CairoDriver() { FcInit(); }

CairoDriver::~CairoDriver() {
    for (auto& [key, face] : faces_) cairo_font_face_destroy(face);
}

std::unique_ptr<Graphics> CairoDriver::Open(Bitmap& target, float scale) {
    if (target.Empty() || !(scale > 0)) return nullptr;
    return std::make_unique<CairoGraphics>(*this, target, scale);
}

namespace {

struct ReadState {
    const Bytes* bytes;
    std::size_t pos;
};

cairo_status_t ReadPng(void* closure, unsigned char* data, unsigned int length) {
    auto* s = static_cast<ReadState*>(closure);
    if (s->bytes->size() - s->pos < length) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, s->bytes->data() + s->pos, length);
    s->pos += length;
    return CAIRO_STATUS_SUCCESS;
}

// cairo allocates the whole surface as soon as it has read the PNG's header,
// and libpng each chunk's buffer at the length it claims, so those sizes are
// checked on the bytes first.
bool DecodePng(const Bytes& bytes, Bitmap& out) {
    if (!PngWithinLimits(bytes)) return false;
    ReadState state{&bytes, 0};
    cairo_surface_t* s = cairo_image_surface_create_from_png_stream(ReadPng, &state);
    bool ok = cairo_surface_status(s) == CAIRO_STATUS_SUCCESS;
    if (ok) {
        cairo_surface_flush(s);
        const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
        const int stride = cairo_image_surface_get_stride(s);
        const cairo_format_t format = cairo_image_surface_get_format(s);
        const unsigned char* data = cairo_image_surface_get_data(s);
        Bitmap bmp(w, h);
        for (int y = 0; y < h; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
            for (int x = 0; x < w; ++x) {
                std::uint32_t p = row[x];
                if (format == CAIRO_FORMAT_RGB24) p |= 0xFF000000u;
                bmp.SetRawPixel(x, y, p);
            }
        }
        ok = format == CAIRO_FORMAT_ARGB32 || format == CAIRO_FORMAT_RGB24;
        if (ok) out = std::move(bmp);
    }
    cairo_surface_destroy(s);
    return ok;
}

struct JpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

void OnJpegError(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1); }
void IgnoreJpegMessage(j_common_ptr) {}

bool DecodeJpeg(const Bytes& bytes, Bitmap& out) {
    jpeg_decompress_struct info;
    JpegError error;
    info.err = jpeg_std_error(&error.mgr);
    error.mgr.error_exit = OnJpegError;
    error.mgr.output_message = IgnoreJpegMessage;
    // Everything that owns memory is made before setjmp: an error inside
    // libjpeg jumps back here past the destructors of anything made after it.
    Bitmap bmp;
    if (setjmp(error.jump) != 0) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    // The size is known from the header; nothing of it is allocated before
    // jpeg_start_decompress.
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK ||
        static_cast<long long>(info.image_width) * info.image_height > kMaxImagePixels) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    // libjpeg-turbo writes the bitmap's own pixel layout (0xAARRGGBB words,
    // B, G, R, A in memory on our little-endian targets; opaque), so the rows
    // are decoded straight into it.
    info.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&info);
    bmp = Bitmap(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
    while (info.output_scanline < info.output_height) {
        const auto y = static_cast<std::size_t>(info.output_scanline);
        unsigned char* rows[1] = {reinterpret_cast<unsigned char*>(bmp.Data() + y * info.output_width)};
        jpeg_read_scanlines(&info, rows, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    out = std::move(bmp);
    return true;
}

}  // namespace

bool CairoDriver::DecodeImage(const Bytes& bytes, Bitmap& out) {
    if (IsPng(bytes)) return DecodePng(bytes, out);
    if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) return DecodeJpeg(bytes, out);
    DecodedImage gif;
    if (IsGif(bytes) && DecodeGif(bytes, gif)) {
        out = std::move(gif.frames.front());
        return true;
    }
    return false;
}

}  // namespace qh::cairo
