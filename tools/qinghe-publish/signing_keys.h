// The maker's signing keys as files: a new pair for --new-key, and the
// private key that --key names for a publish.
#pragma once

#include <filesystem>
#include <string>

#include "runtime/text.h"

namespace qh {

// Makes a new key pair: the private key into privateFile (readable by its
// owner only) and the public key, which the updater is built with, into
// privateFile + ".pub". Neither file may exist yet: a key is never
// overwritten. summary says where they went; error why nothing was made.
bool MakeKeyFiles(const std::filesystem::path& privateFile, Text& summary, Text& error);

// Reads a private key file (PEM); false, with error set, when it cannot be
// read or is no key.
bool ReadPrivateKeyFile(const std::filesystem::path& file, std::string& pem, Text& error);

// Reads a public key file (PEM) for checking signatures; false, with error
// set, when it cannot be read.
bool ReadPublicKeyFile(const std::filesystem::path& file, std::string& pem, Text& error);

}  // namespace qh
