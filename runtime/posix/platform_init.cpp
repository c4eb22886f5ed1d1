// The only place that names the POSIX implementation of the system services.
#include "runtime/posix/system_posix.h"

namespace qh {

SystemServices& PlatformSystem() {
    static PosixSystem system;
    return system;
}

}  // namespace qh
