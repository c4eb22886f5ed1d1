// The host the toolkit tests drive: the in-memory headless host.
#pragma once

#include "toolkit/headless/headless_host.h"

namespace qh {
using TestHost = headless::HeadlessHost;
}  // namespace qh
