#include "runtime/browser.h"

namespace qh {

Text BrowserPathOf(const Text& command, const Text& fallback) {
    const std::size_t open = command.find('"');
    if (open != Text::npos) {
        const std::size_t close = command.find('"', open + 1);
        return close == Text::npos ? Text() : command.substr(open + 1, close - open - 1);
    }
    return command.empty() ? fallback : command;
}

}  // namespace qh
