// HeapPolicy: how this process's C heap treats large blocks, set once before the GL
// driver starts. The software driver mallocs and frees megabytes of vertex and bin
// storage on every draw; by default the C library hands that memory back to the
// system each time and the next frame faults it in again, page by page.
#pragma once

#include <cstddef>

// Blocks up to LARGE_BLOCK_BYTES come from the heap and freed heap memory is kept up to
// KEPT_BYTES, so a frame reuses the last frame's pages. Process-wide; returns false
// (and changes nothing more) where the C library refuses a setting.
bool keepFreedHeapMemory();

constexpr std::size_t LARGE_BLOCK_BYTES = std::size_t{32} << 20;  // the C library's ceiling
constexpr std::size_t KEPT_BYTES = std::size_t{128} << 20;
