// The portable half of NativeFile: whole reads under a limit.
#include "runtime/native_file.h"

namespace qh {

bool ReadRegularFile(const std::filesystem::path& path, std::size_t limit, Bytes& bytes) {
    NativeFile file;
    if (!file.OpenRegular(path)) return false;
    Bytes out;
    std::uint8_t block[1 << 16];
    for (;;) {
        const std::int64_t n = file.Read(block, sizeof block);
        if (n < 0) return false;
        if (n == 0) break;
        if (out.size() + static_cast<std::size_t>(n) > limit) return false;
        out.insert(out.end(), block, block + n);
    }
    bytes = std::move(out);
    return true;
}

}  // namespace qh
