// Checks a published server folder the way the programs will see it: the
// version document and the file list through the programs' own reader, and
// every listed file by its name, its presence in each served form and its
// digest.
#pragma once

#include <filesystem>
#include <vector>

#include "runtime/text.h"

namespace qh {

class ServerChecker {
public:
    // One line per problem, empty when all is well; summary describes what
    // was checked.
    static std::vector<Text> Check(const std::filesystem::path& serverDir, Text& summary);
};

}  // namespace qh
