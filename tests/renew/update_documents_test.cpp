// The documents between the update server, the updater and the calculator.
#include <gtest/gtest.h>

#include "renew/file_list.h"
#include "renew/file_names.h"
#include "renew/installed_version.h"
#include "renew/state_file.h"
#include "renew/version_document.h"
#include "renew/version_order.h"
#include "runtime/digest.h"
#include "tests/support/temp_folder.h"

namespace qh {
namespace {

TEST(VersionDocument, ReadsTheVersionAndTheNotesByPosition) {
    XmlTree tree;
    ASSERT_TRUE(tree.LoadBytes("<x><v>1.0.0.506</v><a/><b/><n>修正了月供。\r\n新增车贷页。</n></x>"));
    VersionDocument document;
    ASSERT_TRUE(ReadVersionDocument(tree, document));
    EXPECT_EQ(document.version, "1.0.0.506");
    EXPECT_EQ(document.notes, "修正了月供。\r\n新增车贷页。");
}

TEST(VersionDocument, NoVersionTextIsAFailedQuery) {
    VersionDocument document{"kept", "kept"};
    XmlTree tree;
    EXPECT_FALSE(ReadVersionDocument(tree, document));
    ASSERT_TRUE(tree.LoadBytes("<x><v></v></x>"));
    EXPECT_FALSE(ReadVersionDocument(tree, document));
    ASSERT_TRUE(tree.LoadBytes("<x/>"));
    EXPECT_FALSE(ReadVersionDocument(tree, document));
    EXPECT_EQ(document.version, "kept");
}

TEST(VersionDocument, WhatThePublisherBuildsReadsBack) {
    XmlTree tree;
    ASSERT_TRUE(BuildVersionDocument({"1.0.0.506", "a < b & \"c\"\r\n第二行"}, 3, tree));
    Text saved;
    ASSERT_TRUE(tree.SaveText(saved));
    XmlTree reread;
    ASSERT_TRUE(reread.LoadBytes(saved));
    VersionDocument document;
    ASSERT_TRUE(ReadVersionDocument(reread, document));
    EXPECT_EQ(document.version, "1.0.0.506");
    EXPECT_EQ(document.notes, "a < b & \"c\"\r\n第二行");
}

TEST(FileList, ReadsNameAndHashOfEveryChildInOrder) {
    XmlTree tree;
    ASSERT_TRUE(tree.LoadBytes("<l><f Name=\"a\\b.png\" Hash=\"00\"/><g Hash=\"11\" Name=\"c.txt\"/><h/></l>"));
    std::vector<ListedFile> files;
    ASSERT_TRUE(ReadFileList(tree, files));
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0].name, "a\\b.png");
    EXPECT_EQ(files[0].hash, "00");
    EXPECT_EQ(files[1].name, "c.txt");
    EXPECT_EQ(files[1].hash, "11");
    EXPECT_EQ(files[2].name, "");  // the name check refuses it

    XmlTree empty;
    EXPECT_FALSE(ReadFileList(empty, files));
    EXPECT_EQ(files.size(), 3u);
}

TEST(FileList, AHashInEitherCaseMatchesTheFile) {
    test::TempFolder folder;
    folder.Write("empty.txt", "");
    XmlTree tree;
    ASSERT_TRUE(tree.LoadBytes("<l><f Name=\"empty.txt\" Hash=\"d41d8cd98f00b204e9800998ecf8427e\"/>"
                               "<f Name=\"empty.txt\" Hash=\"D41D8CD98F00B204E9800998ECF8427E\"/></l>"));
    std::vector<ListedFile> files;
    ASSERT_TRUE(ReadFileList(tree, files));
    for (const ListedFile& file : files) {
        EXPECT_FALSE(DigestsDiffer(file.hash, FileDigest(folder.File(file.name)))) << file.hash;
    }
}

// The list as the server hands it out: saved as text and read again.
void SaveAndReload(const XmlTree& tree, XmlTree& reread) {
    Text saved;
    ASSERT_TRUE(tree.SaveText(saved));
    ASSERT_TRUE(reread.LoadBytes(saved));
}

TEST(FileList, WhatThePublisherBuildsReadsBack) {
    const std::vector<ListedFile> files = {{"a.txt", "900150983CD24FB0D6963F7D28E17F72", "", {}},
                                           {"皮肤\\背景.png", kEmptyDigest, "", {}}};
    XmlTree tree;
    ASSERT_TRUE(BuildFileList(files, tree));
    XmlTree reread;
    ASSERT_NO_FATAL_FAILURE(SaveAndReload(tree, reread));
    std::vector<ListedFile> read;
    ASSERT_TRUE(ReadFileList(reread, read));
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[1].name, files[1].name);
    EXPECT_EQ(read[1].hash, files[1].hash);
}

