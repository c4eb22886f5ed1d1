// What the updater window's banner shows from the update server: its
// picture, the address a click opens and its tool tip (renew_ad.png,
// renew_ad.txt, renew_ad.tips beside the update's documents).
//
// An updater with the maker's key takes them only as the signed file list
// names them in its "Banner" child: each is fetched no longer than its
// listed size and kept only when its digests match. Without the key (a
// development build) they are fetched as they are, within the general bound
// of HttpRequest. Whatever is not taken stays empty, and the window shows
// its built-in picture instead of an empty picture.
#pragma once

#include "renew/updater_controls.h"
#include "runtime/text.h"

namespace qh {

struct BannerContent {
    Bytes image;  // the picture's file bytes; empty: the built-in picture
    Text target;  // an address IsBannerTarget accepts, or empty
    Text tips;
};

// The longest address the banner opens.
inline constexpr std::size_t kMaxBannerTarget = 1024;

// Whether an address may be handed to the browser: "http://" or "https://"
// (either case) and something after it, at most kMaxBannerTarget bytes,
// without quotes, spaces, control characters or bytes past ASCII, so that
// it stays one argument wherever it goes.
bool IsBannerTarget(const Text& target);

// Fetches the banner's resources for state's server (see above). Blocks
// its thread on the network: call it on a worker.
BannerContent FetchBannerContent(const UpdaterState& state);

}  // namespace qh
