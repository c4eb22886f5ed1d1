// The start-up benchmark's yardstick: the least a program that shows text in
// an X11 window must do. It draws one line of text through fontconfig's match
// for the calculator's face into an image, as the calculator draws its back
// buffer before it shows its window, then maps one Xlib window and puts the
// image on it at every expose; it waits to be killed.
#include <X11/Xlib.h>
#include <cairo-xlib.h>
#include <cairo.h>

int main() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 2;
    const int screen = DefaultScreen(display);
    const Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, 600, 440, 0,
                                              BlackPixel(display, screen), WhitePixel(display, screen));
    XStoreName(display, window, "reference");
    XSelectInput(display, window, ExposureMask);

    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 600, 440);
    cairo_t* cr = cairo_create(image);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_select_font_face(cr, "SimSun", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 12);
    cairo_move_to(cr, 20, 40);
    cairo_show_text(cr, "\xE9\x9D\x92\xE7\xA6\xBE\xE8\xAE\xA1\xE7\xAE\x97\xE5\x99\xA8 1,000,000.00");
    cairo_destroy(cr);

    XMapWindow(display, window);
    cairo_surface_t* surface =
        cairo_xlib_surface_create(display, window, DefaultVisual(display, screen), 600, 440);
    cairo_t* screenCr = cairo_create(surface);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != Expose) continue;
        cairo_set_source_surface(screenCr, image, 0, 0);
        cairo_paint(screenCr);
        cairo_surface_flush(surface);
        XFlush(display);
    }
}
