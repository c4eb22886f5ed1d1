// Large zero-filled blocks taken straight from the system's pages, for pixel
// buffers: a window's back buffer and its background are a megabyte each.
// The pages are made present in one step when the block is taken, rather
// than one page fault at a time as the buffer is first written, which costs
// several times as much and, on a program's start, more than the drawing.
#pragma once

#include <cstddef>

namespace qh {

// Blocks from this size on are worth their own pages.
inline constexpr std::size_t kPageMemoryThreshold = 256 * 1024;

// A block of at least bytes zero bytes, or null when the system has none.
void* AllocateZeroedPages(std::size_t bytes);
// Gives back a block of AllocateZeroedPages, with the size it was asked for.
void FreeZeroedPages(void* block, std::size_t bytes);

}  // namespace qh
