// The portable half of whole-file access; the platform files open, read,
// write and create folders.
#include "runtime/files.h"

namespace qh {

bool ReadWholeFile(const Text& path, Bytes& bytes) {
    Bytes out;
    const bool ok = ReadFileBlocks(path, [&out](const std::uint8_t* data, std::size_t size) {
        out.insert(out.end(), data, data + size);
    });
    if (!ok) return false;
    bytes = std::move(out);
    return true;
}

}  // namespace qh
