#pragma once

#include <array>

#include "solids/solid_table.h"

namespace pd {

// One edge: positions in a vertex array, drawn from `first` to `second`.
struct EdgePair {
    int first;
    int second;
};

constexpr std::array<EdgePair, 6> tetraEdges{{{0, 1}, {1, 2}, {0, 3}, {0, 2}, {1, 3}, {2, 3}}};

constexpr std::array<EdgePair, 12> cubeEdges{{
    {0, 1}, {1, 2}, {0, 3}, {2, 3}, {3, 5}, {5, 6},
    {0, 6}, {6, 7}, {1, 7}, {4, 7}, {2, 4}, {4, 5}}};

constexpr std::array<EdgePair, 12> cubeDualEdges{{
    {0, 1}, {1, 2}, {2, 4}, {0, 2}, {1, 4}, {4, 5},
    {0, 5}, {1, 5}, {3, 5}, {0, 3}, {2, 3}, {3, 4}}};

constexpr std::array<EdgePair, 12> octaEdges{{
    {0, 1}, {1, 2}, {2, 4}, {0, 2}, {0, 4}, {4, 5},
    {0, 5}, {1, 5}, {3, 5}, {1, 3}, {2, 3}, {3, 4}}};

// The last pair runs from the larger position to the smaller one.
constexpr std::array<EdgePair, 12> octaDualEdges{{
    {0, 3}, {0, 5}, {1, 7}, {0, 1}, {1, 2}, {2, 3},
    {2, 6}, {3, 4}, {4, 5}, {6, 7}, {5, 7}, {6, 4}}};

constexpr std::array<EdgePair, 30> dodecaEdges{{
    {0, 1}, {1, 2}, {3, 4}, {2, 3}, {0, 4}, {4, 9}, {9, 14}, {5, 14}, {0, 5}, {5, 10},
    {6, 10}, {1, 6}, {6, 11}, {7, 11}, {2, 7}, {7, 12}, {8, 12}, {3, 8}, {9, 13}, {8, 13},
    {18, 19}, {14, 19}, {15, 19}, {10, 15}, {15, 16}, {11, 16}, {16, 17}, {12, 17}, {17, 18}, {13, 18}}};

constexpr std::array<EdgePair, 30> icosaEdges{{
    {0, 2}, {1, 2}, {0, 3}, {0, 1}, {2, 3}, {0, 4}, {3, 4}, {0, 5}, {1, 5}, {2, 6},
    {1, 6}, {3, 7}, {2, 7}, {4, 8}, {4, 5}, {5, 9}, {4, 9}, {1, 10}, {5, 10}, {6, 7},
    {3, 8}, {7, 8}, {8, 9}, {9, 10}, {6, 10}, {7, 11}, {6, 11}, {8, 11}, {9, 11}, {10, 11}}};

// A table seen as a list, so solids with tables of different lengths can be
// handled alike.
struct EdgeList {
    const EdgePair* pairs;
    int count;
};

template <std::size_t N>
constexpr EdgeList edgeList(const std::array<EdgePair, N>& table) {
    return {table.data(), static_cast<int>(N)};
}

// The table of the solid of `kind` and the table of its dual; a kind
// outside 1 to 5 gets the icosahedron's.
EdgeList solidEdges(SolidKind kind);
EdgeList dualEdges(SolidKind kind);

}  // namespace pd
