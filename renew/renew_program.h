// renew as a program that runs on any platform it is given: its own main
// (the platform's real windows) and the UI driver (headless windows) both
// run it.
#pragma once

#include <vector>

#include "runtime/text.h"
#include "toolkit/platform.h"

namespace qh {

// Starts the toolkit; unless another updater runs, reads the arguments
// (mode and three hex fields) and checks, downloads or installs. Every way
// of ending exits with 0, as the calculator expects of it.
//
// updatePublicKey is the maker's public key (PEM) that the server's
// documents must be signed with; empty, the documents are taken unsigned,
// as by the updaters before signing.
int RunRenew(Platform& platform, const std::vector<Text>& arguments, const std::string& updatePublicKey = {});

}  // namespace qh
