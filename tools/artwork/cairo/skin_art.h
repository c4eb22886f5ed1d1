// The window skin: the picture under the calculator's main window and its
// results window.
#pragma once

#include "tools/artwork/cairo/art_canvas.h"

namespace qh::art {

inline constexpr int kSkinWidth = 730;
inline constexpr int kSkinHeight = 510;

// Draws the skin on an opaque 730 x 510 canvas.
void DrawSkin(ArtCanvas& canvas);

}  // namespace qh::art
