// The host the toolkit tests drive in the Windows host build: real Win32
// windows under Wine, fed with the same input the headless host injects.
#pragma once

#include "tests/toolkit/win32/win32_test_host.h"

namespace qh {
using TestHost = win32::Win32TestHost;
}  // namespace qh
