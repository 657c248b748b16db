// A global operator new that runs out of memory on purpose, for a test build
// of tolvani-cli: with TOLVANI_TEST_NEW_LIMIT=N in the environment, the
// allocations after the first N fail with std::bad_alloc, as they do when
// the memory is spent. Without it every allocation succeeds. With
// TOLVANI_TEST_NEW_COUNT=FILE the number of allocations the run made is
// written to FILE when it ends, so that a test can spread its limits over a
// command's whole run.
//
// Counted are the allocations of the program and of the standard library
// from the start of the program's own initialisation on; those the shared
// libraries make while they are loaded, and those Qt makes itself, never
// fail. Qt is built without exceptions: a failed allocation in it ends the
// program whatever the caller does, so failing it here would test Qt and
// not the program.
#include <dlfcn.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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
std::atomic<bool> g_started{false};

// Runs before every other initialiser of the program itself.
struct Start {
    Start() { g_started = true; }
};
__attribute__((init_priority(101))) Start g_start;

bool FromQt(const void* caller) {
    Dl_info info;
    return dladdr(caller, &info) != 0 && info.dli_fname && std::strstr(info.dli_fname, "libQt6") != nullptr;
}

// Whether this allocation is to fail; it is counted when it may.
bool Fails(const void* caller) {
    if (!g_started.load(std::memory_order_relaxed) || FromQt(caller)) return false;
    const long limit = Limit();
    return g_count.fetch_add(1, std::memory_order_relaxed) >= limit && limit >= 0;
}

void WriteCount() {
    const char* file = std::getenv("TOLVANI_TEST_NEW_COUNT");
    if (!file) return;
    if (std::FILE* f = std::fopen(file, "w")) {
        std::fprintf(f, "%ld\n", g_count.load());
        std::fclose(f);
    }
}

const bool g_countWritten = [] { return std::atexit(WriteCount) == 0; }();

void* Allocate(std::size_t size, const void* caller) {
    if (Fails(caller)) throw std::bad_alloc();
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}

void* AllocateAligned(std::size_t size, std::align_val_t align, const void* caller) {
    if (Fails(caller)) throw std::bad_alloc();
    const std::size_t a = static_cast<std::size_t>(align);
    if (void* p = std::aligned_alloc(a, (size + a - 1) / a * a)) return p;
    throw std::bad_alloc();
}

}  // namespace

#define CALLER __builtin_return_address(0)
void* operator new(std::size_t size) { return Allocate(size, CALLER); }
void* operator new[](std::size_t size) { return Allocate(size, CALLER); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size, CALLER);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size, CALLER);
    } catch (...) {
        return nullptr;
    }
}
void* operator new(std::size_t size, std::align_val_t align) { return AllocateAligned(size, align, CALLER); }
void* operator new[](std::size_t size, std::align_val_t align) { return AllocateAligned(size, align, CALLER); }
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
