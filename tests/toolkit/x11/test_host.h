// The host the toolkit tests drive in the X11 test program: real X11 windows
// on a private Xvfb, fed with the same input the headless host injects.
#pragma once

#include "tests/toolkit/x11/x11_test_host.h"

namespace qh {
using TestHost = x11::X11TestHost;
}  // namespace qh
