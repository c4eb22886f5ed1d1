#include "tools/qinghe-publish/release_publisher.h"

#include <algorithm>
#include <map>
#include <string_view>
#include <system_error>

#include "renew/file_list.h"
#include "renew/file_names.h"
#include "renew/version_document.h"
#include "runtime/convert.h"
#include "runtime/native_file.h"
#include "runtime/signing.h"
#include "runtime/xml/xml_tree.h"
#include "tools/common/tool_output.h"
#include "tools/qinghe-publish/publish_transaction.h"
#include "tools/qinghe-publish/served_paths.h"

namespace qh {
namespace {

namespace fs = std::filesystem;

// The documents the publisher writes beside the release's files, in the
// order they are put in place: each signature just before its document.
constexpr const char* kServerDocuments[] = {"renewlist.xml.sig", "renewlist.xml", "renew.xml.sig", "renew.xml",
                                            "version.txt"};

// Notes files are small; anything near this is not a notes file.
constexpr std::size_t kLargestNotesFile = std::size_t{1} << 20;

bool IsServerDocument(const Text& name) {
    const Text key = FileNameKey(name);
    return std::any_of(std::begin(kServerDocuments), std::end(kServerDocuments),
                       [&](const char* document) { return key == FileNameKey(document); });
}

// The release-relative name of a file, levels joined by "\"; false when a
// level cannot be written in GBK or holds a backslash of its own.
bool NameOf(const fs::path& relative, Text& name, Text& error) {
    Text joined;
    for (const fs::path& level : relative) {
        const Text text = TextOfPath(level);
        if (PathOfText(text) != level || text.find_first_of("\\/") != Text::npos) {
            error = "文件名含有 GBK 无法表示或更新无法使用的字符: " + Shown(TextOfPath(relative));
            return false;
        }
        joined += (joined.empty() ? "" : "\\") + text;
    }
    name = joined;
    return true;
}

// Why a release file's name cannot be listed; empty when it can.
Text NameProblem(const Text& name) {
    if (name.size() > kLongestFileName) {
        return "文件名超过 " + ToText(static_cast<std::int32_t>(kLongestFileName)) + " 字节, 客户端无法暂存: ";
    }
    if (!IsAllowedFileName(name) || IsServerDocument(name)) return "这个文件名不能用于更新: ";
    return {};
}

}  // namespace

bool ReleasePublisher::CheckVersion(const Text& version, Text& error) {
    // The version is compared byte for byte with "version.txt", which is
    // read untrimmed, and with "@1/@1", which is read trimmed: white space
    // would make every client see an update forever.
    const bool plain = !version.empty() && std::all_of(version.begin(), version.end(), [](char c) {
        return static_cast<unsigned char>(c) > 0x20 && c != 0x7F;
    });
    if (!plain) error = "版本号不能为空，也不能含有空白或控制字符: \"" + Shown(version) + "\"";
    return plain;
}

bool ReleasePublisher::ReadNotes(const ReleaseRequest& request, Text& notes, Text& error) {
    Bytes bytes;
    if (!ReadRegularFile(request.notesFile, kLargestNotesFile, bytes)) {
        error = "无法读取说明文件 (不存在、不是普通文件或大于 1 MiB): " + Shown(TextOfPath(request.notesFile));
        return false;
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (!DecodeReleaseNotes(text, request.notesEncoding, notes, error)) {
        error += ": " + Shown(TextOfPath(request.notesFile));
        return false;
    }
    return true;
}

bool ReleasePublisher::ListReleaseFiles(const fs::path& root, std::vector<Text>& names, Text& error) {
    std::error_code ec;
    if (!fs::is_directory(root, ec)) {
        error = "发布目录不存在: " + Shown(TextOfPath(root));
        return false;
    }
    // Links are not followed: a release holds its own files only. Anything
    // but folders and regular files is refused, never skipped in silence.
    std::map<Text, Text> byKey;
    for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::file_type type = it->symlink_status(ec).type();
        if (ec || type == fs::file_type::directory) continue;
        const fs::path relative = it->path().lexically_relative(root);
        if (type != fs::file_type::regular) {
            error = "发布目录中有链接、管道或设备等非普通文件: " + Shown(TextOfPath(relative));
            return false;
        }
        Text name;
        if (!NameOf(relative, name, error)) return false;
        const Text problem = NameProblem(name);
        if (!problem.empty()) {
            error = problem + Shown(name);
            return false;
        }
        // Names that differ only in the case of letters are one file on Windows.
        const auto [other, added] = byKey.emplace(FileNameKey(name), name);
        if (!added) {
            error = "两个文件在 Windows 上是同一个文件: " + Shown(other->second) + " 与 " + Shown(name);
            return false;
        }
    }
    if (ec) {
        error = "无法读取发布目录: " + Shown(TextOfPath(root));
        return false;
    }
    if (byKey.empty()) {
        error = "发布目录中没有文件: " + Shown(TextOfPath(root));
        return false;
    }
    names.clear();
    for (const auto& entry : byKey) names.push_back(entry.second);
    std::sort(names.begin(), names.end());  // a stable order: by the names' bytes
    return true;
}

bool ReleasePublisher::CheckFolders(const ReleaseRequest& request, Text& error) {
    // A server folder inside the release would be published with the next
    // release, and its documents with it.
    std::error_code ec;
    const fs::path release = fs::weakly_canonical(request.releaseDir, ec);
    const fs::path server = fs::weakly_canonical(request.serverDir, ec);
    if (!release.empty() &&
        std::mismatch(release.begin(), release.end(), server.begin(), server.end()).first == release.end()) {
        error = "服务器目录不能在发布目录之内: " + Shown(TextOfPath(request.serverDir));
        return false;
    }
    fs::create_directories(request.serverDir, ec);
    if (!fs::is_directory(request.serverDir, ec)) {
        error = "无法创建服务器目录: " + Shown(TextOfPath(request.serverDir));
        return false;
    }
    return true;
}

bool ReleasePublisher::Publish(const ReleaseRequest& request, Text& summary, Text& error) {
    VersionDocument document{request.version, {}};
    std::vector<Text> names;
    if (!CheckVersion(request.version, error) || !ReadNotes(request, document.notes, error) ||
        !ListReleaseFiles(request.releaseDir, names, error) || !CheckFolders(request, error)) {
        return false;
    }
    XmlTree version;
    if (!BuildVersionDocument(document, static_cast<int>(names.size()), version)) {
        error = "说明文字无法写入版本文档: " + Shown(TextOfPath(request.notesFile));
        return false;
    }

    PublishTransaction transaction(request.serverDir);
    std::vector<ListedFile> files;
    for (const Text& name : names) {
        // The digest is that of the copies the server will hand out.
        const fs::path source = ServedPaths(request.releaseDir, name).front();
        Text digest;
        Text sha256;
        for (const fs::path& target : ServedPaths(request.serverDir, name)) {
            if (!transaction.StageCopy(target, source, digest, sha256, error)) return false;
        }
        files.push_back({name, digest, sha256, {}});
    }
    XmlTree list;
    Text listText;
    Text versionText;
    if (!BuildFileList(files, list, request.version) || !list.SaveText(listText) || !version.SaveText(versionText)) {
        error = "无法生成更新文档";
        return false;
    }
    // The signatures are over the exact bytes served.
    std::string listSignature;
    std::string versionSignature;
    const bool signing = !request.privateKey.empty();
    if (signing && (!SignDocument(request.privateKey, listText, listSignature, error) ||
                    !SignDocument(request.privateKey, versionText, versionSignature, error))) {
        return false;
    }
    const Text documents[] = {listSignature, listText, versionSignature, versionText, request.version};
    for (std::size_t i = 0; i < std::size(kServerDocuments); ++i) {
        const fs::path target = request.serverDir / kServerDocuments[i];
        if (documents[i].empty() && !signing) continue;  // no signature to write
        if (!transaction.StageBytes(target, documents[i], error)) return false;
    }
    if (!transaction.Commit(error)) return false;
    summary = "已发布 " + request.version + ": " + ToText(static_cast<std::int32_t>(files.size())) +
              " 个文件, 位于 " + Shown(TextOfPath(request.serverDir)) + "\n";
    return true;
}

}  // namespace qh
