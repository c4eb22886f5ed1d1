// The pictures of the five tabs and the help badge.
#pragma once

#include "tools/artwork/cairo/art_canvas.h"

namespace qh::art {

// 32 x 32: a house with a red roof (housing loans).
void DrawHouseIcon(ArtCanvas& canvas);
// 32 x 32: a blue car seen from the side (car loans).
void DrawCarIcon(ArtCanvas& canvas);
// 32 x 32: a house with a stack of coins before it (combined loans).
void DrawCombinedIcon(ArtCanvas& canvas);
// 30 x 30: a magnifier over a yuan coin (looking for a loan).
void DrawSearchIcon(ArtCanvas& canvas);
// 30 x 30: a round green badge with the grain mark (about the maker).
void DrawAboutIcon(ArtCanvas& canvas);
// The same badge in the box (x, y, size, size), for pictures that show the
// mark larger: the about window's logo.
void GrainBadge(cairo_t* cr, double x, double y, double size);
// 22 x 18: a small blue "?" badge.
void DrawHelpIcon(ArtCanvas& canvas);

}  // namespace qh::art
