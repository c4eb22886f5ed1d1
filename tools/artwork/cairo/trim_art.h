// The smaller pieces of the windows: the separator line, the results strip
// at the main window's right edge, the banner and the about window's logo.
#pragma once

#include "tools/artwork/cairo/art_canvas.h"

namespace qh::art {

// 108 x 1: a teal line that fades out at both ends.
void DrawSeparator(ArtCanvas& canvas);
// 8 x 293: a slim rounded handle; the toolkit draws the arrow in its middle.
void DrawResultsStrip(ArtCanvas& canvas);
// 100 x 60: the advert tile for the maker's web site.
void DrawBanner(ArtCanvas& canvas);

inline constexpr int kAboutLogoWidth = 370;
inline constexpr int kAboutLogoHeight = 70;
// 370 x 70, opaque (a JPEG): the product's name and what it computes on a
// teal band, with the grain badge, across the top of the about window.
void DrawAboutLogo(ArtCanvas& canvas);

}  // namespace qh::art
