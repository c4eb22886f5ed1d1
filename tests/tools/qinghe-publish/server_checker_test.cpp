// The check of a server folder as a hostile one may be: names the same on
// Windows, names too long to stage, and names made to play with the
// operator's terminal.
#include "tools/qinghe-publish/server_checker.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace qh
