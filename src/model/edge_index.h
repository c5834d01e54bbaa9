#pragma once

#include <cstdint>
#include <vector>

// Edge numbers by their two vertices, in a flat open-addressed table: far
// cheaper than a node-based map on models of millions of edges, and linear
// overall. Used by the model code only.
class EdgeIndex {
public:
    // Room for `expected` edges without growing (the table is at least twice
    // that, a power of two).
    explicit EdgeIndex(std::size_t expected) {
        std::size_t size = 16;
        while (size < 2 * expected) size *= 2;
        keys_.assign(size, emptyKey);
        ids_.assign(size, -1);
        mask_ = size - 1;
    }

    // The number stored for the edge {a, b} (either order); if there is none
    // yet, stores `id` and returns -1.
    std::int32_t findOrAdd(std::int32_t a, std::int32_t b, std::int32_t id) {
        const std::uint64_t key = keyOf(a, b);
        std::size_t slot = mix(key) & mask_;
        while (keys_[slot] != emptyKey) {
            if (keys_[slot] == key) return ids_[slot];
            slot = (slot + 1) & mask_;
        }
        keys_[slot] = key;
        ids_[slot] = id;
        return -1;
    }

    // The number stored for {a, b}, or -1.
    std::int32_t find(std::int32_t a, std::int32_t b) const {
        const std::uint64_t key = keyOf(a, b);
        std::size_t slot = mix(key) & mask_;
        while (keys_[slot] != emptyKey) {
            if (keys_[slot] == key) return ids_[slot];
            slot = (slot + 1) & mask_;
        }
        return -1;
    }

private:
    static constexpr std::uint64_t emptyKey = ~std::uint64_t{0};

    static std::uint64_t keyOf(std::int32_t a, std::int32_t b) {
        if (a > b) std::swap(a, b);
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(a)) << 32) |
               static_cast<std::uint32_t>(b);
    }
    // Vertex numbers of neighbours are close together; the finaliser of
    // SplitMix64 spreads them over the whole table.
    static std::uint64_t mix(std::uint64_t x) {
        x ^= x >> 30;
        x *= 0xbf58476d1ce4e5b9ULL;
        x ^= x >> 27;
        x *= 0x94d049bb133111ebULL;
        x ^= x >> 31;
        return x;
    }

    std::vector<std::uint64_t> keys_;
    std::vector<std::int32_t> ids_;
    std::size_t mask_ = 0;
};
