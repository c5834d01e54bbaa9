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

// Reserves room for `count` elements in `v` (a vector or a string) and
// gives the hint for it.
template <class Array>
void reserveHuge(Array& v, std::size_t count) {
    v.reserve(count);
    adviseHugePages(v.data(), v.capacity() * sizeof(*v.data()));
}

// Makes the pages within `bytes` bytes from `start` present now, in one
// call, rather than one fault at a time as they are first written: on a
// virtual machine the faults cost more than the call (bench/README.md,
// "Fresh pages cost more than the work on them", has the measures). What
// they hold is kept. It does nothing below a few pages, or where the
// system has no such call (then the pages come as they are first written,
// as ever).
void populatePages(void* start, std::size_t bytes);

// Room for `count` more elements after the end of `v` (a vector or a
// string), its pages made present: for an array about to be filled that
// far. Grows by half again at least when it must grow, so that a slightly
// larger next use fits.
template <class Array>
void reservePopulated(Array& v, std::size_t count) {
    const std::size_t needed = v.size() + count;
    if (v.capacity() < needed) reserveHuge(v, needed + needed / 2);
    populatePages(v.data() + v.size(), count * sizeof(*v.data()));
}

}  // namespace pd
