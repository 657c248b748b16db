// Memory for drawing elements. A drawing holds up to millions of small
// elements that are made and dropped together; taking them from per-size
// free lists instead of the general heap makes loading and clearing a
// drawing several times cheaper. Sanitizer builds use the general heap so
// that every element stays checked.
#pragma once

#include <cstddef>

namespace tolvani {

void* AllocateElement(std::size_t size);
void FreeElement(void* p, std::size_t size) noexcept;

}  // namespace tolvani
