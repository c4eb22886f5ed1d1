// The window skin: the picture under the calculator's main window and its
// results window.
#pragma once

#include "tools/artwork/cairo/art_canvas.h"

namespace qh::art {

inline constexpr int kSkinWidth = 730;
inline constexpr int kSkinHeight = 510;

// Draws the skin on an opaque 730 x 510 canvas.
void DrawSkin(ArtCanvas& canvas);

// One ear of grain bowing to the right, in white at the given opacity: a
// curved stalk from its foot (x, y + height) to its tip (x + bow, y) with
// paired grains along it. The skin's tab band and the about logo grow them.
void GrainEar(cairo_t* cr, double x, double y, double height, double bow, double alpha);

}  // namespace qh::art
