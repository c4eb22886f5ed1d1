// SingleInstance on Windows: a named event that is never signalled; its
// existence alone is the mark. It lives in the session's namespace
// ("Local\"), never the machine's ("Global\"): a user signed in to another
// session has marks of their own.
#include <windows.h>

#include "runtime/single_instance.h"
#include "runtime/win32/system_win32.h"

namespace qh {
namespace {

constexpr const wchar_t* kSessionNamespace = L"Local\\";

}  // namespace

std::unique_ptr<SingleInstance> SingleInstance::Acquire(const Text& name) {
    if (name.empty()) return nullptr;
    const std::wstring wide = kSessionNamespace + GbkToWide(name);
    if (HANDLE other = OpenEventW(EVENT_ALL_ACCESS, FALSE, wide.c_str())) {
        CloseHandle(other);
        return nullptr;
    }
    // Automatic reset, not signalled. Two copies that start together may
    // both find no event above; the one whose create finds the event made
    // already steps back. A holder under another account makes the create
    // fail for lack of access, which counts as held too.
    const HANDLE event = CreateEventW(nullptr, FALSE, FALSE, wide.c_str());
    if (event == nullptr) return nullptr;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(event);
        return nullptr;
    }
    return std::unique_ptr<SingleInstance>(new SingleInstance(reinterpret_cast<std::intptr_t>(event)));
}

SingleInstance::~SingleInstance() { CloseHandle(reinterpret_cast<HANDLE>(handle_)); }

}  // namespace qh
