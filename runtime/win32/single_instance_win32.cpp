// SingleInstance on Windows: a named event that is never signalled; its
// existence alone is the mark.
#include <windows.h>

#include "runtime/single_instance.h"
#include "runtime/win32/system_win32.h"

namespace qh {

std::unique_ptr<SingleInstance> SingleInstance::Acquire(const Text& name) {
    if (name.empty()) return nullptr;
    const std::wstring wide = GbkToWide(name);
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
