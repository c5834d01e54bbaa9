#include "base/huge_pages.h"

#include <cstdint>

#if defined(__linux__) && !defined(__EMSCRIPTEN__)
#include <unistd.h>
#endif

#if defined(__linux__) && !defined(__EMSCRIPTEN__)
#include <sys/mman.h>
#endif

namespace pd {

void adviseHugePages(void* start, std::size_t bytes) {
#if defined(MADV_HUGEPAGE) && !defined(__EMSCRIPTEN__)
    constexpr std::uintptr_t huge = std::uintptr_t(2) << 20;
    if (start == nullptr || bytes < 2 * huge) return;
    const std::uintptr_t from = (reinterpret_cast<std::uintptr_t>(start) + huge - 1) & ~(huge - 1);
    const std::uintptr_t to = (reinterpret_cast<std::uintptr_t>(start) + bytes) & ~(huge - 1);
    // A refusal (no huge pages here) leaves the memory as it was.
    if (to > from) (void)madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
#else
    (void)start;
    (void)bytes;
#endif
}

void populatePages(void* start, std::size_t bytes) {
#if defined(__linux__) && !defined(__EMSCRIPTEN__)
#ifndef MADV_POPULATE_WRITE
    constexpr int MADV_POPULATE_WRITE = 23;  // Linux 5.14; older kernels refuse it, harmlessly
#endif
    static const std::uintptr_t page = std::uintptr_t(sysconf(_SC_PAGESIZE));
    if (start == nullptr || bytes < 4 * page) return;
    const std::uintptr_t from = (reinterpret_cast<std::uintptr_t>(start) + page - 1) & ~(page - 1);
    const std::uintptr_t to = (reinterpret_cast<std::uintptr_t>(start) + bytes) & ~(page - 1);
    if (to > from) (void)madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE);
#else
    (void)start;
    (void)bytes;
#endif
}

}  // namespace pd
