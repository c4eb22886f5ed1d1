// qinghe-publish from the maker's side: publish a release folder, check the
// server folder, and see the check fail once the folder is tampered with.
#include "tools/qinghe-publish/publish_command.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "renew/file_list.h"
#include "renew/version_document.h"
#include "runtime/digest.h"
#include "runtime/xml/xml_tree.h"
#include "tests/tools/qinghe-publish/publish_fixture.h"
#include "tools/qinghe-publish/served_paths.h"

namespace qh {
namespace {

namespace fs = std::filesystem;
using test::PublishCommand;

TEST_F(PublishCommand, APublishedFolderPassesTheCheck) {
    const ToolOutput published = Publish();
    ASSERT_EQ(published.status, kPublishOk) << published.error;
    EXPECT_EQ(work.Read("server/version.txt"), "1.0.0.506");

    XmlTree tree;
    ASSERT_TRUE(tree.LoadFile(Server() + "\\renew.xml"));
    VersionDocument document;
    ASSERT_TRUE(ReadVersionDocument(tree, document));
    EXPECT_EQ(document.version, "1.0.0.506");
    EXPECT_EQ(document.notes, "修正了月供的计算。\n新增车贷页。");

    ASSERT_TRUE(tree.LoadFile(Server() + "\\renewlist.xml"));
    std::vector<ListedFile> files;
    ASSERT_TRUE(ReadFileList(tree, files));
    ASSERT_EQ(files.size(), 3u);
    // In the order of the names' bytes, with "\" between levels.
    EXPECT_EQ(files[0].name, "QingheCalc.exe");
    EXPECT_EQ(files[1].name, "skin\\bg.png");
    EXPECT_EQ(files[2].name, "皮肤\\背景.png");
    EXPECT_EQ(files[0].hash, FileDigest(work.File("release\\QingheCalc.exe")));
    EXPECT_EQ(files[2].hash, FileDigest(work.File("release\\皮肤\\背景.png")));

    // The file with levels is where a client finds it, in every served form.
    for (const fs::path& served : ServedPaths(work.Path() / "server", "skin\\bg.png")) {
        EXPECT_TRUE(fs::is_regular_file(served)) << served;
    }
    EXPECT_TRUE(fs::is_regular_file(work.Path() / "server" / "skin" / "bg.png"));

    const ToolOutput checked = Check();
    EXPECT_EQ(checked.status, kPublishOk) << checked.out;
    EXPECT_NE(checked.out.find("3 个文件"), Text::npos) << checked.out;
}

TEST_F(PublishCommand, PublishingAgainReplacesTheRelease) {
    ASSERT_EQ(Publish().status, kPublishOk);
    work.Write("release/skin/bg.png", "new picture");
    ASSERT_EQ(Publish("1.0.0.507").status, kPublishOk);
    EXPECT_EQ(work.Read("server/skin/bg.png"), "new picture");
    EXPECT_EQ(work.Read("server/version.txt"), "1.0.0.507");
    EXPECT_EQ(Check().status, kPublishOk);
}

TEST_F(PublishCommand, ATamperedFolderFailsTheCheckWithOneLinePerProblem) {
    ASSERT_EQ(Publish().status, kPublishOk);
    work.Write("server/skin/bg.png", "changed");
    fs::remove(work.Path() / "server" / "QingheCalc.exe");
    const ToolOutput checked = Check();
    EXPECT_EQ(checked.status, kPublishFailed);
    EXPECT_NE(checked.out.find("skin\\bg.png: 摘要"), Text::npos) << checked.out;
    EXPECT_NE(checked.out.find("QingheCalc.exe: 缺失"), Text::npos) << checked.out;
    EXPECT_EQ(checked.out.find("背景"), Text::npos) << checked.out;
}

TEST_F(PublishCommand, TheCheckRefusesNamesAndDocumentsThatTheProgramsWouldNotTake) {
    ASSERT_EQ(Publish().status, kPublishOk);
    work.Write("server/renewlist.xml",
               "<l><f Name=\"..\\evil.dll\" Hash=\"D41D8CD98F00B204E9800998ECF8427E\"/>"
               "<f Name=\"QingheCalc.exe\" Hash=\"xyz\"/></l>");
    work.Write("server/version.txt", "1.0.0.506\r\n");
    const ToolOutput checked = Check();
    EXPECT_EQ(checked.status, kPublishFailed);
    EXPECT_NE(checked.out.find("\"..\\evil.dll\": 文件名不允许"), Text::npos) << checked.out;
    EXPECT_NE(checked.out.find("QingheCalc.exe: Hash 不是 MD5 摘要"), Text::npos) << checked.out;
    EXPECT_NE(checked.out.find("version.txt: 与 renew.xml 的版本"), Text::npos) << checked.out;
}

TEST_F(PublishCommand, AnEmptyFolderFailsTheCheck) {
    const ToolOutput checked = Check();
    EXPECT_EQ(checked.status, kPublishFailed);
    for (const char* document : {"renew.xml:", "version.txt:", "renewlist.xml:"}) {
        EXPECT_NE(checked.out.find(document), Text::npos) << document;
    }
}

TEST_F(PublishCommand, BadCommandLinesGetTheUsage) {
    for (const std::vector<Text>& arguments : std::vector<std::vector<Text>>{
             {}, {"--bogus", "x"}, {"--check"}, {"--check", "a", "--out", "b"}, {"--release", "a", "--release", "b"},
             {"--release", "a", "--version", "1", "--notes", "n"}, {"--key-pub", "k"},
             {"--check", "a", "--key-pub", "k", "--out", "b"}}) {
        const ToolOutput output = RunPublishCommand(arguments);
        EXPECT_EQ(output.status, kPublishUsageError);
        EXPECT_NE(output.error.find("用法:"), Text::npos);
    }
}

TEST_F(PublishCommand, BadReleasesAreRefusedBeforeAnythingIsWritten) {
    for (const char* version : {"", "1.0 beta", "1.0.0.506\n", "1.0.0", "1.0.0.506.1", "1.0.0.0506", "1..0.506",
                                "1.0.0.1234567890", "1.0.0.5a", "1.0.0.-5"}) {
        const ToolOutput output = Publish(version);
        EXPECT_EQ(output.status, kPublishFailed) << version;
        EXPECT_NE(output.error.find("版本号"), Text::npos) << output.error;
    }
    EXPECT_FALSE(fs::exists(work.Path() / "server"));

    const ToolOutput noNotes = RunPublishCommand({"--release", work.File("release"), "--version", "1.0.0.506",
                                                     "--notes", work.File("missing.txt"), "--out", Server()});
    EXPECT_EQ(noNotes.status, kPublishFailed);
    EXPECT_NE(noNotes.error.find("missing.txt"), Text::npos);

    const ToolOutput noRelease = RunPublishCommand({"--release", work.File("missing"), "--version",
                                                       "1.0.0.506", "--notes", work.File("notes.txt"), "--out", Server()});
    EXPECT_EQ(noRelease.status, kPublishFailed);

    const ToolOutput inside = RunPublishCommand({"--release", work.File("release"), "--version",
                                                    "1.0.0.506", "--notes", work.File("notes.txt"), "--out",
                                                    work.File("release\\server")});
    EXPECT_EQ(inside.status, kPublishFailed);
    EXPECT_FALSE(fs::exists(work.Path() / "release" / "server"));
}

TEST_F(PublishCommand, AReleaseFileThatNoClientMayInstallIsRefused) {
    work.Write("release/update/config.xml", "would overwrite the state file");
    const ToolOutput output = Publish();
    EXPECT_EQ(output.status, kPublishFailed);
    EXPECT_NE(output.error.find("update\\config.xml"), Text::npos) << output.error;

    fs::remove_all(work.Path() / "release" / "update");
    work.Write("release/renew.xml", "would be overwritten by the version document");
    EXPECT_EQ(Publish().status, kPublishFailed);
    EXPECT_FALSE(fs::exists(work.Path() / "server"));
}

}  // namespace
}  // namespace qh
