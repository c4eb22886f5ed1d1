// The smaller pieces of the main window: the separator line, the results
// strip at the right edge and the banner.
#pragma once

#include "tools/artwork/cairo/art_canvas.h"

namespace qh::art {

// 108 x 1: a teal line that fades out at both ends.
void DrawSeparator(ArtCanvas& canvas);
// 8 x 293: a slim rounded handle; the toolkit draws the arrow in its middle.
void DrawResultsStrip(ArtCanvas& canvas);
// 100 x 60: the advert tile for the maker's web site.
void DrawBanner(ArtCanvas& canvas);

}  // namespace qh::art
