// The driver's choose command does what a user does: it opens the combo box,
// brings a far item of a long list into view with the wheel and clicks it, so
// the program's OnSelect runs. A number outside the list, another kind of
// control, or a list that does not open is an error naming the line, and
// changes nothing.
#include "tools/uidriver/command_runner.h"

#include <gtest/gtest.h>

#include <sstream>

#include "toolkit/cairo/cairo_graphics.h"
#include "toolkit/controls/button.h"
#include "toolkit/controls/combo_box.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"

namespace qh {
namespace {

// A 240 x 200 window with a combo box of 30 years at (20, 30): its list
// opens below the box and shows 7 of them.
class ChooseTest : public ::testing::Test {
protected:
    void SetUp() override {
        ToolkitStartup(host, graphics);
        hwnd = CreateHostWindow("选择", 0, true, 0, true, 240, 200);
        ASSERT_TRUE(window.Create(hwnd, Bytes(), MakeArgb(0xFFFFFF, 255), true));
        std::vector<Text> years;
        for (int i = 1; i <= 30; ++i) years.push_back(std::to_string(i) + "年");
        years_.Create(hwnd, 20, 30, 120, 24, 1, years);
        years_.Name("Years", true);
        years_.OnSelect([this](int item) { picks.push_back(item); });
        ok.Create(hwnd, "确定", 160, 30, 60, 24);
        ok.Name("OK", true);
    }
    void TearDown() override {
        if (host.Exists(hwnd)) host.DestroyWindow(hwnd);
        ToolkitShutdown();
    }
    CommandRunner::Outcome Run(const std::string& line, int number = 1) { return runner.Run(line, number); }

    headless::HeadlessHost host;
    cairo::CairoDriver graphics;
    std::ostringstream out, err;
    CommandRunner runner{host, out, err};
    HostHandle hwnd = 0;
    UiWindow window;
    UiComboBox years_;
    UiButton ok;
    std::vector<int> picks;
};

TEST_F(ChooseTest, AFarItemIsScrolledIntoViewAndPickedAndOnSelectRuns) {
    EXPECT_EQ(Run("choose Years 26"), CommandRunner::Outcome::kContinue) << err.str();
    EXPECT_FALSE(years_.IsOpen());
    EXPECT_EQ(years_.Selection(), 26);
    // Back up the list from there.
    EXPECT_EQ(Run("choose Years 2"), CommandRunner::Outcome::kContinue) << err.str();
    EXPECT_EQ(picks, (std::vector<int>{26, 2}));
    EXPECT_EQ(Run("print Years"), CommandRunner::Outcome::kContinue);
    EXPECT_EQ(out.str(), "Years=2\xE5\xB9\xB4\n");
}

TEST_F(ChooseTest, WhatCannotBeChosenIsAnErrorNamingTheLineAndChangesNothing) {
    EXPECT_EQ(Run("choose Years 31", 4), CommandRunner::Outcome::kError);
    EXPECT_EQ(Run("choose Years 0", 5), CommandRunner::Outcome::kError);
    EXPECT_EQ(Run("choose Years two", 6), CommandRunner::Outcome::kError);
    EXPECT_EQ(Run("choose OK 1", 7), CommandRunner::Outcome::kError);
    years_.Disabled(1, true);
    EXPECT_EQ(Run("choose Years 3", 8), CommandRunner::Outcome::kError);
    EXPECT_EQ(err.str(),
              "uidriver: line 4: Years has no item 31 (it has 30)\n"
              "uidriver: line 5: Years has no item 0 (it has 30)\n"
              "uidriver: line 6: choose needs an item number: two\n"
              "uidriver: line 7: OK is not a combo box\n"
              "uidriver: line 8: the list of Years does not open\n");
    EXPECT_FALSE(years_.IsOpen());
    EXPECT_EQ(years_.Selection(), 1);
    EXPECT_TRUE(picks.empty());
}

}  // namespace
}  // namespace qh
