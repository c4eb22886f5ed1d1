// The order of version texts such as "1.0.0.506", for the updater that
// verifies what it installs: it takes only a version above the installed
// one, so that an older signed release, served again as if it were new,
// cannot take a machine back to a version with known faults.
#pragma once

#include <optional>

#include "runtime/text.h"

namespace qh {

// Compares two versions number by number from the left ("1.0.0.506" is
// below "1.0.0.1000"; a missing number counts as 0, so "1.0" equals
// "1.0.0"). Negative, zero or positive as a is below, equal to or above b;
// nothing when either is not numbers of at most nine digits joined by
// single dots.
std::optional<int> CompareVersions(const Text& a, const Text& b);

}  // namespace qh
