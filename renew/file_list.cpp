#include "renew/file_list.h"

#include <limits>

#include "runtime/convert.h"
#include "runtime/digest.h"
#include "runtime/files.h"
#include "runtime/hash.h"

namespace qh {
namespace {

constexpr char kFileElement[] = "File";

Text ChildPath(const Text& parent, int n) { return parent + "/@" + ToText(static_cast<std::int32_t>(n)); }

// A byte count written as plain decimal digits; nothing for anything else
// (a sign, spaces, a number past 2^64 - 1).
std::optional<std::uint64_t> ParseSize(const Text& text) {
    if (text.empty()) return std::nullopt;
    std::uint64_t value = 0;
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (value > (kMax - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

ListedFile ReadEntry(const XmlTree& tree, const Text& path) {
    ListedFile file;
    tree.GetAttribute(path, "Name", file.name);
    tree.GetAttribute(path, "Hash", file.hash);
    tree.GetAttribute(path, "Sha256", file.sha256);
    Text size;
    if (tree.GetAttribute(path, "Size", size)) file.size = ParseSize(size);
    return file;
}

// The children of the element at parent, skipping one named skipName.
std::vector<ListedFile> ReadEntries(const XmlTree& tree, const Text& parent, const char* skipName) {
    std::vector<Text> names;
    std::vector<ListedFile> read;
    if (!tree.ChildNames(parent, names)) return read;
    for (std::size_t n = 0; n < names.size(); ++n) {
        if (skipName != nullptr && names[n] == skipName) continue;
        read.push_back(ReadEntry(tree, ChildPath(parent, static_cast<int>(n) + 1)));
    }
    return read;
}

bool AddEntry(XmlTree& tree, const Text& parent, int n, const ListedFile& file) {
    const Text path = ChildPath(parent, n);
    return tree.InsertChild(parent, kFileElement, "") && tree.AddAttribute(path, "Name", file.name) &&
           tree.AddAttribute(path, "Hash", file.hash) &&
           (file.sha256.empty() || tree.AddAttribute(path, "Sha256", file.sha256)) &&
           (!file.size || tree.AddAttribute(path, "Size", std::to_string(*file.size)));
}

}  // namespace

bool HasDigest(const ListedFile& file) { return !file.hash.empty() || !file.sha256.empty(); }

void ListingDigests::Add(const void* data, std::size_t size) {
    md5_.Add(data, size);
    sha256_.Add(data, size);
    size_ += size;
}

void ListingDigests::Fill(ListedFile& file) {
    file.hash = DigestText(md5_);
    file.sha256 = DigestText(sha256_);
    file.size = size_;
}

bool FileMatchesListing(const Text& path, const ListedFile& file) {
    if (!HasDigest(file)) return false;
    ListingDigests digests;
    if (!ReadFileBlocks(path, [&](const std::uint8_t* data, std::size_t count) { digests.Add(data, count); })) {
        return false;
    }
    ListedFile actual;
    digests.Fill(actual);
    if (!file.hash.empty() && DigestsDiffer(actual.hash, file.hash)) return false;
    if (!file.sha256.empty() && DigestsDiffer(actual.sha256, file.sha256)) return false;
    return !file.size || file.size == actual.size;
}

bool ReadFileList(const XmlTree& tree, std::vector<ListedFile>& files) {
    if (!tree.HasDocument()) return false;
    files = ReadEntries(tree, "@1", kBannerListName);
    return true;
}

std::vector<ListedFile> ReadBannerList(const XmlTree& tree) {
    std::vector<Text> names;
    if (!tree.ChildNames("@1", names)) return {};
    for (std::size_t n = 0; n < names.size(); ++n) {
        if (names[n] == kBannerListName) return ReadEntries(tree, ChildPath("@1", static_cast<int>(n) + 1), nullptr);
    }
    return {};
}

Text FileListVersion(const XmlTree& tree) {
    Text version;
    tree.GetAttribute("@1", "Version", version);
    return version;
}

bool BuildFileList(const std::vector<ListedFile>& files, XmlTree& tree, const Text& version,
                   const std::vector<ListedFile>& banner) {
    if (!tree.Create("RenewList")) return false;
    if (!version.empty() && !tree.AddAttribute("@1", "Version", version)) return false;
    int n = 0;
    for (const ListedFile& file : files) {
        if (!AddEntry(tree, "@1", ++n, file)) return false;
    }
    if (banner.empty()) return true;
    if (!tree.InsertChild("@1", kBannerListName, "")) return false;
    const Text bannerPath = ChildPath("@1", ++n);
    int b = 0;
    for (const ListedFile& file : banner) {
        if (!AddEntry(tree, bannerPath, ++b, file)) return false;
    }
    return true;
}

}  // namespace qh
