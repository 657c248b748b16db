// Memory for drawing elements. A drawing holds up to millions of small
// elements that are made and dropped together; taking them from per-size
// free lists instead of the general heap makes loading and clearing a
// drawing several times cheaper. Sanitizer builds use the general heap so
// that every element stays checked (the thread sanitizer build keeps the
// pool, so its hand-over between threads is checked).
#pragma once

#include <cstddef>

namespace tolvani {

void* AllocateElement(std::size_t size);
// May be called on any thread, whichever thread allocated the element; the
// memory is reused by the pool it came from.
void FreeElement(void* p, std::size_t size) noexcept;

// False in builds that use the general heap (the sanitizer builds).
bool ElementPoolActive();
// The bytes of element memory taken from the system so far (the pool never
// gives memory back; it reuses it).
std::size_t ElementPoolReservedBytes();

}  // namespace tolvani
