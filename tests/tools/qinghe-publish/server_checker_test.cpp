// The check of a server folder as a hostile one may be: names the same on
// Windows, names too long to stage, and names made to play with the
// operator's terminal.
#include "tools/qinghe-publish/server_checker.h"

#include <gtest/gtest.h>

#include "runtime/digest.h"
#include "tests/tools/qinghe-publish/publish_fixture.h"

namespace qh {
namespace {

using test::PublishCommand;

TEST_F(PublishCommand, TheCheckFindsNamesThatAreOneFileOnWindows) {
    ASSERT_EQ(Publish().status, kPublishOk);
    const std::string digest = "D41D8CD98F00B204E9800998ECF8427E";
    work.Write("server/renewlist.xml", "<l><f Name=\"skin\\bg.png\" Hash=\"" + digest +
                                           "\"/><f Name=\"SKIN/BG.PNG\" Hash=\"" + digest + "\"/></l>");
    const ToolOutput checked = Check();
    EXPECT_EQ(checked.status, kPublishFailed);
    EXPECT_NE(checked.out.find("SKIN/BG.PNG: 与 skin\\bg.png 是同一个文件"), Text::npos) << checked.out;
}

TEST_F(PublishCommand, TheCheckRefusesNamesTooLongToStage) {
    ASSERT_EQ(Publish().status, kPublishOk);
    work.Write("server/renewlist.xml",
               "<l><f Name=\"" + std::string(128, 'a') + "\" Hash=\"D41D8CD98F00B204E9800998ECF8427E\"/></l>");
    const ToolOutput checked = Check();
    EXPECT_EQ(checked.status, kPublishFailed);
    EXPECT_NE(checked.out.find("127 字节"), Text::npos) << checked.out;
}

TEST_F(PublishCommand, TheCheckEscapesControlCharactersInNames) {
    ASSERT_EQ(Publish().status, kPublishOk);
    // Escape and carriage return, raw in the list.
    work.Write("server/renewlist.xml",
               "<l><f Name=\"a\x1B[2Jb\rc.txt\" Hash=\"D41D8CD98F00B204E9800998ECF8427E\"/></l>");
    const ToolOutput checked = Check();
    EXPECT_EQ(checked.status, kPublishFailed);
    EXPECT_EQ(checked.out.find('\x1B'), Text::npos) << checked.out;
    EXPECT_EQ(checked.out.find('\r'), Text::npos) << checked.out;
    EXPECT_NE(checked.out.find("a\\x1B[2Jb\\x0Dc.txt"), Text::npos) << checked.out;
}

TEST_F(PublishCommand, TheCheckFindsAWrongSizeSha256OrVersionInTheList) {
    ASSERT_EQ(Publish().status, kPublishOk);
    const std::string list = work.Read("server/renewlist.xml");
    // QingheCalc.exe holds "MZ calculator", 13 bytes.
    const std::string sha256 = FileSha256(work.File("release\\QingheCalc.exe"));
    struct Case {
        std::string from;
        std::string to;
        std::string found;
    };
    for (const Case& c : {Case{"Size=\"13\"", "Size=\"14\"", "QingheCalc.exe: 大小 13 与列表中的 14 不符"},
                          Case{" Size=\"13\"", "", "QingheCalc.exe: 没有 Size"},
                          Case{sha256, std::string(64, 'A'), "QingheCalc.exe: SHA-256 " + sha256 + " 与列表中的 AAAA"},
                          Case{"Version=\"1.0.0.506\"", "Version=\"1.0.0.505\"",
                               "renewlist.xml: 版本 1.0.0.505 与 renew.xml 的版本 1.0.0.506 不同"}}) {
        std::string changed = list;
        const std::size_t at = changed.find(c.from);
        ASSERT_NE(at, std::string::npos) << c.from << " in " << list;
        work.Write("server/renewlist.xml", changed.replace(at, c.from.size(), c.to));
        const ToolOutput checked = Check();
        EXPECT_EQ(checked.status, kPublishFailed) << c.found;
        EXPECT_NE(checked.out.find(c.found), Text::npos) << checked.out;
    }
}

}  // namespace
}  // namespace qh
