#include "ui/huge_page_heap.h"

#if defined(__linux__)
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <sys/mman.h>
#endif

// A sanitizer brings its own allocator: the heap is not glibc's to shape.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define JSB_SANITIZED_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer) || __has_feature(thread_sanitizer)
#define JSB_SANITIZED_HEAP 1
#endif
#endif

namespace ui {

#if defined(__linux__) && defined(__GLIBC__) && !defined(JSB_SANITIZED_HEAP)

namespace {
constexpr size_t kHugePage = size_t(2) << 20;
constexpr size_t kMaxThreshold = size_t(32) << 20; // the largest mapping threshold glibc takes
constexpr size_t kReserve = size_t(30) << 20;      // what the main window and its forms use, with room

// The [heap] mapping of this process, from /proc/self/maps.
bool heap_range(uintptr_t& lo, uintptr_t& hi)
{
    FILE* maps = std::fopen("/proc/self/maps", "re");
    if (!maps) return false;
    char line[512];
    bool found = false;
    while (std::fgets(line, sizeof line, maps))
        if (std::strstr(line, "[heap]")) found = std::sscanf(line, "%lx-%lx", &lo, &hi) == 2;
    std::fclose(maps);
    return found;
}
} // namespace

void back_heap_with_huge_pages()
{
    // Every thread allocates from the one heap that is backed so, and the
    // heap keeps its reserve instead of handing it back at once. Blocks up to
    // the largest threshold come from the heap too (a decoded picture, a
    // report), so freed ones are reused there rather than mapped anew.
    mallopt(M_ARENA_MAX, 1);
    mallopt(M_TRIM_THRESHOLD, int(2 * kReserve));
    mallopt(M_MMAP_THRESHOLD, int(kMaxThreshold));
    // Grow the heap by the reserve: one block taken from it and given back.
    void* volatile block = std::malloc(kReserve);
    if (block) static_cast<volatile char*>(block)[0] = 0;
    std::free(block);
    uintptr_t lo = 0, hi = 0;
    if (!heap_range(lo, hi)) return;
    const uintptr_t from = (lo + kHugePage - 1) & ~uintptr_t(kHugePage - 1);
    if (from < hi) madvise(reinterpret_cast<void*>(from), size_t(hi - from), MADV_HUGEPAGE);
}

#else

void back_heap_with_huge_pages() {}

#endif

} // namespace ui
