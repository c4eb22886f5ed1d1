// The host the toolkit tests drive in the X11 test program: real X11 windows
// on a private Xvfb, fed with the same input the headless host injects.
#pragma once

#include "tests/toolkit/x11/x11_test_host.h"

namespace qh {
// Whether the system menu is the system's own, modal one (Win32), which a
// test closes with keys posted before the right-click that opens it; the
// other hosts' menu is drawn by the toolkit and stays open for the test.
inline constexpr bool kTestHostHasNativeSystemMenu = false;
using TestHost = x11::X11TestHost;
}  // namespace qh
