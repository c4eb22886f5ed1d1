// The Linux stand-in for the registry: string values kept in a small text
// file. Machine-wide values live beside the installation, per-user values
// under $XDG_CONFIG_HOME.
//
// One value per line: key, value name and data separated by tabs, with tab,
// line feed, carriage return and backslash escaped. Key and value names
// compare without regard to ASCII case, as the registry's do. A write goes to
// a temporary file that then replaces the store, so a failed write never
// loses the values already there.
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
