#include "tools/qinghe-publish/server_checker.h"

#include <filesystem>
#include <map>
#include <string_view>

#include "renew/file_list.h"
#include "renew/file_names.h"
#include "renew/version_document.h"
#include "runtime/convert.h"
#include "runtime/digest.h"
#include "runtime/native_file.h"
#include "runtime/xml/xml_tree.h"
#include "tools/common/tool_output.h"
#include "tools/qinghe-publish/served_paths.h"

namespace qh {
namespace {

namespace fs = std::filesystem;

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

// The digest of a served copy, read only when it is a regular file (not a
// link, a pipe or a device); empty when it cannot be read.
Text ServedDigest(const fs::path& path) {
    NativeFile file;
    if (!file.OpenRegular(path)) return {};
    Md5 md5;
    char block[1 << 16];
    for (std::int64_t n; (n = file.Read(block, sizeof block)) != 0;) {
        if (n < 0) return {};
        md5.Add(block, static_cast<std::size_t>(n));
    }
    return DigestText(md5);
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
    for (const fs::path& path : ServedPaths(server, file.name)) {
        std::error_code ec;
        const fs::file_type type = fs::symlink_status(path, ec).type();
        if (type != fs::file_type::regular) {
            problems.push_back(name + (type == fs::file_type::not_found ? ": 缺失 (" : ": 不是普通文件 (") +
                               Shown(TextOfPath(path)) + ")");
            continue;
        }
        const Text digest = ServedDigest(path);
        if (DigestsDiffer(digest, file.hash)) {
            problems.push_back(name + ": 摘要 " + digest + " 与列表中的 " + Shown(file.hash) + " 不符 (" +
                               Shown(TextOfPath(path)) + ")");
        }
    }
}

}  // namespace

std::vector<Text> ServerChecker::Check(const fs::path& server, Text& summary) {
    std::vector<Text> problems;
    const Text version = CheckVersion(server, problems);

    Bytes bytes;
    XmlTree tree;
    std::vector<ListedFile> files;
    if (ReadDocument(server, "renewlist.xml", bytes, problems) &&
        (!tree.LoadBytes(bytes) || !ReadFileList(tree, files))) {
        problems.push_back("renewlist.xml: 无法解析");
    }
    std::map<Text, Text> seen;
    for (const ListedFile& file : files) CheckFile(server, file, seen, problems);
    summary = "版本 " + Shown(version) + ", " + ToText(static_cast<std::int32_t>(files.size())) + " 个文件\n";
    return problems;
}

}  // namespace qh
