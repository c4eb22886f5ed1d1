// The Win32 host's save dialog: the system's own (GetSaveFileNameW), owned
// by the window, for CSV files, asking before it overwrites one.
#include <windows.h>
#include <commdlg.h>

#include "runtime/win32/system_win32.h"
#include "toolkit/win32/win32_host.h"
#include "toolkit/win32/win32_host_state.h"

namespace qh::win32 {
namespace {

// Long enough for any path the dialog can return without its long-path form.
constexpr DWORD kPathCapacity = 32768;

}  // namespace

std::optional<Text> Win32Host::ChooseSaveFile(HostHandle window, const Text& title, const Text& suggestedName) {
    HostWindowState* s = StateOf(window);
    std::wstring path = GbkToWide(suggestedName);
    path.resize(kPathCapacity, L'\0');
    const std::wstring wideTitle = GbkToWide(title);
    // Pairs of description and pattern, each ended by a NUL, the list by a second.
    static const wchar_t kFilter[] = L"CSV (*.csv)\0*.csv\0\0";
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = s != nullptr ? s->hwnd : nullptr;
    ofn.lpstrFilter = kFilter;
    ofn.lpstrFile = path.data();
    ofn.nMaxFile = kPathCapacity;
    ofn.lpstrTitle = wideTitle.c_str();
    ofn.lpstrDefExt = L"csv";
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (!GetSaveFileNameW(&ofn)) return std::nullopt;  // cancelled, or the dialog failed
    path.resize(wcslen(path.c_str()));
    return WideToGbk(path);
}

}  // namespace qh::win32
