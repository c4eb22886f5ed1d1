// PNG files through cairo: the bitmap is premultiplied ARGB, as cairo's
// ARGB32 image surfaces are, so the surface can be made over its pixels.
#include "tools/uidriver/png_file.h"

#include <cairo.h>

namespace qh {

bool WritePngFile(const Bitmap& image, const std::string& path) {
    if (image.Empty()) return false;
    const int stride = image.Width() * 4;
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(const_cast<Argb*>(image.Data())), CAIRO_FORMAT_ARGB32, image.Width(),
        image.Height(), stride);
    const bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS &&
                    cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok;
}

}  // namespace qh
