// A release folder, its notes and a server folder for the publisher's tests.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "tests/support/temp_folder.h"
#include "tools/qinghe-publish/publish_command.h"

namespace qh::test {

// A release of three files, one of them in a Chinese folder, and its notes.
class PublishCommand : public ::testing::Test {
protected:
    PublishCommand() {
        work.Write("release/QingheCalc.exe", "MZ calculator");
        work.Write("release/skin/bg.png", std::string("\x89PNG\r\n\x1a\n\0\xff", 10));
        work.Write(u8"release/皮肤/背景.png", "background");
        work.Write("notes.txt", reinterpret_cast<const char*>(u8"修正了月供的计算。\n新增车贷页。"));
    }

    ToolOutput Publish(const Text& version = "1.0.0.506") {
        return RunPublishCommand({"--release", work.File("release"), "--version", version, "--notes",
                                  work.File("notes.txt"), "--out", Server()});
    }
    ToolOutput Check() { return RunPublishCommand({"--check", Server()}); }
    Text Server() const { return work.File("server"); }
    std::filesystem::path ServerPath() const { return work.Path() / "server"; }

    // Every file under the server folder with its bytes, to compare the
    // folder before and after a publish.
    std::map<std::string, std::string> ServedFiles() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(ServerPath())) {
            if (!entry.is_symlink() && entry.is_regular_file()) {
                files[entry.path().lexically_relative(ServerPath()).string()] =
                    work.Read(entry.path().lexically_relative(work.Path()));
            }
        }
        return files;
    }

    test::TempFolder work;
};

}  // namespace qh::test
