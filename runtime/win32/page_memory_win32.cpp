// Page blocks on Windows: committed virtual memory, which the system hands
// out zero-filled.
#include <windows.h>

#include "runtime/page_memory.h"

namespace qh {

void* AllocateZeroedPages(std::size_t bytes) {
    return ::VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void FreeZeroedPages(void* block, std::size_t) {
    if (block != nullptr) ::VirtualFree(block, 0, MEM_RELEASE);
}

}  // namespace qh
