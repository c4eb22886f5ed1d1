#include "tools/qinghe-publish/publish_transaction.h"

#include <random>
#include <system_error>

#include "runtime/digest.h"
#include "runtime/native_file.h"
#include "tools/common/tool_output.h"

namespace qh {
namespace {

namespace fs = std::filesystem;

// A name beside target that no earlier publish or other writer uses.
fs::path TemporaryBeside(const fs::path& target) {
    static std::mt19937_64 random{std::random_device{}()};
    fs::path temporary = target;
    temporary += ".publishing-" + std::to_string(random());
    return temporary;
}


}  // namespace

PublishTransaction::PublishTransaction(fs::path serverDir) : server_(std::move(serverDir)) {}

PublishTransaction::~PublishTransaction() {
    if (committed_) return;
    std::error_code ignored;
    for (const Staged& staged : staged_) fs::remove(staged.temporary, ignored);
}

bool PublishTransaction::PrepareTarget(const fs::path& target, Text& error) {
    // Walk from the server folder down to the target's folder: a missing
    // folder is made, a link or anything but a folder stops the publish.
    fs::path folder = server_;
    const fs::path relative = target.lexically_relative(server_);
    for (auto level = relative.begin(); level != relative.end(); ++level) {
        const bool last = std::next(level) == relative.end();
        if (!last) folder /= *level;
        const fs::path& here = last ? target : folder;
        std::error_code ec;
        const fs::file_status status = fs::symlink_status(here, ec);
        if (status.type() == fs::file_type::not_found) {
            if (!last && !fs::create_directory(here, ec) && ec) {
                error = "无法创建目录: " + Shown(TextOfPath(here));
                return false;
            }
            continue;
        }
        const fs::file_type wanted = last ? fs::file_type::regular : fs::file_type::directory;
        if (ec || status.type() != wanted) {
            error = (status.type() == fs::file_type::symlink ? "服务器目录中有链接, 不会写入: "
                                                             : "服务器目录中有类型不对的项目, 不会写入: ") +
                    Shown(TextOfPath(here));
            return false;
        }
    }
    return true;
}

bool PublishTransaction::Stage(const fs::path& target, std::string_view data, const fs::path* source,
                               ListedFile& written, Text& error) {
    if (!PrepareTarget(target, error)) return false;
    NativeFile out;
    fs::path temporary;
    for (int attempt = 0; attempt < 8 && !out.IsOpen(); ++attempt) {
        temporary = TemporaryBeside(target);
        out.CreateNew(temporary);
    }
    if (!out.IsOpen()) {
        error = "无法写入: " + Shown(TextOfPath(target));
        return false;
    }
    staged_.push_back({temporary, target});

    ListingDigests digests;
    bool ok = true;
    if (source) {
        NativeFile in;
        if (!in.OpenRegular(*source)) {
            error = "无法读取发布的文件 (或它不是普通文件): " + Shown(TextOfPath(*source));
            return false;
        }
        char block[1 << 16];
        for (std::int64_t n; ok && (n = in.Read(block, sizeof block)) != 0;) {
            ok = n > 0 && out.Write(std::string_view(block, static_cast<std::size_t>(n)));
            if (!ok) break;
            digests.Add(block, static_cast<std::size_t>(n));
        }
        if (!ok) {
            error = "无法复制: " + Shown(TextOfPath(*source));
            return false;
        }
    } else {
        ok = out.Write(data);
        digests.Add(data.data(), data.size());
    }
    if (!ok || !out.Sync() || !out.Close()) {
        error = "无法写入: " + Shown(TextOfPath(target));
        return false;
    }
    digests.Fill(written);
    return true;
}

bool PublishTransaction::StageCopy(const fs::path& target, const fs::path& source, ListedFile& copied,
                                   Text& error) {
    return Stage(target, {}, &source, copied, error);
}

bool PublishTransaction::StageBytes(const fs::path& target, std::string_view data, Text& error) {
    ListedFile written;
    return Stage(target, data, nullptr, written, error);
}

bool PublishTransaction::Commit(Text& error) {
    for (std::size_t i = 0; i < staged_.size(); ++i) {
        if (!MoveIntoPlace(staged_[i].temporary, staged_[i].target)) {
            // What is moved already stays; the rest is removed with the
            // transaction. The documents come last, so the list still
            // names the version that was served.
            staged_.erase(staged_.begin(), staged_.begin() + static_cast<std::ptrdiff_t>(i));
            error = "无法放到位: " + Shown(TextOfPath(staged_.front().target));
            return false;
        }
        SyncFolder(staged_[i].target.parent_path());
    }
    committed_ = true;
    return true;
}

}  // namespace qh