TEST(FileList, TheDigestsAndTheVersionThatNewerPublishersAddReadBack) {
    const Text sha = "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD";
    const std::vector<ListedFile> files = {{"a.txt", "900150983CD24FB0D6963F7D28E17F72", sha, {}},
                                           {"b.txt", kEmptyDigest, "", {}}};
    XmlTree tree;
    ASSERT_TRUE(BuildFileList(files, tree, "1.0.0.506"));
    XmlTree reread;
    ASSERT_NO_FATAL_FAILURE(SaveAndReload(tree, reread));
    std::vector<ListedFile> read;
    ASSERT_TRUE(ReadFileList(reread, read));
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].sha256, sha);
    EXPECT_EQ(read[1].sha256, "");
    EXPECT_EQ(FileListVersion(reread), "1.0.0.506");

    // An older list has neither.
    XmlTree old;
    ASSERT_TRUE(old.LoadBytes("<l><f Name=\"a.txt\" Hash=\"00\"/></l>"));
    EXPECT_EQ(FileListVersion(old), "");
}

TEST(FileList, SizesAndTheBannerSectionReadBackAndOlderReadersSkipTheBanner) {
    const std::vector<ListedFile> files = {{"a.txt", "900150983CD24FB0D6963F7D28E17F72", "", 3},
                                           {"b.txt", kEmptyDigest, "", std::nullopt}};
    const std::vector<ListedFile> banner = {{"renew_ad.png", kEmptyDigest, "", 0}};
    XmlTree tree;
    ASSERT_TRUE(BuildFileList(files, tree, "1.0.0.506", banner));
    XmlTree reread;
    ASSERT_NO_FATAL_FAILURE(SaveAndReload(tree, reread));
    std::vector<ListedFile> read;
    ASSERT_TRUE(ReadFileList(reread, read));
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].size, std::optional<std::uint64_t>(3));
    EXPECT_FALSE(read[1].size.has_value());
    const std::vector<ListedFile> readBanner = ReadBannerList(reread);
    ASSERT_EQ(readBanner.size(), 1u);
    EXPECT_EQ(readBanner[0].name, "renew_ad.png");
    EXPECT_EQ(readBanner[0].size, std::optional<std::uint64_t>(0));
    // What an older reader sees in the "Banner" child: no name, no digest.
    Text name = "x", hash = "x";
    reread.GetAttribute("@1/@3", "Name", name);
    reread.GetAttribute("@1/@3", "Hash", hash);
    EXPECT_EQ(name, "x");
    EXPECT_EQ(hash, "x");

    // Sizes that are not plain decimal numbers that fit read as none.
    for (const char* bad : {"", "-1", "+3", " 3", "3 ", "0x10", "18446744073709551616"}) {
        XmlTree odd;
        ASSERT_TRUE(odd.LoadBytes("<l><f Name=\"a\" Hash=\"00\" Size=\"" + Text(bad) + "\"/></l>"));
        ASSERT_TRUE(ReadFileList(odd, read));
        EXPECT_FALSE(read[0].size.has_value()) << bad;
    }
    XmlTree largest;
    ASSERT_TRUE(largest.LoadBytes("<l><f Name=\"a\" Hash=\"00\" Size=\"18446744073709551615\"/></l>"));
    ASSERT_TRUE(ReadFileList(largest, read));
    EXPECT_EQ(read[0].size, std::optional<std::uint64_t>(18446744073709551615ULL));
}

TEST(CompareVersions, GoesNumberByNumberNotByText) {
    EXPECT_LT(*CompareVersions("1.0.0.506", "1.0.0.1000"), 0);
    EXPECT_GT(*CompareVersions("1.0.0.506", "1.0.0.503"), 0);
    EXPECT_GT(*CompareVersions("2.0", "1.9.9.9"), 0);
    EXPECT_EQ(*CompareVersions("1.0", "1.0.0.0"), 0);
    EXPECT_EQ(*CompareVersions("1.00.0.0506", "1.0.0.506"), 0);
    EXPECT_LT(*CompareVersions("1.0.0.506", "1.0.0.506.1"), 0);
}

TEST(CompareVersions, RefusesTextsThatAreNotVersions) {
    for (const char* bad : {"", ".", "1.", ".1", "1..2", "1.0 beta", "1.0.0.506\n", "v1", "1234567890.1", "-1"}) {
        EXPECT_FALSE(CompareVersions(bad, "1.0").has_value()) << bad;
        EXPECT_FALSE(CompareVersions("1.0", bad).has_value()) << bad;
    }
}

