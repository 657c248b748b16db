// A global operator new that runs out of memory on purpose, for a test build
// of tolvani-cli: with TOLVANI_TEST_NEW_LIMIT=N in the environment, the
// allocations after the first N fail with std::bad_alloc, as they do when
// the memory is spent. Without it every allocation succeeds.
#include <atomic>
#include <cstdlib>
#include <new>

namespace {

long Limit() {
    static const long limit = [] {
        const char* text = std::getenv("TOLVANI_TEST_NEW_LIMIT");
        return text ? std::atol(text) : -1L;
    }();
    return limit;
}

std::atomic<long> g_count{0};

void* Allocate(std::size_t size) {
    const long limit = Limit();
    if (limit >= 0 && g_count.fetch_add(1, std::memory_order_relaxed) >= limit) throw std::bad_alloc();
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}

void* AllocateAligned(std::size_t size, std::align_val_t align) {
    const long limit = Limit();
    if (limit >= 0 && g_count.fetch_add(1, std::memory_order_relaxed) >= limit) throw std::bad_alloc();
    const std::size_t a = static_cast<std::size_t>(align);
    if (void* p = std::aligned_alloc(a, (size + a - 1) / a * a)) return p;
    throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new(std::size_t size, std::align_val_t align) { return AllocateAligned(size, align); }
void* operator new[](std::size_t size, std::align_val_t align) { return AllocateAligned(size, align); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
