#include "tools/qinghe-publish/server_checker.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <string_view>

#include "renew/file_list.h"
#include "renew/file_names.h"
#include "renew/version_document.h"
#include "runtime/convert.h"
#include "runtime/digest.h"
#include "runtime/files.h"
#include "runtime/hex.h"
#include "runtime/md5.h"
#include "runtime/xml/xml_tree.h"
#include "tools/qinghe-publish/served_paths.h"

namespace qh {
namespace {

namespace fs = std::filesystem;

bool IsDigestText(const Text& hash) {
    if (hash.size() != 32) return false;
    for (char c : hash) {
        const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!hex) return false;
    }
    return true;
}

// The digest of a served copy. The runtime's FileDigest reads a "\" in a
// name as a level, so the single-name copies are read here by their paths.
Text ServedDigest(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    Md5 md5;
    char block[1 << 16];
    while (in.read(block, sizeof block) || in.gcount() > 0) md5.Add(block, static_cast<std::size_t>(in.gcount()));
    Md5::Digest digest;
    if (!in.eof() || !md5.Finish(digest)) return {};
    return HexEncode(std::string_view(reinterpret_cast<const char*>(digest.data()), digest.size()));
}

// Checks the version document and "version.txt"; the version read, if any.
Text CheckVersion(const Text& serverDir, std::vector<Text>& problems) {
    XmlTree tree;
    VersionDocument document;
    if (!tree.LoadFile(serverDir + "\\renew.xml")) {
        problems.push_back("renew.xml: 无法读取或解析");
    } else if (!ReadVersionDocument(tree, document)) {
        problems.push_back("renew.xml: @1/@1 没有版本号");
    }
    Bytes bytes;
    if (!ReadWholeFile(serverDir + "\\version.txt", bytes)) {
        problems.push_back("version.txt: 缺失");
    } else if (!document.version.empty() && Text(bytes.begin(), bytes.end()) != document.version) {
        problems.push_back("version.txt: 与 renew.xml 的版本 " + document.version + " 不同");
    }
    return document.version;
}

void CheckFile(const fs::path& server, const ListedFile& file, std::set<Text>& seen, std::vector<Text>& problems) {
    if (!IsAllowedFileName(file.name)) {
        problems.push_back("\"" + file.name + "\": 文件名不允许");
        return;
    }
    if (!seen.insert(file.name).second) problems.push_back(file.name + ": 列出了两次");
    if (!IsDigestText(file.hash)) problems.push_back(file.name + ": Hash 不是 MD5 摘要: \"" + file.hash + "\"");
    for (const fs::path& path : ServedPaths(server, file.name)) {
        std::error_code ec;
        if (!fs::is_regular_file(path, ec)) {
            problems.push_back(file.name + ": 缺失 (" + TextOfPath(path) + ")");
            continue;
        }
        const Text digest = ServedDigest(path);
        if (DigestsDiffer(digest, file.hash)) {
            problems.push_back(file.name + ": 摘要 " + digest + " 与列表中的 " + file.hash + " 不符 (" +
                               TextOfPath(path) + ")");
        }
    }
}

}  // namespace

std::vector<Text> ServerChecker::Check(const Text& serverDir, Text& summary) {
    std::vector<Text> problems;
    const Text version = CheckVersion(serverDir, problems);

    XmlTree tree;
    std::vector<ListedFile> files;
    if (!tree.LoadFile(serverDir + "\\renewlist.xml") || !ReadFileList(tree, files)) {
        problems.push_back("renewlist.xml: 无法读取或解析");
    }
    const fs::path server = PathOfText(serverDir);
    std::set<Text> seen;
    for (const ListedFile& file : files) CheckFile(server, file, seen, problems);
    summary = "版本 " + version + ", " + ToText(static_cast<std::int32_t>(files.size())) + " 个文件\n";
    return problems;
}

}  // namespace qh
