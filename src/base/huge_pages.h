#pragma once

#include <cstddef>
#include <vector>

namespace pd {

// Big arrays on huge pages. A model of a million faces fills some hundred
// megabytes of new arrays, and the kernel hands out a 4 KiB page at each
// first touch: on a virtual machine a third of the time went to those
// faults. Memory the kernel may back with 2 MiB pages faults 512 times
// less. Only a hint: where the kernel keeps no huge pages, nothing changes.

// Asks for huge pages for the whole 2 MiB stretches within `bytes` bytes
// from `start`, before they are touched. Below a few MiB, and where the
// system has no such hint (the web page), it does nothing.
void adviseHugePages(void* start, std::size_t bytes);

// Reserves room for `count` elements in `v` and gives the hint for it.
template <class T>
void reserveHuge(std::vector<T>& v, std::size_t count) {
    v.reserve(count);
    adviseHugePages(v.data(), v.capacity() * sizeof(T));
}

}  // namespace pd
