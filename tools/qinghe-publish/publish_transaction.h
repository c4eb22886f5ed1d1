// Puts a release's new files into the server folder all at once. Every new
// file is first written whole beside its target under a temporary name; only
// when all of them are ready are they moved into place, in the order they
// were staged. A failure before that leaves the served version untouched,
// and the temporaries are removed.
//
// Nothing is written through a link: a temporary is created only where
// nothing has its name, and a folder on the way to a target, or the target
// itself, that is a link or not what it should be stops the publish.
#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

#include "renew/file_list.h"
#include "runtime/text.h"

namespace qh {

class PublishTransaction {
public:
    explicit PublishTransaction(std::filesystem::path serverDir);
    ~PublishTransaction();
    PublishTransaction(const PublishTransaction&) = delete;
    PublishTransaction& operator=(const PublishTransaction&) = delete;

    // Stages a copy of the regular file source for target (inside the
    // server folder); copied gets the MD5, SHA-256 and byte count of the
    // bytes written (its name is left alone).
    bool StageCopy(const std::filesystem::path& target, const std::filesystem::path& source, ListedFile& copied,
                   Text& error);
    // Stages bytes for target.
    bool StageBytes(const std::filesystem::path& target, std::string_view data, Text& error);
    // Moves every staged file into place.
    bool Commit(Text& error);

private:
    struct Staged {
        std::filesystem::path temporary;
        std::filesystem::path target;
    };
    bool PrepareTarget(const std::filesystem::path& target, Text& error);
    bool Stage(const std::filesystem::path& target, std::string_view data,
               const std::filesystem::path* source, ListedFile& written, Text& error);

    std::filesystem::path server_;
    std::vector<Staged> staged_;
    bool committed_ = false;
};

}  // namespace qh
