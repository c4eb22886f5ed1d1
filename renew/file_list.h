// The file list "renewlist.xml" on the update server: one child of the root
// per file of the newest version, in order, each with the attributes "Name"
// (the path relative to the program directory, "\" between levels) and
// "Hash" (the MD5 digest text, either case). Child names are not looked at,
// except the one "Banner" child below.
//
// Newer publishers add what older readers pass over: "Sha256" (the SHA-256
// digest text, 64 hexadecimal digits) and "Size" (the byte count, decimal)
// on each file, "Version" on the root (the version the list belongs to, so
// that a signed list cannot be served with another version's document), and
// a "Banner" child whose own "File" children list the updater window's
// banner resources (renew_ad.png, renew_ad.txt, renew_ad.tips) with their
// digests and sizes. Those are shown by the updater, never installed; an
// older reader sees the "Banner" child as an entry without a name, which
// its name check passes over.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "runtime/hash.h"
#include "runtime/text.h"
#include "runtime/xml/xml_tree.h"

namespace qh {

struct ListedFile {
    Text name;
    Text hash;
    Text sha256;  // empty when the list carries none
    // The byte count; nothing when the list gives none or gives one that is
    // not a plain decimal number that fits.
    std::optional<std::uint64_t> size;
};

// The list's name on the update server, beside the version document.
inline constexpr char kFileListDocument[] = "renewlist.xml";

// The name of the root's child that holds the banner's entries.
inline constexpr char kBannerListName[] = "Banner";

// Reads a loaded list's files, the "Banner" child left out. A child without
// a "Name" or "Hash" reads with that text empty; the name check refuses an
// empty name and no digest matches an empty hash. False, with files
// untouched, when the tree holds no document.
bool ReadFileList(const XmlTree& tree, std::vector<ListedFile>& files);

// The MD5, SHA-256 and byte count of bytes given in blocks, as a list entry
// gives them: what the publisher lists, what its check reads back and what
// the installer compares.
class ListingDigests {
public:
    void Add(const void* data, std::size_t size);
    // Sets the entry's Hash, Sha256 and Size to those of the bytes added;
    // it finishes the digests, so it is called once.
    void Fill(ListedFile& file);

private:
    Md5 md5_;
    Sha256 sha256_;
    std::uint64_t size_ = 0;
};

// Whether the entry gives a digest to check its file by (Hash or Sha256).
bool HasDigest(const ListedFile& file);

// Whether the file at path has every digest the entry gives and its size,
// where given; an entry without a digest matches no file.
bool FileMatchesListing(const Text& path, const ListedFile& file);

// The entries of the "Banner" child, read as ReadFileList reads files;
// empty when the list has none.
std::vector<ListedFile> ReadBannerList(const XmlTree& tree);

// The root's "Version"; empty when the list has none.
Text FileListVersion(const XmlTree& tree);

// Builds the list as the publisher writes it: the root "RenewList" with one
// "File" child per file, version (when not empty) on the root, and, when
// banner is not empty, a last "Banner" child with one "File" per resource.
// "Sha256" and "Size" are written where known. False when a name or digest
// cannot be stored.
bool BuildFileList(const std::vector<ListedFile>& files, XmlTree& tree, const Text& version = Text(),
                   const std::vector<ListedFile>& banner = {});

}  // namespace qh
