#include "model/ElementPool.h"

#include <cstdlib>
#include <mutex>
#include <sys/mman.h>
#include <new>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define TOLVANI_PLAIN_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer)
#define TOLVANI_PLAIN_HEAP 1
#endif
#endif

namespace tolvani {

#ifdef TOLVANI_PLAIN_HEAP

void* AllocateElement(std::size_t size) { return ::operator new(size); }
void FreeElement(void* p, std::size_t) noexcept { ::operator delete(p); }

#else

namespace {

constexpr std::size_t kGranule = 16;
constexpr std::size_t kClasses = 64;  // sizes up to 1 KiB
// Slabs are large and aligned so that the system can back them with huge
// pages: a million-element drawing then costs a few dozen page faults
// instead of tens of thousands.
constexpr std::size_t kSlabBytes = 2 * 1024 * 1024;

struct FreeBlock {
    FreeBlock* next;
};

// Slabs are shared and live as long as the process: an element may be made
// on one thread and dropped on another.
std::mutex slabMutex;
std::vector<void*>* slabs = new std::vector<void*>;  // reachable, never freed

void* NewSlab() {
    void* slab = std::aligned_alloc(kSlabBytes, kSlabBytes);
    if (!slab) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    madvise(slab, kSlabBytes, MADV_HUGEPAGE);
#endif
    std::lock_guard<std::mutex> lock(slabMutex);
    slabs->push_back(slab);
    return slab;
}

struct Pool {
    FreeBlock* free[kClasses] = {};
    char* bump = nullptr;
    char* bumpEnd = nullptr;
};

thread_local Pool pool;

}  // namespace

void* AllocateElement(std::size_t size) {
    const std::size_t cls = (size + kGranule - 1) / kGranule;
    if (cls == 0 || cls >= kClasses) return ::operator new(size);
    if (FreeBlock* b = pool.free[cls]) {
        pool.free[cls] = b->next;
        return b;
    }
    const std::size_t bytes = cls * kGranule;
    if (static_cast<std::size_t>(pool.bumpEnd - pool.bump) < bytes) {
        pool.bump = static_cast<char*>(NewSlab());
        pool.bumpEnd = pool.bump + kSlabBytes;
    }
    void* p = pool.bump;
    pool.bump += bytes;
    return p;
}

void FreeElement(void* p, std::size_t size) noexcept {
    if (!p) return;
    const std::size_t cls = (size + kGranule - 1) / kGranule;
    if (cls == 0 || cls >= kClasses) {
        ::operator delete(p);
        return;
    }
    auto* b = static_cast<FreeBlock*>(p);
    b->next = pool.free[cls];
    pool.free[cls] = b;
}

#endif

}  // namespace tolvani
