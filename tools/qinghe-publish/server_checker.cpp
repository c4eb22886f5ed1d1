#include "tools/qinghe-publish/server_checker.h"

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "renew/file_list.h"
#include "renew/file_names.h"
#include "renew/version_document.h"
#include "runtime/convert.h"
#include "runtime/digest.h"
#include "runtime/native_file.h"
#include "runtime/signing.h"
#include "runtime/xml/xml_tree.h"
#include "tools/common/tool_output.h"
#include "tools/qinghe-publish/release_publisher.h"
#include "tools/qinghe-publish/served_paths.h"

namespace qh {
namespace {

namespace fs = std::filesystem;

// The documents that a keyed updater takes only with a valid signature,
// served beside them with ".sig" appended.
constexpr const char* kSignedDocuments[] = {"renew.xml", "renewlist.xml"};

// No document the publisher writes comes near this; a larger one is refused
// unread rather than filling the memory.
constexpr std::size_t kLargestDocument = std::size_t{64} << 20;

bool IsDigestText(const Text& hash) {
    if (hash.size() != 32) return false;
    for (char c : hash) {
        const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!hex) return false;
    }
    return true;
}

// The MD5, SHA-256 and size of a served copy, read only when it is a
// regular file (not a link, a pipe or a device); false when it cannot be read.
bool ServedDigests(const fs::path& path, ListedFile& served) {
    NativeFile file;
    if (!file.OpenRegular(path)) return false;
    ListingDigests digests;
    char block[1 << 16];
    for (std::int64_t n; (n = file.Read(block, sizeof block)) != 0;) {
        if (n < 0) return false;
        digests.Add(block, static_cast<std::size_t>(n));
    }
    digests.Fill(served);
    return true;
}

// Reads one of the server's documents; a problem line when it cannot.
bool ReadDocument(const fs::path& server, const char* name, Bytes& bytes, std::vector<Text>& problems) {
    if (ReadRegularFile(server / name, kLargestDocument, bytes)) return true;
    problems.push_back(Text(name) + ": 缺失、不是普通文件或大于 64 MiB");
    return false;
}

// Checks the version document and "version.txt"; the version read, if any.
Text CheckVersion(const fs::path& server, std::vector<Text>& problems) {
    Bytes bytes;
    XmlTree tree;
    VersionDocument document;
    if (ReadDocument(server, "renew.xml", bytes, problems)) {
        if (!tree.LoadBytes(bytes)) {
            problems.push_back("renew.xml: 无法解析");
        } else if (!ReadVersionDocument(tree, document)) {
            problems.push_back("renew.xml: @1/@1 没有版本号");
        }
    }
    if (ReadDocument(server, "version.txt", bytes, problems) && !document.version.empty() &&
        Text(bytes.begin(), bytes.end()) != document.version) {
        problems.push_back("version.txt: 与 renew.xml 的版本 " + Shown(document.version) + " 不同");
    }
    return document.version;
}

// One served copy of a listed file: present, a regular file, and of the
// listed MD5, SHA-256 (where listed) and size (where listed).
void CheckServedCopy(const fs::path& path, const ListedFile& file, std::vector<Text>& problems) {
    const Text name = Shown(file.name);
    const Text where = " (" + Shown(TextOfPath(path)) + ")";
    std::error_code ec;
    const fs::file_type type = fs::symlink_status(path, ec).type();
    ListedFile served;
    if (type != fs::file_type::regular || !ServedDigests(path, served)) {
        problems.push_back(name + (type == fs::file_type::not_found ? ": 缺失" : ": 不是可读的普通文件") + where);
        return;
    }
    if (DigestsDiffer(served.hash, file.hash)) {
        problems.push_back(name + ": 摘要 " + served.hash + " 与列表中的 " + Shown(file.hash) + " 不符" + where);
    }
    if (!file.sha256.empty() && DigestsDiffer(served.sha256, file.sha256)) {
        problems.push_back(name + ": SHA-256 " + served.sha256 + " 与列表中的 " + Shown(file.sha256) + " 不符" +
                           where);
    }
    if (file.size && *file.size != *served.size) {
        problems.push_back(name + ": 大小 " + std::to_string(*served.size) + " 与列表中的 " +
                           std::to_string(*file.size) + " 不符" + where);
    }
}

void CheckFile(const fs::path& server, const ListedFile& file, std::map<Text, Text>& seen,
               std::vector<Text>& problems) {
    const Text name = Shown(file.name);
    if (file.name.size() > kLongestFileName) {
        problems.push_back("\"" + name + "\": 文件名超过 " + ToText(static_cast<std::int32_t>(kLongestFileName)) +
                           " 字节, 客户端无法暂存");
        return;
    }
    if (!IsAllowedFileName(file.name)) {
        problems.push_back("\"" + name + "\": 文件名不允许");
        return;
    }
    // Names that differ only in letter case or separators are one file on
    // Windows, so the second would overwrite the first.
    const auto [first, added] = seen.emplace(FileNameKey(file.name), file.name);
    if (!added) {
        problems.push_back(name + (first->second == file.name ? Text(": 列出了两次")
                                                              : ": 与 " + Shown(first->second) + " 是同一个文件"));
    }
    if (!IsDigestText(file.hash)) problems.push_back(name + ": Hash 不是 MD5 摘要: \"" + Shown(file.hash) + "\"");
    if (file.sha256.empty()) problems.push_back(name + ": 没有 Sha256");
    if (!file.size) problems.push_back(name + ": 没有 Size 或它不是数字");
    for (const fs::path& path : ServedPaths(server, file.name)) CheckServedCopy(path, file, problems);
}

// The detached signatures of the two documents: checked with the public key
// when one is given; without one, only said to be unchecked.
void CheckSignatures(const fs::path& server, const std::string& publicKey, std::vector<Text>& problems,
                     Text& summary) {
    bool anySignature = false;
    for (const char* document : kSignedDocuments) {
        std::error_code ec;
        anySignature = anySignature || fs::exists(fs::symlink_status(server / (Text(document) + ".sig"), ec));
    }
    if (publicKey.empty()) {
        if (anySignature) summary += "签名未检查: 请用 --key-pub 给出公钥文件\n";
        return;
    }
    for (const char* document : kSignedDocuments) {
        const Text signatureName = Text(document) + ".sig";
        Bytes bytes;
        Bytes signature;
        if (!ReadDocument(server, document, bytes, problems) ||
            !ReadDocument(server, signatureName.c_str(), signature, problems)) {
            continue;
        }
        const auto view = [](const Bytes& b) {
            return std::string_view(reinterpret_cast<const char*>(b.data()), b.size());
        };
        if (!VerifyDocument(publicKey, view(bytes), view(signature))) {
            problems.push_back(signatureName + ": 签名与公钥或文档不符");
        }
    }
    summary += "签名已用公钥检查\n";
}

}  // namespace

