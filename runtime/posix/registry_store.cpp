#include "runtime/posix/registry_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/posix/file_lock.h"
#include "runtime/posix/file_io.h"

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

// True for a byte that starts a double-byte character of code page 936;
// 0x80 and 0xFF stand alone there.
bool StartsDoubleByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

unsigned char FoldAscii(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u + 32) : u;
}

// Compares names as the registry does: single-byte letters without regard to
// case. A double-byte character compares as it is, since its trail byte may
// look like an ASCII letter ("癆" is B0 41, "癮" is B0 61).
bool SameName(const Text& a, const Text& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
        // The lead bytes are equal, so both names stand at the same character.
        if (StartsDoubleByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
            ++i;
            if (a[i] != b[i]) return false;
        }
    }
    return true;
}

// The value lines of a store's text; other lines are skipped.
std::vector<Entry> Parse(const std::string& text) {
    std::vector<Entry> entries;
    std::istringstream in(text);
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

std::string Format(const std::vector<Entry>& entries) {
    std::string text;
    for (const auto& e : entries) {
        text += Escape(e.key) + '\t' + Escape(e.name) + '\t' + Escape(e.data) + '\n';
    }
    return text;
}

// The values of a store and the permission bits of its file.
struct StoreFile {
    std::vector<Entry> entries;
    std::optional<mode_t> mode;
};

// Reads the store at path. A missing store has no values and no mode yet.
// False when the store exists but cannot be opened or read: a writer must
// then stop rather than replace every value with its own.
bool Load(const std::string& path, StoreFile& store) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT;
    std::string text;
    struct stat st;
    const auto append = [&text](const std::uint8_t* data, std::size_t size) {
        text.append(reinterpret_cast<const char*>(data), size);
    };
    const bool ok = ::fstat(fd, &st) == 0 && ReadOpenFile(fd, append);
    ::close(fd);
    if (!ok) return false;
    store.entries = Parse(text);
    store.mode = st.st_mode & 07777;
    return true;
}

// Gives a value its new data, adding it when it is not there yet.
void SetValue(std::vector<Entry>& entries, const Text& key, const Text& valueName, const Text& value) {
    bool replaced = false;
    for (auto& e : entries) {
        if (SameName(e.key, key) && SameName(e.name, valueName)) {
            e.data = value;
            replaced = true;
        }
    }
    if (!replaced) entries.push_back({key, valueName, value});
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
    StoreFile store;
    if (!Load(path_, store)) return std::nullopt;
    for (const auto& e : store.entries) {
        if (SameName(e.key, key) && SameName(e.name, valueName)) return e.data;
    }
    return std::nullopt;
}

bool RegistryStore::Write(const Text& key, const Text& valueName, const Text& value) const {
    if (!MakeParentFolders(path_)) return false;
    // The lock is held from the read to the rename, so that no other writer
    // replaces the store in between and loses this value or its own.
    const FileLock lock(path_ + ".lock");
    if (!lock.Held()) return false;
    StoreFile store;
    if (!Load(path_, store)) return false;
    SetValue(store.entries, key, valueName, value);
    // The store keeps its permission bits: the machine-wide store is written
    // by the updater and read by the calculator.
    return ReplaceNativeFile(path_, Format(store.entries), store.mode);
}

}  // namespace qh
