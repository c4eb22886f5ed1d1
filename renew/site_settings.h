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
    Text siteUrl;    // without a trailing "/"
    Text updateUrl;  // the update folder, ending in "/"; empty for none
};

// The address every link to the site's home opens (the banner, the about
// link, the updater's site link and its closing check box): the site with
// the program's referral mark.
Text SiteHomeAddress(const Text& siteUrl);

SiteSettings LoadSiteSettings();

}  // namespace qh
