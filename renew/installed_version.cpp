#include "renew/installed_version.h"

#include "runtime/system.h"

namespace qh {

Text ReadInstalledVersion() {
    return ReadRegistryText(static_cast<int>(RegistryRoot::LocalMachine), kInstalledVersionValue);
}

bool WriteInstalledVersion(const Text& version) {
    return WriteRegistryText(static_cast<int>(RegistryRoot::LocalMachine), kInstalledVersionValue, version);
}

}  // namespace qh
