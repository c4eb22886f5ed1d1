// Checks a published server folder the way the programs will see it: the
// version document and the file list through the programs' own reader, and
// every listed file and banner resource by its name, its presence in each
// served form, its digests and its size; the list's version against the
// version document's; and, with the maker's public key, the signatures.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "runtime/text.h"

namespace qh {

class ServerChecker {
public:
    // One line per problem, empty when all is well; summary describes what
    // was checked. publicKey (PEM) checks the signatures; when it is empty,
    // signatures that are there are said to be unchecked in summary.
    static std::vector<Text> Check(const std::filesystem::path& serverDir, const std::string& publicKey,
                                   Text& summary);
};

}  // namespace qh
