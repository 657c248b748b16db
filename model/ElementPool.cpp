#include "model/ElementPool.h"

#include <sys/mman.h>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <mutex>
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
bool ElementPoolActive() { return false; }
std::size_t ElementPoolReservedBytes() { return 0; }

#else

namespace {

constexpr std::size_t kGranule = 16;
constexpr std::size_t kClasses = 64;  // sizes up to 1 KiB
// Slabs are large and aligned so that the system can back them with huge
// pages: a million-element drawing then costs a few dozen page faults
// instead of tens of thousands. The alignment also finds a block's slab,
// and so the pool it came from, from the block's address alone.
constexpr std::size_t kSlabBytes = 2 * 1024 * 1024;
constexpr std::size_t kSlabHeaderBytes = 64;

struct FreeBlock {
    FreeBlock* next;
};

// Each thread takes blocks from a pool of its own without locking. A block
// dropped by its own pool's thread goes back onto that pool's free lists;
// one dropped by another thread (a drawing loaded on a worker and released
// on the user-interface thread) is handed back to its pool through a
// lock-free list, which the pool's thread takes over whole when it runs
// short. A pool outlives its thread: the next new thread adopts it, so the
// memory of a finished worker serves the next worker.
struct Pool {
    FreeBlock* free[kClasses] = {};
    std::atomic<FreeBlock*> returned[kClasses] = {};
    char* bump = nullptr;
    char* bumpEnd = nullptr;
    Pool* nextIdle = nullptr;
};

struct SlabHeader {
    Pool* owner;
};
static_assert(sizeof(SlabHeader) <= kSlabHeaderBytes, "slab header too large");

std::mutex poolMutex;
std::vector<void*>* slabs = new std::vector<void*>;  // reachable, never freed
Pool* idlePools = nullptr;                           // pools whose thread has ended
// Serves threads that allocate while they end, after their own pool was
// given up; used under poolMutex only.
Pool* lastResortPool = new Pool;

// `locked`: the caller holds poolMutex.
void* NewSlab(Pool* owner, bool locked) {
    void* slab = std::aligned_alloc(kSlabBytes, kSlabBytes);
    if (!slab) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    madvise(slab, kSlabBytes, MADV_HUGEPAGE);
#endif
    static_cast<SlabHeader*>(slab)->owner = owner;
    std::unique_lock<std::mutex> lock(poolMutex, std::defer_lock);
    if (!locked) lock.lock();
    try {
        slabs->push_back(slab);
    } catch (...) {
        std::free(slab);
        throw;
    }
    return slab;
}

Pool* AdoptPool() {
    std::lock_guard<std::mutex> lock(poolMutex);
    if (Pool* p = idlePools) {
        idlePools = p->nextIdle;
        p->nextIdle = nullptr;
        return p;
    }
    return new Pool;
}

void GiveUpPool(Pool* p) {
    std::lock_guard<std::mutex> lock(poolMutex);
    p->nextIdle = idlePools;
    idlePools = p;
}

// Trivially destructible, so reading them costs no guard.
thread_local Pool* threadPool = nullptr;
thread_local bool threadEnded = false;

struct ThreadPoolRelease {
    bool armed = false;
    ~ThreadPoolRelease() {
        if (threadPool) GiveUpPool(threadPool);
        threadPool = nullptr;
        threadEnded = true;
    }
};
thread_local ThreadPoolRelease threadPoolRelease;

void* AllocateFrom(Pool& pool, std::size_t cls, bool locked) {
    FreeBlock* b = pool.free[cls];
    if (!b && pool.returned[cls].load(std::memory_order_relaxed))
        b = pool.returned[cls].exchange(nullptr, std::memory_order_acquire);
    if (b) {
        pool.free[cls] = b->next;
        return b;
    }
    const std::size_t bytes = cls * kGranule;
    if (static_cast<std::size_t>(pool.bumpEnd - pool.bump) < bytes) {
        char* slab = static_cast<char*>(NewSlab(&pool, locked));
        pool.bump = slab + kSlabHeaderBytes;
        pool.bumpEnd = slab + kSlabBytes;
    }
    void* p = pool.bump;
    pool.bump += bytes;
    return p;
}

}  // namespace

void* AllocateElement(std::size_t size) {
    const std::size_t cls = (size + kGranule - 1) / kGranule;
    if (cls == 0 || cls >= kClasses) return ::operator new(size);
    Pool* pool = threadPool;
    if (__builtin_expect(pool == nullptr, 0)) {
        if (threadEnded) {
            std::lock_guard<std::mutex> lock(poolMutex);
            return AllocateFrom(*lastResortPool, cls, true);
        }
        pool = AdoptPool();
        threadPool = pool;
        threadPoolRelease.armed = true;  // gives the pool up when the thread ends
    }
    return AllocateFrom(*pool, cls, false);
}

void FreeElement(void* p, std::size_t size) noexcept {
    if (!p) return;
    const std::size_t cls = (size + kGranule - 1) / kGranule;
    if (cls == 0 || cls >= kClasses) {
        ::operator delete(p);
        return;
    }
    auto* b = static_cast<FreeBlock*>(p);
    const auto slab = reinterpret_cast<std::uintptr_t>(p) & ~(std::uintptr_t{kSlabBytes} - 1);
    Pool* owner = reinterpret_cast<const SlabHeader*>(slab)->owner;
    if (owner == threadPool) {
        b->next = owner->free[cls];
        owner->free[cls] = b;
        return;
    }
    std::atomic<FreeBlock*>& head = owner->returned[cls];
    b->next = head.load(std::memory_order_relaxed);
    while (!head.compare_exchange_weak(b->next, b, std::memory_order_release, std::memory_order_relaxed)) {
    }
}

bool ElementPoolActive() { return true; }

std::size_t ElementPoolReservedBytes() {
    std::lock_guard<std::mutex> lock(poolMutex);
    return slabs->size() * kSlabBytes;
}

#endif

}  // namespace tolvani
