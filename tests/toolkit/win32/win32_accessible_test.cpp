// The MSAA objects of a real Win32 window under Wine, read in-process the way
// a reader reads them: WM_GETOBJECT, oleacc's AccessibleChildren, the
// object's calls, WinEvents through an out-of-context hook, and objects kept
// after their control and window are gone.
#include <windows.h>
#include <oleacc.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/toolkit/toolkit_fixture.h"
#include "toolkit/controls/button.h"
#include "toolkit/controls/check_box.h"
#include "toolkit/controls/edit.h"
#include "toolkit/controls/label.h"

namespace qh {
namespace {

// WinEvents this thread's hook has received: (event, child id).
std::vector<std::pair<DWORD, LONG>> g_events;

void CALLBACK RecordEvent(HWINEVENTHOOK, DWORD event, HWND, LONG object, LONG child, DWORD, DWORD) {
    if (object == OBJID_CLIENT) g_events.emplace_back(event, child);
}

// Enough rounds of the message loop for posted WinEvents to arrive.
constexpr int kPumpRounds = 2000;

VARIANT Child(LONG id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

class Win32AccessibleTest : public ToolkitTest {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        ToolkitTest::SetUp();
        caption.Create(hwnd, "贷款金额：", 10, 10, 60, 20);
        amount.Create(hwnd, "", 80, 10, 100, 20);
        compute.Create(hwnd, "计算", 10, 40, 60, 24);
        autoStart.Create(hwnd, "更新后启动", 10, 80, 120, 20);
        g_events.clear();
    }
    void TearDown() override {
        ToolkitTest::TearDown();
        CoUninitialize();
    }
    // The client area's object, as a reader in this process gets it.
    IAccessible* ClientObject() {
        const HWND native = reinterpret_cast<HWND>(hwnd);
        const LRESULT answer = SendMessageW(native, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
        IAccessible* object = nullptr;
        if (answer > 0) ObjectFromLresult(answer, __uuidof(IAccessible), 0, reinterpret_cast<void**>(&object));
        return object;
    }
    std::wstring Name(IAccessible* object, LONG id) {
        BSTR text = nullptr;
        if (object->get_accName(Child(id), &text) != S_OK) return L"(none)";
        std::wstring name(text, SysStringLen(text));
        SysFreeString(text);
        return name;
    }
    LONG Property(IAccessible* object, LONG id, bool role) {
        VARIANT v;
        VariantInit(&v);
        const HRESULT hr = role ? object->get_accRole(Child(id), &v) : object->get_accState(Child(id), &v);
        return hr == S_OK && v.vt == VT_I4 ? v.lVal : -1;
    }

    UiLabel caption;
    UiEdit amount;
    UiButton compute;
    UiCheckBox autoStart;
};

TEST_F(Win32AccessibleTest, TheClientObjectGivesTheTreeOfTheWindowAndActsOnIt) {
    IAccessible* client = ClientObject();
    ASSERT_NE(client, nullptr);
    EXPECT_EQ(Property(client, CHILDID_SELF, true), ROLE_SYSTEM_CLIENT);
    EXPECT_EQ(Name(client, CHILDID_SELF), L"测试窗口");

    // oleacc lists the children through the object's IEnumVARIANT, by id.
    long count = 0;
    ASSERT_EQ(client->get_accChildCount(&count), S_OK);
    std::vector<VARIANT> children(static_cast<std::size_t>(count));
    LONG got = 0;
    ASSERT_EQ(AccessibleChildren(client, 0, count, children.data(), &got), S_OK);
    std::vector<LONG> ids, treeIds;
    for (LONG i = 0; i < got; ++i) ids.push_back(children[static_cast<std::size_t>(i)].lVal);
    for (const AccessibleObject& o : AccessibleChildren(window)) treeIds.push_back(o.id);
    EXPECT_EQ(ids, treeIds);
    ASSERT_GE(ids.size(), 4u);  // the caption buttons, then ours
    EXPECT_EQ(std::vector<LONG>(ids.end() - 4, ids.end()),
              (std::vector<LONG>{caption.Id(), amount.Id(), compute.Id(), autoStart.Id()}));

    struct Expected {
        LONG id;
        LONG role;
        const wchar_t* name;
        LONG states;
    };
    const Expected expected[] = {
        {caption.Id(), ROLE_SYSTEM_STATICTEXT, L"贷款金额：", STATE_SYSTEM_READONLY},
        {amount.Id(), ROLE_SYSTEM_TEXT, L"贷款金额", STATE_SYSTEM_FOCUSABLE},
        {compute.Id(), ROLE_SYSTEM_PUSHBUTTON, L"计算", STATE_SYSTEM_FOCUSABLE},
        {autoStart.Id(), ROLE_SYSTEM_CHECKBUTTON, L"更新后启动", STATE_SYSTEM_FOCUSABLE},
    };
    for (const Expected& e : expected) {
        EXPECT_EQ(Property(client, e.id, true), e.role) << e.id;
        EXPECT_EQ(Name(client, e.id), e.name) << e.id;
        EXPECT_EQ(Property(client, e.id, false), e.states) << e.id;
    }

    // Where the button is, in screen pixels (scale 1 here).
    RECT frame{};
    GetWindowRect(reinterpret_cast<HWND>(hwnd), &frame);
    long x = 0, y = 0, w = 0, h = 0;
    ASSERT_EQ(client->accLocation(&x, &y, &w, &h, Child(compute.Id())), S_OK);
    EXPECT_EQ(std::vector<long>({x, y, w, h}), std::vector<long>({frame.left + 10, frame.top + 40, 60, 24}));
    VARIANT hit;
    ASSERT_EQ(client->accHitTest(frame.left + 20, frame.top + 50, &hit), S_OK);
    EXPECT_EQ(hit.lVal, compute.Id());

    // Typing, ticking and the reader's own actions, and the events they raise.
    const HWINEVENTHOOK hook = SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, RecordEvent, GetCurrentProcessId(),
                                               0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    host.Click(hwnd, 100, 20);
    for (unsigned char c : std::string("100")) host.Send(hwnd, msg::kChar, c, 1);
    host.Click(hwnd, 20, 90);
    ASSERT_EQ(client->accDoDefaultAction(Child(compute.Id())), S_OK);
    ASSERT_EQ(client->accSelect(SELFLAG_TAKEFOCUS, Child(compute.Id())), S_OK);
    const std::pair<DWORD, LONG> wanted[] = {{EVENT_OBJECT_FOCUS, amount.Id()},
                                             {EVENT_OBJECT_VALUECHANGE, amount.Id()},
                                             {EVENT_OBJECT_STATECHANGE, autoStart.Id()},
                                             {EVENT_OBJECT_FOCUS, compute.Id()}};
    const auto received = [&](const std::pair<DWORD, LONG>& e) {
        return std::find(g_events.begin(), g_events.end(), e) != g_events.end();
    };
    host.PumpUntil([&] { return std::all_of(std::begin(wanted), std::end(wanted), received); }, kPumpRounds);
    UnhookWinEvent(hook);
    for (const auto& e : wanted) {
        EXPECT_TRUE(received(e)) << "event " << std::hex << e.first << " for " << std::dec << e.second;
    }
    BSTR value = nullptr;
    ASSERT_EQ(client->get_accValue(Child(amount.Id()), &value), S_OK);
    EXPECT_EQ(std::wstring(value, SysStringLen(value)), L"100");
    SysFreeString(value);
    EXPECT_EQ(Property(client, autoStart.Id(), false), STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_CHECKED);
    EXPECT_EQ(Property(client, compute.Id(), false), STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED);
    const Event clicked{'E', compute.Id(), kKindButton};
    EXPECT_NE(std::find(events.begin(), events.end(), clicked), events.end()) << "the default action clicks";

    // A destroyed control's id names nothing; a destroyed window's object is
    // disconnected, whatever is asked of it.
    const LONG gone = autoStart.Id();
    autoStart.Destroy();
    BSTR name = nullptr;
    EXPECT_EQ(client->get_accName(Child(gone), &name), E_INVALIDARG);
    host.DestroyWindow(hwnd);
    EXPECT_EQ(client->get_accName(Child(CHILDID_SELF), &name), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(client->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(client->accDoDefaultAction(Child(compute.Id())), CO_E_OBJNOTCONNECTED);
    client->Release();
}

}  // namespace
}  // namespace qh
