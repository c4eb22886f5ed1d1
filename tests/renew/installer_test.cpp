// The installation of a staged update, in a program folder of the test's
// own: files replaced, the version recorded, the state file gone, the
// calculator asked to quit first and started again at the end; and what an
// interrupted run, a damaged staged file or kept list, a file that cannot be
// replaced and a hostile state file do.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "renew/file_list.h"
#include "renew/file_names.h"
#include "renew/installed_version.h"
#include "renew/installer.h"
#include "renew/state_file.h"
#include "runtime/digest.h"
#include "runtime/files.h"
#include "runtime/hex.h"
#include "runtime/process.h"
#include "runtime/signing.h"
#include "runtime/system.h"
#include "tests/support/temp_folder.h"
#include "tools/uidriver/driver_system.h"

namespace qh {
namespace {

// The keys of the tests' maker, made once for the whole program.
struct TestKeys {
    std::string privatePem;
    std::string publicPem;
};
const TestKeys& Keys() {
    static const TestKeys keys = [] {
        TestKeys made;
        Text error;
        EXPECT_TRUE(MakeSigningKeys(made.privatePem, made.publicPem, error)) << error;
        return made;
    }();
    return keys;
}

template <HashAlgorithm A>
Text DigestOf(std::string_view bytes) {
    Hash<A> hash;
    hash.Add(bytes.data(), bytes.size());
    return DigestText(hash);
}

// A release's files: listed name and bytes.
using Files = std::vector<std::pair<Text, std::string>>;

class InstallerTest : public ::testing::Test {
protected:
    void SetUp() override { OverrideSystemServices(&system); }
    void TearDown() override { OverrideSystemServices(nullptr); }

    // Stages a file under its hex name, as the download stage leaves it.
    void Stage(const Text& name, std::string_view bytes) { program.Write(StagedPath(name), bytes); }
    static std::string StagedPath(const Text& name) { return "update/" + HexEncode(name); }
    // Keeps the list of files, as the download stage does: signed with the
    // tests' key when sign is set.
    void KeepList(const Files& files, const Text& version, bool sign) {
        std::vector<ListedFile> listed;
        for (const auto& [name, bytes] : files) {
            listed.push_back({name, DigestOf<HashAlgorithm::kMd5>(bytes), DigestOf<HashAlgorithm::kSha256>(bytes),
                              bytes.size()});
        }
        XmlTree tree;
        Text text;
        ASSERT_TRUE(BuildFileList(listed, tree, version) && tree.SaveText(text));
        tree.Close();
        KeptList kept{Bytes(text.begin(), text.end()), {}};
        if (sign) {
            std::string signature;
            Text error;
            ASSERT_TRUE(SignDocument(Keys().privatePem, text, signature, error)) << error;
            kept.signature.assign(signature.begin(), signature.end());
        }
        CreateFolders(ProgramFile(kKeptListName));
        ASSERT_TRUE(SaveKeptList(kept));
    }
    void WriteState(const std::vector<Text>& names, const Text& version) {
        CreateFolders(ProgramFile(kStateFileName));
        ASSERT_TRUE(SaveStateFile(ProgramFile(kStateFileName), names, version));
    }
    // Stages a whole release as a finished download leaves it.
    void StageRelease(const Files& files, const Text& version, bool sign = false) {
        std::vector<Text> names;
        for (const auto& [name, bytes] : files) {
            Stage(name, bytes);
            names.push_back(name);
        }
        KeepList(files, version, sign);
        WriteState(names, version);
    }
    bool StateFileExists() { return FileExists(ProgramFile(kStateFileName)); }
    InstallRequest Request(bool keyed = false, bool calculatorQuits = true) {
        InstallRequest request;
        request.quitCalculator = [this, calculatorQuits] {
            events.push_back("quit calculator");
            return calculatorQuits;
        };
        if (keyed) request.publicKey = Keys().publicPem;
        return request;
    }
    // The folder as the installed version 1.0.0.505 leaves it.
    void InstallOld() {
        program.Write("a.txt", "old a");
        program.Write("b.txt", "old b");
        ASSERT_TRUE(WriteInstalledVersion("1.0.0.505"));
    }
    // Nothing of the folder changed: the old files, the old version and the
    // update still waiting with its staged files.
    void ExpectUntouched(const Files& staged) {
        EXPECT_EQ(program.Read("a.txt"), "old a");
        EXPECT_EQ(program.Read("b.txt"), "old b");
        EXPECT_EQ(ReadInstalledVersion(), "1.0.0.505");
        EXPECT_TRUE(StateFileExists());
        for (const auto& [name, bytes] : staged) EXPECT_EQ(program.Read(StagedPath(name)), bytes) << name;
    }

