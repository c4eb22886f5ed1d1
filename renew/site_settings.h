// Where the calculator and the updater reach the outside: the maker's web
// site and the update server. Both are fixed when the program is built; the environment
// variables QINGHE_SITE_URL and QINGHE_UPDATE_URL override them for testing
// and staging.
#pragma once

#include "runtime/text.h"

namespace qh {

// The update address that means "no update server": the calculator then
// neither checks for a new version nor loads the statistics page (for
// installations that the system's package manager updates, and for tests).
inline constexpr const char* kNoUpdateServer = "none";

struct SiteSettings {
    Text siteUrl;    // without a trailing "/": "/?ref=rodode" is appended
    Text updateUrl;  // the update folder, ending in "/"; empty for none
};

SiteSettings LoadSiteSettings();

}  // namespace qh
