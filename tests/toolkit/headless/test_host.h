// The host the toolkit tests drive: the in-memory headless host.
#pragma once

#include "toolkit/headless/headless_host.h"

namespace qh {
// Whether the system menu is the system's own, modal one (Win32), which a
// test closes with keys posted before the right-click that opens it; the
// other hosts' menu is drawn by the toolkit and stays open for the test.
inline constexpr bool kTestHostHasNativeSystemMenu = false;
using TestHost = headless::HeadlessHost;
}  // namespace qh