    test::TempFolder program;
    std::vector<std::string> events;  // what happened, in order
    DriverSystem system{PlatformSystem(), program.Folder(), "renew",
                        [this](const std::string& commandLine) { events.push_back("start " + commandLine); }};
};

const Files kRelease = {{"a.txt", "new a"}, {"b.txt", "new b"}};

TEST_F(InstallerTest, StagedFilesReplaceTheInstalledOnesAndTheCalculatorStartsAgain) {
    program.Write("a.txt", "old");
    StageRelease({{"a.txt", "new bytes"}, {"a\\b.png", "picture"}}, "1.0.0.506");  // a\ does not exist yet
    // The download stage may leave its folder of parts, emptied.
    std::filesystem::create_directories(program.Path() / "update" / "part");

    EXPECT_EQ(InstallUpdate(Request()).outcome, InstallOutcome::kInstalled);
    EXPECT_EQ(program.Read("a.txt"), "new bytes");
    EXPECT_EQ(program.Read("a/b.png"), "picture");
    EXPECT_EQ(ReadInstalledVersion(), "1.0.0.506");
    // Nothing of the update is left: staged files, copies, list, state file.
    for (const Text& left : {StagingName("a.txt"), Text("update\\backup\\") + HexEncode("a.txt"), Text(kKeptListName),
                             Text(kKeptSignatureName), Text(kStateFileName)}) {
        EXPECT_FALSE(FileExists(ProgramFile(left))) << left;
    }
    // Nor the empty working folders.
    EXPECT_FALSE(std::filesystem::exists(program.Path() / "update" / "part"));
    EXPECT_FALSE(std::filesystem::exists(program.Path() / "update" / "backup"));
    // The calculator quit before anything moved, and is started with its
    // path quoted and the updater's process id.
    RelaunchCalculator("QingheCalc");
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], "quit calculator");
    EXPECT_EQ(events[1], "start \"" + program.Folder() + "\\QingheCalc\" " + std::to_string(CurrentProcessId()));
}

TEST_F(InstallerTest, AnEmptyListStillRecordsTheVersionAndRemovesTheStateFile) {
    StageRelease({}, "1.0.0.507", true);
    EXPECT_EQ(InstallUpdate(Request(true)).outcome, InstallOutcome::kInstalled);
    EXPECT_FALSE(StateFileExists());
    EXPECT_EQ(ReadInstalledVersion(), "1.0.0.507");
    EXPECT_EQ(events, std::vector<std::string>{"quit calculator"});
}

TEST_F(InstallerTest, WithoutAStateFileNothingChangesAndNothingStarts) {
    program.Write("a.txt", "old");
    Stage("a.txt", "new");
    EXPECT_EQ(InstallUpdate(Request()).outcome, InstallOutcome::kNothingWaiting);
    EXPECT_EQ(program.Read("a.txt"), "old");
    EXPECT_TRUE(events.empty());
}

TEST_F(InstallerTest, AnInterruptedRunCompletesOnTheNextRun) {
    // An earlier run copied and moved a.txt and was stopped before b.txt.
    InstallOld();
    StageRelease(kRelease, "1.0.0.506", true);
    ASSERT_TRUE(std::filesystem::remove(program.Path() / StagedPath("a.txt")));
    program.Write("a.txt", "new a");
    program.Write("update/backup/" + HexEncode("a.txt"), "old a");

    EXPECT_EQ(InstallUpdate(Request(true)).outcome, InstallOutcome::kInstalled);
    EXPECT_EQ(program.Read("a.txt"), "new a");
    EXPECT_EQ(program.Read("b.txt"), "new b");
    EXPECT_EQ(ReadInstalledVersion(), "1.0.0.506");
    EXPECT_FALSE(FileExists(ProgramFile("update\\backup\\" + HexEncode("a.txt"))));
}

