#include "tools/qinghe-publish/release_publisher.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "renew/file_list.h"
#include "renew/file_names.h"
#include "renew/version_document.h"
#include "runtime/convert.h"
#include "runtime/digest.h"
#include "runtime/files.h"
#include "runtime/system.h"
#include "runtime/xml/xml_tree.h"
#include "tools/qinghe-publish/served_paths.h"

namespace qh {
namespace {

namespace fs = std::filesystem;

// The documents the publisher writes beside the release's files.
constexpr const char* kServerDocuments[] = {"renew.xml", "renewlist.xml", "version.txt"};

// Whether bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool IsUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > s.size()) return false;
        std::uint32_t code = length == 1 ? c : c & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(s[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        constexpr std::uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

bool IsServerDocument(const Text& name) {
    return std::any_of(std::begin(kServerDocuments), std::end(kServerDocuments),
                       [&](const char* document) { return name == document; });
}

// The release-relative name of a file, levels joined by "\"; false when a
// level cannot be written in GBK or holds a backslash of its own.
bool NameOf(const fs::path& relative, Text& name, Text& error) {
    Text joined;
    for (const fs::path& level : relative) {
        const Text text = TextOfPath(level);
        if (PathOfText(text) != level || text.find_first_of("\\/") != Text::npos) {
            error = "文件名含有 GBK 无法表示或更新无法使用的字符: " + TextOfPath(relative);
            return false;
        }
        joined += (joined.empty() ? "" : "\\") + text;
    }
    name = joined;
    return true;
}

}  // namespace

bool ReleasePublisher::CheckVersion(const Text& version, Text& error) {
    // The version is compared byte for byte with "version.txt", which is
    // read untrimmed, and with "@1/@1", which is read trimmed: white space
    // would make every client see an update forever.
    const bool plain = !version.empty() && std::all_of(version.begin(), version.end(), [](char c) {
        return static_cast<unsigned char>(c) > 0x20 && c != 0x7F;
    });
    if (!plain) error = "版本号不能为空，也不能含有空白或控制字符: \"" + version + "\"";
    return plain;
}

bool ReleasePublisher::ReadNotes(const Text& file, Text& notes, Text& error) {
    Bytes bytes;
    if (!ReadWholeFile(file, bytes)) {
        error = "无法读取说明文件: " + file;
        return false;
    }
    std::string text(bytes.begin(), bytes.end());
    if (!IsUtf8(text)) {
        notes = text;  // taken as GBK already
        return true;
    }
    if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
    const Text gbk = System().Utf8ToGbk(text);
    if (System().GbkToUtf8(gbk) != text) {
        error = "说明文件含有 GBK 无法表示的字符: " + file;
        return false;
    }
    notes = gbk;
    return true;
}

bool ReleasePublisher::ListReleaseFiles(const Text& releaseDir, std::vector<Text>& names, Text& error) {
    const fs::path root = PathOfText(releaseDir);
    std::error_code ec;
    if (!fs::is_directory(root, ec)) {
        error = "发布目录不存在: " + releaseDir;
        return false;
    }
    std::vector<Text> found;
    for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        Text name;
        if (!NameOf(it->path().lexically_relative(root), name, error)) return false;
        if (!IsAllowedFileName(name) || IsServerDocument(name)) {
            error = "这个文件名不能用于更新: " + name;
            return false;
        }
        found.push_back(name);
    }
    if (ec) {
        error = "无法读取发布目录: " + releaseDir;
        return false;
    }
    if (found.empty()) {
        error = "发布目录中没有文件: " + releaseDir;
        return false;
    }
    std::sort(found.begin(), found.end());  // a stable order: by the names' bytes
    names = std::move(found);
    return true;
}

bool ReleasePublisher::CopyServedFiles(const Text& releaseDir, const Text& serverDir,
                                       const std::vector<Text>& names, Text& error) {
    const fs::path from = PathOfText(releaseDir);
    const fs::path to = PathOfText(serverDir);
    for (const Text& name : names) {
        const fs::path source = ServedPaths(from, name).front();
        for (const fs::path& target : ServedPaths(to, name)) {
            // Each copy is put in place whole, so a client that downloads
            // meanwhile gets the old file or the new one, never a mixture.
            fs::path partial = target;
            partial += ".publishing";
            std::error_code ec;
            fs::create_directories(target.parent_path(), ec);
            const bool copied = !ec && fs::copy_file(source, partial, fs::copy_options::overwrite_existing, ec);
            if (copied) fs::rename(partial, target, ec);
            if (!copied || ec) {
                fs::remove(partial, ec);
                error = "无法写入: " + TextOfPath(target);
                return false;
            }
        }
    }
    return true;
}

bool ReleasePublisher::Publish(const ReleaseRequest& request, Text& summary, Text& error) {
    VersionDocument document{request.version, {}};
    std::vector<Text> names;
    if (!CheckVersion(request.version, error) || !ReadNotes(request.notesFile, document.notes, error) ||
        !ListReleaseFiles(request.releaseDir, names, error)) {
        return false;
    }
    XmlTree version;
    if (!BuildVersionDocument(document, static_cast<int>(names.size()), version)) {
        error = "说明文字无法写入版本文档: " + request.notesFile;
        return false;
    }
    // A server folder inside the release would be published with the next
    // release, and its documents with it.
    std::error_code ec;
    const fs::path release = fs::weakly_canonical(PathOfText(request.releaseDir), ec);
    const fs::path server = fs::weakly_canonical(PathOfText(request.serverDir), ec);
    if (!release.empty() &&
        std::mismatch(release.begin(), release.end(), server.begin(), server.end()).first == release.end()) {
        error = "服务器目录不能在发布目录之内: " + request.serverDir;
        return false;
    }
    if (!CopyServedFiles(request.releaseDir, request.serverDir, names, error)) return false;

    // The digests are those of the copies the server will hand out.
    std::vector<ListedFile> files;
    for (const Text& name : names) files.push_back({name, FileDigest(request.serverDir + "\\" + name)});
    XmlTree list;
    const Text listFile = request.serverDir + "\\renewlist.xml";
    const Text versionFile = request.serverDir + "\\renew.xml";
    const Text versionText = request.serverDir + "\\version.txt";
    if (!BuildFileList(files, list) || !list.Save(listFile)) {
        error = "无法写入: " + listFile;
        return false;
    }
    if (!version.Save(versionFile)) {
        error = "无法写入: " + versionFile;
        return false;
    }
    if (!WriteWholeFile(versionText, request.version)) {
        error = "无法写入: " + versionText;
        return false;
    }
    summary = "已发布 " + request.version + ": " + ToText(static_cast<std::int32_t>(files.size())) +
              " 个文件, 位于 " + request.serverDir + "\n";
    return true;
}

}  // namespace qh