TEST(StateFile, TheWorkedExampleIsWrittenByteForByte) {
    test::TempFolder folder;
    ASSERT_TRUE(SaveStateFile(folder.File("config.xml"), {"a.txt"}, "1.0.0.506"));
    EXPECT_EQ(folder.Read("config.xml"),
              "<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n"
              "<Config>\r\n"
              "\t<RENEW St=\"1\"/>\r\n"
              "\t<ALL St=\"1\"/>\r\n"
              "\t<List>\r\n"
              "\t\t<File Name=\"612E747874\"/>\r\n"
              "\t</List>\r\n"
              "\t<LstRenew Ver=\"1.0.0.506\"/>\r\n"
              "</Config>");
}

TEST(StateFile, TheStagedUpdaterIsNeverListedForInstallation) {
    XmlTree tree;
    ASSERT_TRUE(BuildStateFile({"renew.exe", "a.txt"}, "1.0.0.506", tree));
    int count = 0;
    ASSERT_TRUE(tree.ChildCount("@1/@3", count));
    EXPECT_EQ(count, 1);
    Text name;
    ASSERT_TRUE(tree.GetAttribute("@1/@3/@1", "Name", name));
    EXPECT_EQ(name, "612E747874");
}

TEST(StateFile, NothingToInstallWritesAnEmptyList) {
    XmlTree tree;
    ASSERT_TRUE(BuildStateFile({}, "1.0.0.506", tree));
    Text saved;
    ASSERT_TRUE(tree.SaveText(saved));
    EXPECT_NE(saved.find("\r\n\t<List/>\r\n"), Text::npos);
}

TEST(StateFile, ARefusedNameIsNeverListed) {
    XmlTree tree;
    ASSERT_TRUE(BuildStateFile({"..\\evil.dll", "a.txt", "C:\\x"}, "1.0.0.506", tree));
    int count = 0;
    ASSERT_TRUE(tree.ChildCount("@1/@3", count));
    EXPECT_EQ(count, 1);
}

TEST(StateFile, TheCalculatorAndTheInstallerReadWhatWasWritten) {
    test::TempFolder folder;
    const Text path = folder.File("config.xml");
    EXPECT_FALSE(UpdateIsWaiting(path));
    ASSERT_TRUE(SaveStateFile(path, {"皮肤\\背景.png", "renew.ex_", "renew.exe"}, "1.0.0.506"));
    EXPECT_TRUE(UpdateIsWaiting(path));
    PendingUpdate update;
    ASSERT_TRUE(ReadPendingUpdate(path, update));
    EXPECT_EQ(update.files, (std::vector<PendingFile>{{"皮肤\\背景.png", StagingName("皮肤\\背景.png")},
                                                     {"renew.ex_", StagingName("renew.ex_")}}));
    EXPECT_EQ(update.version, "1.0.0.506");
}

TEST(StateFile, OnlyStOneMeansAnUpdateIsWaiting) {
    test::TempFolder folder;
    folder.Write("a.xml", "<Config><RENEW St=\"1\"/><ALL St=\"0\"/></Config>");
    folder.Write("b.xml", "<Config><RENEW St=\"1\"/><ALL st=\"1\"/></Config>");
    folder.Write("c.xml", "<Config><RENEW St=\"1\"/><ALL St=\"1\"/>");  // cut short
    folder.Write("d.xml", "<Config><RENEW/><ALL St=\"1\"/></Config>");
    EXPECT_FALSE(UpdateIsWaiting(folder.File("a.xml")));
    EXPECT_FALSE(UpdateIsWaiting(folder.File("b.xml")));
    EXPECT_FALSE(UpdateIsWaiting(folder.File("c.xml")));
    EXPECT_TRUE(UpdateIsWaiting(folder.File("d.xml")));
    PendingUpdate update{{{"kept", "kept"}}, "kept"};
    EXPECT_FALSE(ReadPendingUpdate(folder.File("c.xml"), update));
    EXPECT_EQ(update.version, "kept");
}

TEST(StateFile, AFailedSaveIsReportedAndChangesNothing) {
    test::TempFolder folder;
    // Downloads create the folder; without it the save fails, and says so.
    EXPECT_FALSE(SaveStateFile(folder.File("update\\config.xml"), {"a.txt"}, "1"));
    // A folder in the way of the file stays as it was.
    folder.Write("config.xml/keep.txt", "kept");
    EXPECT_FALSE(SaveStateFile(folder.File("config.xml"), {"a.txt"}, "1"));
    EXPECT_EQ(folder.Read("config.xml/keep.txt"), "kept");
}

TEST(InstalledVersion, WhatTheInstallerWritesTheVersionCheckReads) {
    ASSERT_TRUE(WriteInstalledVersion("1.0.0.506"));
    EXPECT_EQ(ReadInstalledVersion(), "1.0.0.506");
    ASSERT_TRUE(WriteInstalledVersion("1.0.0.507"));
    EXPECT_EQ(ReadInstalledVersion(), "1.0.0.507");
}

}  // namespace
}  // namespace qh