TEST_F(InstallerTest, AStagedFileChangedAfterDownloadIsNotInstalled) {
    struct Case {
        const char* what;
        bool keyed;
        std::function<void()> damage;
    };
    const Case cases[] = {
        {"a staged file changed", true, [this] { Stage("b.txt", "NEW B"); }},
        {"a staged file changed, no key", false, [this] { Stage("b.txt", "NEW B"); }},
        {"a staged file grown", false, [this] { Stage("b.txt", "new b and more"); }},
        {"a file the list does not name", true, [this] { KeepList({kRelease[0]}, "1.0.0.506", true); }},
        {"a staged file gone, the installed one old", true,
         [this] { std::filesystem::remove(program.Path() / StagedPath("b.txt")); }},
        {"no kept list", false, [] { RemoveKeptList(); }},
        {"a broken signature", true,
         [this] {
             std::string signature = program.Read("update/renewlist.xml.sig");
             signature[signature.size() / 2] ^= 1;
             program.Write("update/renewlist.xml.sig", signature);
         }},
        {"no signature", true, [this] { KeepList(kRelease, "1.0.0.506", false); }},
        {"the list of another version", true, [this] { KeepList(kRelease, "1.0.0.507", true); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        InstallOld();
        StageRelease(kRelease, "1.0.0.506", true);
        c.damage();
        events.clear();
        const InstallResult result = InstallUpdate(Request(c.keyed));
        EXPECT_EQ(result.outcome, InstallOutcome::kFailed);
        EXPECT_FALSE(result.reason.empty());
        // Checked before the calculator was even asked to quit.
        EXPECT_TRUE(events.empty());
        ExpectUntouched({kRelease[0]});  // b's staged copy is the damaged one
    }
}

TEST_F(InstallerTest, AFileThatCannotBeReplacedPutsBackEveryFileMovedBeforeIt) {
    InstallOld();
    // c.txt cannot be replaced: a folder with a file in it sits under its
    // name (a move over it fails for root too, unlike a read-only folder).
    program.Write("c.txt/inside", "kept");
    const Files release = {{"a.txt", "new a"}, {"n.txt", "new file"}, {"c.txt", "new c"}};
    StageRelease(release, "1.0.0.506");

    const InstallResult result = InstallUpdate(Request());
    EXPECT_EQ(result.outcome, InstallOutcome::kFailed);
    EXPECT_NE(InstallFailedNotice(result).find("c.txt"), Text::npos);
    ExpectUntouched(release);
    EXPECT_FALSE(std::filesystem::exists(program.Path() / "n.txt"));  // it did not exist before
    EXPECT_EQ(program.Read("c.txt/inside"), "kept");

    // Once the file is free, the next run installs the whole release.
    std::filesystem::remove_all(program.Path() / "c.txt");
    EXPECT_EQ(InstallUpdate(Request()).outcome, InstallOutcome::kInstalled);
    for (const auto& [name, bytes] : release) EXPECT_EQ(program.Read(name), bytes) << name;
    EXPECT_EQ(ReadInstalledVersion(), "1.0.0.506");
}

TEST_F(InstallerTest, ACalculatorThatDoesNotQuitFailsTheInstallWithNothingMoved) {
    InstallOld();
    StageRelease(kRelease, "1.0.0.506");
    EXPECT_EQ(InstallUpdate(Request(false, false)).outcome, InstallOutcome::kFailed);
    ExpectUntouched(kRelease);
}

TEST_F(InstallerTest, AStateFileNamingPathsOutsideTheFolderInstallsNothingForThem) {
    // The state file is written by hand here: the writer itself refuses
    // such names.
    const std::vector<Text> hostile = {"..\\evil.txt", "\\abs.txt", "CON .txt", "update\\config.xml"};
    std::string list;
    for (const Text& name : hostile) {
        list += "<File Name=\"" + HexEncode(name) + "\"/>";
        program.Write(StagedPath(name), "evil");
    }
    KeepList({}, "6.6.6", false);
    program.Write("update/config.xml",
                  "<?xml version=\"1.0\" encoding=\"gb2312\"?><Config><RENEW St=\"1\"/><ALL St=\"1\"/><List>" + list +
                      "</List><LstRenew Ver=\"6.6.6\"/></Config>");
    EXPECT_EQ(InstallUpdate(Request()).outcome, InstallOutcome::kInstalled);
    EXPECT_FALSE(std::filesystem::exists(program.Path().parent_path() / "evil.txt"));
    EXPECT_FALSE(std::filesystem::exists(program.Path() / "CON .txt"));
    // The staged copies stay where they were.
    for (const Text& name : hostile) EXPECT_TRUE(FileExists(ProgramFile(StagingName(name)))) << name;
}

// The staged copy is found under the hex name as the state file writes it:
// lower-case digits are a valid hex name, and on Linux another file name
// than their upper-case form. Anything but hex digits is never used as a
// path; it is looked for under the canonical form of what it decodes to.
TEST_F(InstallerTest, TheStagedFileIsFoundUnderTheHexNameAsWritten) {
    InstallOld();
    const Text lower = "612e747874";  // a.txt
    program.Write("update/" + lower, "new a");
    program.Write(StagedPath("b.txt"), "new b");
    KeepList(kRelease, "1.0.0.506", false);
    program.Write("update/config.xml", "<?xml version=\"1.0\" encoding=\"gb2312\"?><Config><RENEW St=\"1\"/>"
                                       "<ALL St=\"1\"/><List><File Name=\"" + lower + "\"/><File Name=\"" +
                                           HexEncode("b.txt") + "/..\"/></List><LstRenew Ver=\"1.0.0.506\"/></Config>");
    EXPECT_EQ(InstallUpdate(Request()).outcome, InstallOutcome::kInstalled);
    EXPECT_EQ(program.Read("a.txt"), "new a");
    EXPECT_EQ(program.Read("b.txt"), "new b");
    EXPECT_EQ(ReadInstalledVersion(), "1.0.0.506");
}

TEST(RelaunchTarget, OnlyAPlainNameInTheProgramFolderIsStarted) {
    EXPECT_EQ(RelaunchTarget("QingheCalc.exe"), ProgramFile("QingheCalc.exe"));
    EXPECT_EQ(RelaunchTarget("..\\cmd.exe"), "");
    EXPECT_EQ(RelaunchTarget("sub\\QingheCalc.exe"), "");
    EXPECT_EQ(RelaunchTarget(""), "");
    EXPECT_EQ(RelaunchTarget("C:\\Windows\\x.exe"), "");
}

}  // namespace
}  // namespace qh
