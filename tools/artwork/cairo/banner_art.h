// The updater's banner, which the update server serves beside the update
// ("renew_ad.png", 120 x 260): the picture at the left of the updater window,
// and the updater's own built-in picture of the same size.
#pragma once

#include "tools/artwork/cairo/art_canvas.h"

namespace qh::art {

inline constexpr int kUpdaterBannerWidth = 120;
inline constexpr int kUpdaterBannerHeight = 260;
// A tall teal card: the grain badge, the product's name, what the new
// version brings, ears of grain and a call to visit the site.
void DrawUpdaterBanner(ArtCanvas& canvas);
// The picture the updater holds itself and shows when the server offers
// none it can take: the same card, saying that the update is checked, with
// no call to click.
void DrawBuiltInBanner(ArtCanvas& canvas);

}  // namespace qh::art
