// SingleInstance on Linux: a Unix socket bound to the name in the abstract
// namespace (a leading zero byte in the address). Binding a name that a
// socket already holds fails with EADDRINUSE. That namespace is shared by
// every user of the machine, so the bound name carries the user's id.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstring>

#include "runtime/single_instance.h"

namespace qh {

std::unique_ptr<SingleInstance> SingleInstance::Acquire(const Text& name) {
    if (name.empty()) return nullptr;
    const Text bound = PerUserInstanceName(name, ::getuid());
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    // The name's bytes follow the zero byte as they are; they need no end.
    if (bound.size() > sizeof address.sun_path - 1) return nullptr;
    std::memcpy(address.sun_path + 1, bound.data(), bound.size());
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + bound.size());

    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return nullptr;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<SingleInstance>(new SingleInstance(fd));
}

SingleInstance::~SingleInstance() { ::close(static_cast<int>(handle_)); }

}  // namespace qh
