#include "tools/qinghe-publish/release_publisher.h"

#include <algorithm>
#include <map>
#include <string_view>
#include <system_error>

#include "renew/file_list.h"
#include "renew/file_names.h"
#include "renew/version_document.h"
#include "renew/version_order.h"
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


// A version is four numbers joined by dots ("1.0.0.506"), each of at most
// the nine digits that the updater's comparison reads.
constexpr std::size_t kVersionNumbers = 4;
constexpr std::size_t kMostVersionDigits = 9;

// The served documents that name the version already on the server; no
// version document comes near the size limit.
constexpr const char* kServedVersionDocuments[] = {"version.txt", "renew.xml"};
constexpr std::size_t kLargestVersionDocument = std::size_t{64} << 20;


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

// Whether a version is four plain decimal numbers that the updater's
// comparison can read. A leading zero is refused: "1.0.0.0506" and
// "1.0.0.506" are one version to the comparison but two texts to the check
// that compares "version.txt" with the installed version, so clients would
// be offered an update that the updater then refuses, at every start.
bool IsFourNumbers(const Text& version) {
    std::size_t numbers = 0;
    for (std::size_t begin = 0; begin <= version.size(); ++numbers) {
        std::size_t end = version.find('.', begin);
        if (end == Text::npos) end = version.size();
        const std::string_view number(version.data() + begin, end - begin);
        const bool plain = !number.empty() && number.size() <= kMostVersionDigits &&
                           std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
                           (number.size() == 1 || number.front() != '0');
        if (!plain) return false;
        begin = end + 1;
    }
    return numbers == kVersionNumbers;
}

// The version a served document names, read as the clients read it; empty
// when the document is not there. False when it is there but names none.
bool ServedVersion(const fs::path& server, const char* document, Text& version) {
    version.clear();
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(server / document, ec))) return true;
    Bytes bytes;
    if (!ReadRegularFile(server / document, kLargestVersionDocument, bytes)) return false;
    if (document == std::string_view("version.txt")) {
        version.assign(bytes.begin(), bytes.end());
        return true;
    }
    XmlTree tree;
    VersionDocument served;
    if (!tree.LoadBytes(bytes) || !ReadVersionDocument(tree, served)) return false;
    version = served.version;
    return true;
}

}  // namespace

bool IsBannerFile(const Text& name) {
    return std::any_of(std::begin(kBannerFiles), std::end(kBannerFiles),
                       [&](const char* banner) { return name == banner; });
}

bool ReleasePublisher::CheckVersion(const Text& version, Text& error) {
    // The updater that carries the maker's key takes only a version above
    // the installed one, by number; anything but four numbers could never
    // be installed by it.
    if (!IsFourNumbers(version)) {
        error = "版本号须是以点分隔的四个十进制数 (如 1.0.0.506), 每个数不超过 9 位且不以 0 开头: \"" +
                Shown(version) + "\"";
        return false;
    }
    return true;
}

bool ReleasePublisher::CheckAboveServed(const ReleaseRequest& request, Text& error) {
    // Publishing an older or the same version over a newer one would offer
    // clients a release that the keyed updater refuses as a step back.
    for (const char* document : kServedVersionDocuments) {
        Text served;
        if (!ServedVersion(request.serverDir, document, served) || (!served.empty() && !IsFourNumbers(served))) {
            error = Text("服务器目录中的 ") + document + " 读不出可比较的版本号, 请先核对该目录: " +
                    Shown(TextOfPath(request.serverDir));
            return false;
        }
        if (served.empty()) continue;
        const std::optional<int> order = CompareVersions(request.version, served);
        if (!order || *order <= 0) {
            error = "版本号 " + Shown(request.version) + " 不高于服务器上已发布的版本 " + Shown(served) + " (" +
                    document + "), 不会发布";
            return false;
        }
    }
    return true;
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
        !ListReleaseFiles(request.releaseDir, names, error) || !CheckFolders(request, error) ||
        !CheckAboveServed(request, error)) {
        return false;
    }
    XmlTree version;
    const auto installed =
        std::count_if(names.begin(), names.end(), [](const Text& name) { return !IsBannerFile(name); });
    if (!BuildVersionDocument(document, static_cast<int>(installed), version)) {
        error = "说明文字无法写入版本文档: " + Shown(TextOfPath(request.notesFile));
        return false;
    }

    PublishTransaction transaction(request.serverDir);
    std::vector<ListedFile> files;
    std::vector<ListedFile> banner;
    for (const Text& name : names) {
        // The digests are those of the copies the server will hand out.
        const fs::path source = ServedPaths(request.releaseDir, name).front();
        ListedFile copied{name, {}, {}, {}};
        for (const fs::path& target : ServedPaths(request.serverDir, name)) {
            if (!transaction.StageCopy(target, source, copied, error)) return false;
        }
        (IsBannerFile(name) ? banner : files).push_back(copied);
    }
    XmlTree list;
    Text listText;
    Text versionText;
    if (!BuildFileList(files, list, request.version, banner) || !list.SaveText(listText) ||
        !version.SaveText(versionText)) {
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
