// The host the toolkit tests drive in the Windows host build: real Win32
// windows under Wine, fed with the same input the headless host injects.
#pragma once

#include "tests/toolkit/win32/win32_test_host.h"

namespace qh {
// Whether the system menu is the system's own, modal one (Win32), which a
// test closes with keys posted before the right-click that opens it; the
// other hosts' menu is drawn by the toolkit and stays open for the test.
inline constexpr bool kTestHostHasNativeSystemMenu = true;
using TestHost = win32::Win32TestHost;
}  // namespace qh
