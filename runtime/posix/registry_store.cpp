#include "runtime/posix/registry_store.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace qh {
namespace {

struct Entry {
    Text key;
    Text name;
    Text data;
};

Text Escape(const Text& t) {
    Text out;
    for (char c : t) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\t': out += "\\t"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            default: out.push_back(c);
        }
    }
    return out;
}

Text Unescape(const Text& t) {
    Text out;
    for (size_t i = 0; i < t.size(); ++i) {
        if (t[i] != '\\' || i + 1 == t.size()) {
            out.push_back(t[i]);
            continue;
        }
        const char next = t[++i];
        out.push_back(next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next);
    }
    return out;
}

bool SameName(const Text& a, const Text& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        const auto lx = (x >= 'A' && x <= 'Z') ? x + 32 : x;
        const auto ly = (y >= 'A' && y <= 'Z') ? y + 32 : y;
        if (lx != ly) return false;
    }
    return true;
}

std::vector<Entry> Load(const std::string& path) {
    std::vector<Entry> entries;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        const size_t a = line.find('\t');
        const size_t b = a == std::string::npos ? a : line.find('\t', a + 1);
        if (b == std::string::npos) continue;  // not a value line
        entries.push_back({Unescape(line.substr(0, a)), Unescape(line.substr(a + 1, b - a - 1)),
                           Unescape(line.substr(b + 1))});
    }
    return entries;
}

// Creates every missing folder above a file path.
bool MakeParentFolders(const std::string& filePath) {
    for (size_t at = filePath.find('/', 1); at != std::string::npos;
         at = filePath.find('/', at + 1)) {
        const std::string folder = filePath.substr(0, at);
        if (::mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
    return true;
}

}  // namespace

std::optional<Text> RegistryStore::Read(const Text& key, const Text& valueName) const {
    for (const auto& e : Load(path_)) {
        if (SameName(e.key, key) && SameName(e.name, valueName)) return e.data;
    }
    return std::nullopt;
}

bool RegistryStore::Write(const Text& key, const Text& valueName, const Text& value) const {
    auto entries = Load(path_);
    bool replaced = false;
    for (auto& e : entries) {
        if (SameName(e.key, key) && SameName(e.name, valueName)) {
            e.data = value;
            replaced = true;
        }
    }
    if (!replaced) entries.push_back({key, valueName, value});

    if (!MakeParentFolders(path_)) return false;
    // The process id keeps two programs that write at once off each other's
    // temporary file; the rename then puts one whole store in place.
    const std::string temporary = path_ + "." + std::to_string(::getpid()) + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        for (const auto& e : entries) {
            out << Escape(e.key) << '\t' << Escape(e.name) << '\t' << Escape(e.data) << '\n';
        }
        out.flush();
        if (!out) {
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path_.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace qh
