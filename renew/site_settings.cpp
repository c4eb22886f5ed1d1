#include "renew/site_settings.h"

#include "runtime/system.h"

#ifndef QH_SITE_URL
#error "QH_SITE_URL is set by the build"
#endif
#ifndef QH_UPDATE_URL
#error "QH_UPDATE_URL is set by the build"
#endif

namespace qh {
namespace {

// The variable's value when it is set and not empty, else the built-in one.
Text Setting(const char* variable, const char* builtIn) {
    const Text value = ReadEnvironment(variable);
    return value.empty() ? Text(builtIn) : value;
}

Text WithoutTrailingSlash(Text url) {
    while (!url.empty() && url.back() == '/') url.pop_back();
    return url;
}

Text WithTrailingSlash(Text url) {
    if (url.empty() || url.back() != '/') url += '/';
    return url;
}

}  // namespace

Text SiteHomeAddress(const Text& siteUrl) { return siteUrl + "/?ref=rodode"; }

SiteSettings LoadSiteSettings() {
    SiteSettings settings;
    settings.siteUrl = WithoutTrailingSlash(Setting("QINGHE_SITE_URL", QH_SITE_URL));
    const Text update = Setting("QINGHE_UPDATE_URL", QH_UPDATE_URL);
    settings.updateUrl = update == kNoUpdateServer ? Text() : WithTrailingSlash(update);
    return settings;
}

}  // namespace qh
