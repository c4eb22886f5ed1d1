// The only place that names the Win32 implementation of the system services.
#include "runtime/win32/system_win32.h"

namespace qh {

SystemServices& PlatformSystem() {
    static Win32System system;
    return system;
}

}  // namespace qh
