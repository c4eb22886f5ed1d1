// Font files read through a FreeType stream of our own rather than mapped:
// a CJK font is a file of 10-20 MB whose glyphs lie scattered through it,
// and a mapping makes the kernel map in the file's neighbouring pages with
// every glyph read (several megabytes of resident memory for a window's
// few dozen glyphs). Read through pread, only the tables FreeType keeps and
// the glyphs drawn are held.
#pragma once

#include <cairo.h>
#include <fontconfig/fontconfig.h>

namespace qh::cairo {

// A cairo face for fontconfig's match, whose FreeType face reads the file
// through the stream; null when the file cannot be opened so, and the caller
// lets cairo open it itself. The FreeType face lives as long as the cairo
// face, which may outlive the driver in cairo's own caches.
cairo_font_face_t* CreateStreamedFontFace(FcPattern* match);

}  // namespace qh::cairo