std::vector<Text> ServerChecker::Check(const fs::path& server, const std::string& publicKey, Text& summary) {
    std::vector<Text> problems;
    const Text version = CheckVersion(server, problems);

    Bytes bytes;
    XmlTree tree;
    std::vector<ListedFile> files;
    if (ReadDocument(server, "renewlist.xml", bytes, problems)) {
        if (!tree.LoadBytes(bytes) || !ReadFileList(tree, files)) {
            problems.push_back("renewlist.xml: 无法解析");
        } else if (!version.empty() && FileListVersion(tree) != version) {
            problems.push_back("renewlist.xml: 版本 " + Shown(FileListVersion(tree)) + " 与 renew.xml 的版本 " +
                               Shown(version) + " 不同");
        }
    }
    std::map<Text, Text> seen;
    for (const ListedFile& file : files) CheckFile(server, file, seen, problems);
    // The banner's resources are served at the top level, where the updater
    // fetches them.
    const std::vector<ListedFile> banner = ReadBannerList(tree);
    for (const ListedFile& file : banner) {
        if (!IsBannerFile(file.name)) problems.push_back(Shown(file.name) + ": 不是升级程序的横幅文件");
        CheckFile(server, file, seen, problems);
    }
    summary = "版本 " + Shown(version) + ", " + ToText(static_cast<std::int32_t>(files.size())) + " 个文件" +
              (banner.empty() ? Text() : ", " + ToText(static_cast<std::int32_t>(banner.size())) + " 个横幅文件") +
              "\n";
    CheckSignatures(server, publicKey, problems, summary);
    return problems;
}

}  // namespace qh
