// The ATL-hosted browser in a real Win32 window under Wine. Wine has no
// Gecko engine here, so pages do not load; what is checked is the hosting:
// the "AtlAxWin" child window, a second Create refused, and operations that
// stay safe whatever the control did.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/toolkit/test_backend.h"
#include "toolkit/toolkit.h"
#include "toolkit/web_browser.h"
#include "toolkit/win32/win32_host.h"

namespace qh {
namespace {

TEST(WebBrowserWin32Test, HostsTheBrowserInAnAtlChildWindowOnce) {
    win32::Win32Host host;
    auto graphics = MakeTestGraphicsDriver();
    ToolkitStartup(host, *graphics);
    const HostHandle parent = CreateHostWindow("浏览器测试", 0, true, 0, true, 300, 200);
    ASSERT_NE(parent, 0u);
    {
        UiWebBrowser browser;
        const HostHandle hwnd = browser.Create(parent, 0, 0, 0, 0);
        ASSERT_NE(hwnd, 0u);
        wchar_t className[64] = {};
        GetClassNameW(reinterpret_cast<HWND>(hwnd), className, 64);
        EXPECT_STREQ(className, L"AtlAxWin");
        EXPECT_EQ(GetParent(reinterpret_cast<HWND>(hwnd)), reinterpret_cast<HWND>(parent));
        EXPECT_EQ(browser.Create(parent, 0, 0, 10, 10), 0u);
        EXPECT_EQ(browser.Hwnd(), hwnd);
        browser.Silent(true);
        browser.Navigate("http://127.0.0.1:9/tongji.html");
        const int state = browser.ReadyState();
        EXPECT_GE(state, 0);
        EXPECT_LE(state, 4);
        browser.Close();
        EXPECT_EQ(browser.Hwnd(), 0u);
        EXPECT_EQ(browser.ReadyState(), 0);
    }
    host.DestroyWindow(parent);
    ToolkitShutdown();
}

}  // namespace
}  // namespace qh
