// Page blocks on Linux: anonymous private mappings, populated when made.
// Under AddressSanitizer they come from the heap instead, so that the
// sanitizer still guards pixel buffers.
#include <sys/mman.h>

#include <cstdlib>

#include "runtime/page_memory.h"

namespace qh {

#if defined(__SANITIZE_ADDRESS__)

void* AllocateZeroedPages(std::size_t bytes) { return std::calloc(1, bytes); }
void FreeZeroedPages(void* block, std::size_t) { std::free(block); }

#else

void* AllocateZeroedPages(std::size_t bytes) {
    void* block = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    return block == MAP_FAILED ? nullptr : block;
}

void FreeZeroedPages(void* block, std::size_t bytes) {
    if (block != nullptr) ::munmap(block, bytes);
}

#endif

}  // namespace qh
