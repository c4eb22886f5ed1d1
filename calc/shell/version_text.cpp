#include "calc/shell/version_text.h"

#include <mutex>

namespace qh {
namespace {

std::mutex& Lock() {
    static std::mutex lock;
    return lock;
}

Text& Stored() {
    static Text text;
    return text;
}

}  // namespace

Text VersionText() {
    std::lock_guard<std::mutex> hold(Lock());
    return Stored();
}

void SetVersionText(const Text& text) {
    std::lock_guard<std::mutex> hold(Lock());
    Stored() = text;
}

}  // namespace qh
