// Publishing safely: a failed publish changes nothing that is served, two
// names that are one file on Windows or too long to stage are refused, and
// paths are used as the system gave them.
#include "tools/qinghe-publish/release_publisher.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "renew/file_list.h"
#include "runtime/digest.h"
#include "runtime/xml/xml_tree.h"
#include "tests/tools/qinghe-publish/publish_fixture.h"
#include "tools/qinghe-publish/served_paths.h"

namespace qh {
namespace {

namespace fs = std::filesystem;
using test::PublishCommand;

TEST_F(PublishCommand, AFailedPublishLeavesTheServedVersionIntact) {
    ASSERT_EQ(Publish().status, kPublishOk);
    const auto before = ServedFiles();
    // Version 2 changes two files and adds a third whose place in the server
    // folder is taken by a folder, so the publish fails after the others
    // were copied.
    work.Write("release/QingheCalc.exe", "MZ calculator 2");
    work.Write("release/skin/bg.png", "new picture");
    work.Write("release/zz.txt", "new file");
    fs::create_directories(ServerPath() / "zz.txt");
    const ToolOutput failed = Publish("1.0.0.507");
    EXPECT_EQ(failed.status, kPublishFailed);
    EXPECT_NE(failed.error.find("zz.txt"), Text::npos) << failed.error;

    EXPECT_EQ(ServedFiles(), before);  // no temporaries left, nothing replaced
    EXPECT_EQ(work.Read("server/version.txt"), "1.0.0.506");
    fs::remove(ServerPath() / "zz.txt");
    EXPECT_EQ(Check().status, kPublishOk) << Check().out;
}

TEST_F(PublishCommand, NamesThatAreOneFileOnWindowsAreRefused) {
    // Whether a release folder can hold both spellings depends on its file
    // system; where it can, the publish must refuse them.
    work.Write("release/Skin/BG.png", "other picture");
    if (!fs::exists(work.Path() / "release" / "skin" / "bg.png") ||
        fs::equivalent(work.Path() / "release" / "Skin" / "BG.png", work.Path() / "release" / "skin" / "bg.png")) {
        GTEST_SKIP() << "this file system folds the case of names itself";
    }
    const ToolOutput output = Publish();
    EXPECT_EQ(output.status, kPublishFailed);
    EXPECT_NE(output.error.find("同一个文件"), Text::npos) << output.error;
    EXPECT_FALSE(fs::exists(ServerPath() / "renewlist.xml"));
}

TEST_F(PublishCommand, NamesTooLongToStageAreRefused) {
    work.Write("release/" + std::string(124, 'a') + ".txt", "x");  // 128 bytes
    const ToolOutput output = Publish();
    EXPECT_EQ(output.status, kPublishFailed);
    EXPECT_NE(output.error.find("127 字节"), Text::npos) << output.error;
}

TEST_F(PublishCommand, PathsOutsideGbkAreUsedAsGiven) {
    // "한" has no GBK form: its text is "?", but the folder is the one typed.
    const fs::path server = work.Path() / fs::path(std::u8string(u8"srv\xED\x95\x9C"));
    ToolArgument out{"srv?", false, server};
    const ToolOutput output = RunPublishCommand(std::vector<ToolArgument>{
        ArgumentOfText("--release"), ArgumentOfText(work.File("release")), ArgumentOfText("--version"),
        ArgumentOfText("1.0.0.506"), ArgumentOfText("--notes"), ArgumentOfText(work.File("notes.txt")),
        ArgumentOfText("--out"), out});
    ASSERT_EQ(output.status, kPublishOk) << output.error;
    EXPECT_TRUE(fs::is_regular_file(server / "renewlist.xml"));
    EXPECT_FALSE(fs::exists(work.Path() / "srv?"));
}

TEST_F(PublishCommand, AVersionOutsideGbkIsRefused) {
    const ToolOutput output = RunPublishCommand(std::vector<ToolArgument>{
        ArgumentOfText("--release"), ArgumentOfText(work.File("release")), ArgumentOfText("--version"),
        ToolArgument{"1.0-?", false, {}}, ArgumentOfText("--notes"), ArgumentOfText(work.File("notes.txt")),
        ArgumentOfText("--out"), ArgumentOfText(Server())});
    EXPECT_EQ(output.status, kPublishUsageError);
    EXPECT_NE(output.error.find("GBK"), Text::npos) << output.error;
    EXPECT_FALSE(fs::exists(ServerPath()));
}

TEST_F(PublishCommand, NotesAreReadInTheEncodingTheMakerNames) {
    // "些伞伪位" in GBK is also valid UTF-8 (Cyrillic and Greek letters):
    // only the maker can say which it is.
    work.Write("notes-gbk.txt", "些伞伪位");
    auto publish = [&](std::vector<Text> extra) {
        std::vector<Text> arguments{"--release", work.File("release"), "--version", "1.0.0.506",
                                    "--notes", work.File("notes-gbk.txt"), "--out", Server()};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return RunPublishCommand(arguments);
    };
    ASSERT_EQ(publish({"--notes-encoding", "gbk"}).status, kPublishOk);
    EXPECT_NE(work.Read("server/renew.xml").find("些伞伪位"), std::string::npos);

    work.Write("notes-gbk.txt", "\xD0\xDE\xD5\xFD\x80");  // GBK with a stray byte
    EXPECT_EQ(publish({"--notes-encoding", "gbk"}).status, kPublishFailed);
    EXPECT_EQ(publish({}).status, kPublishFailed);  // nor is it UTF-8
    EXPECT_EQ(publish({"--notes-encoding", "latin1"}).status, kPublishUsageError);
}

TEST_F(PublishCommand, RefusesAVersionNotAboveTheServersRelease) {
    ASSERT_EQ(Publish().status, kPublishOk);  // 1.0.0.506
    const auto before = ServedFiles();
    // The same version, an older one, and one whose text sorts above but
    // whose number is below; version.txt alone counts as much as renew.xml.
    struct Case {
        const char* version;
        const char* servedVersionText;  // written over version.txt; null: as published
    };
    for (const Case& c : {Case{"1.0.0.506", nullptr}, Case{"1.0.0.99", nullptr}, Case{"0.9.9.999", nullptr},
                          Case{"1.0.0.507", "1.0.0.600"}}) {
        if (c.servedVersionText) work.Write("server/version.txt", c.servedVersionText);
        const ToolOutput output = Publish(c.version);
        EXPECT_EQ(output.status, kPublishFailed) << c.version;
        EXPECT_NE(output.error.find("不高于服务器上已发布的版本"), Text::npos) << output.error;
        work.Write("server/version.txt", "1.0.0.506");
        EXPECT_EQ(ServedFiles(), before) << c.version;
    }
    // A served version that cannot be compared stops the publish too.
    work.Write("server/version.txt", "1.0 beta");
    EXPECT_EQ(Publish("1.0.0.507").status, kPublishFailed);
    work.Write("server/version.txt", "1.0.0.506");
    // Numbers, not texts: 1000 is above 506.
    const ToolOutput above = Publish("1.0.0.1000");
    EXPECT_EQ(above.status, kPublishOk) << above.error;
}

TEST_F(PublishCommand, TheBannerIsListedWithDigestsAndSizesAndNeverAsAFileToInstall) {
    work.Write("release/renew_ad.png", "banner picture");
    work.Write("release/renew_ad.txt", "http://www.example.cn/");
    work.Write("release/skin/renew_ad.png", "an ordinary file of the program");
    ASSERT_EQ(Publish().status, kPublishOk);
    XmlTree tree;
    ASSERT_TRUE(tree.LoadFile(Server() + "\\renewlist.xml"));
    std::vector<ListedFile> files;
    ASSERT_TRUE(ReadFileList(tree, files));
    std::vector<Text> names;
    for (const ListedFile& file : files) {
        names.push_back(file.name);
        EXPECT_EQ(file.size, fs::file_size(ServedPaths(work.Path() / "release", file.name).front())) << file.name;
    }
    EXPECT_EQ(names, (std::vector<Text>{"QingheCalc.exe", "skin\\bg.png", "skin\\renew_ad.png", "皮肤\\背景.png"}));

    const std::vector<ListedFile> banner = ReadBannerList(tree);
    ASSERT_EQ(banner.size(), 2u);
    for (const ListedFile& resource : banner) {
        const Text served = work.File("server\\" + resource.name);
        EXPECT_EQ(resource.hash, FileDigest(served)) << resource.name;
        EXPECT_EQ(resource.sha256, FileSha256(served)) << resource.name;
        EXPECT_EQ(resource.size, work.Read("release/" + resource.name).size()) << resource.name;
    }
    EXPECT_EQ(banner[0].name, "renew_ad.png");
    EXPECT_EQ(work.Read("server/renew_ad.txt"), "http://www.example.cn/");
    const ToolOutput checked = Check();
    EXPECT_EQ(checked.status, kPublishOk) << checked.out;
    EXPECT_NE(checked.out.find("2 个横幅文件"), Text::npos) << checked.out;
}

}  // namespace
}  // namespace qh
