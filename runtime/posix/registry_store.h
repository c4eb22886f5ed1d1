// The Linux stand-in for the registry: string values kept in a small text
// file. Machine-wide values live beside the installation, per-user values
// under $XDG_CONFIG_HOME.
//
// One value per line: key, value name and data separated by tabs, with tab,
// line feed, carriage return and backslash escaped. Key and value names
// compare without regard to the case of single-byte letters, as the
// registry's do; double-byte characters compare as they are.
//
// Writers take a lock on "<store>.lock" beside the store from reading it to
// replacing it, so that writers in several threads or processes keep each
// other's values. A write goes to a temporary file that then replaces the
// store, with the store's permission bits, so a failed write never loses the
// values already there. A store that exists but cannot be read has no values
// to give, and a write to it fails instead of replacing it.
#pragma once

#include <optional>
#include <string>

#include "runtime/text.h"

namespace qh {

class RegistryStore {
public:
    explicit RegistryStore(std::string filePath) : path_(std::move(filePath)) {}

    std::optional<Text> Read(const Text& key, const Text& valueName) const;
    bool Write(const Text& key, const Text& valueName, const Text& value) const;

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace qh
