#include "base/huge_pages.h"

#include <cstdint>

#if defined(__linux__) && !defined(__EMSCRIPTEN__)
#include <sys/mman.h>
#include <unistd.h>
#define PD_PAGE_HINTS 1
#endif

namespace pd {

#ifdef PD_PAGE_HINTS
namespace {

// Gives `advice` for the whole `unit`-sized stretches within `bytes` bytes
// from `start` (a power of two), when there are at least `least` bytes.
// A refusal (a kernel without that advice) leaves the memory as it was.
void advise(void* start, std::size_t bytes, std::uintptr_t unit, std::size_t least, int advice) {
    if (start == nullptr || bytes < least) return;
    const std::uintptr_t from = (reinterpret_cast<std::uintptr_t>(start) + unit - 1) & ~(unit - 1);
    const std::uintptr_t to = (reinterpret_cast<std::uintptr_t>(start) + bytes) & ~(unit - 1);
    if (to > from) (void)madvise(reinterpret_cast<void*>(from), to - from, advice);
}

}  // namespace
#endif

void adviseHugePages(void* start, std::size_t bytes) {
#if defined(PD_PAGE_HINTS) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t huge = std::uintptr_t(2) << 20;
    advise(start, bytes, huge, 2 * huge, MADV_HUGEPAGE);
#else
    (void)start;
    (void)bytes;
#endif
}

void populatePages(void* start, std::size_t bytes) {
#ifdef PD_PAGE_HINTS
#ifndef MADV_POPULATE_WRITE
    constexpr int MADV_POPULATE_WRITE = 23;  // Linux 5.14; older kernels refuse it, harmlessly
#endif
    static const std::uintptr_t page = std::uintptr_t(sysconf(_SC_PAGESIZE));
    advise(start, bytes, page, 4 * page, MADV_POPULATE_WRITE);
#else
    (void)start;
    (void)bytes;
#endif
}

}  // namespace pd
