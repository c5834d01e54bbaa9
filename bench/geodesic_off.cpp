// geodesic-off: writes the geodesic sphere of frequency K as an OFF file,
// the big models the explorer's benchmarks open.
//
//   geodesic-off K FILE
//
// Each of the icosahedron's 20 faces is divided into K*K triangles; the grid
// points are pushed out onto the unit sphere. Points on the icosahedron's
// edges and corners are numbered once, by where they lie on the
// icosahedron, so the file holds 10*K*K + 2 vertices and 20*K*K faces with
// no duplicates, every face counter-clockwise seen from outside. Exit status
// 2 with a one-line message for a bad K or an unwritable FILE.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Point {
    double x, y, z;
};

// The icosahedron: corners (0, +-1, +-g) and their cyclic shifts, faces
// counter-clockwise seen from outside.
constexpr double g = 1.6180339887498948482;
constexpr Point corners[12] = {{-1, g, 0}, {1, g, 0},  {-1, -g, 0}, {1, -g, 0},
                               {0, -1, g}, {0, 1, g},  {0, -1, -g}, {0, 1, -g},
                               {g, 0, -1}, {g, 0, 1},  {-g, 0, -1}, {-g, 0, 1}};
constexpr int faces[20][3] = {{0, 11, 5}, {0, 5, 1},  {0, 1, 7},   {0, 7, 10}, {0, 10, 11},
                              {1, 5, 9},  {5, 11, 4}, {11, 10, 2}, {10, 7, 6}, {7, 1, 8},
                              {3, 9, 4},  {3, 4, 2},  {3, 2, 6},   {3, 6, 8},  {3, 8, 9},
                              {4, 9, 5},  {2, 4, 11}, {6, 2, 10},  {8, 6, 7},  {9, 8, 1}};

// Numbers every grid point of the subdivided icosahedron once: the 12
// corners, then K-1 points along each of its 30 edges, then each face's
// inner points.
class Numbering {
public:
    explicit Numbering(int k) : k_(k) {
        for (const auto& f : faces)
            for (int s = 0; s < 3; ++s) edgeIndex(f[s], f[(s + 1) % 3]);
    }

    int vertexCount() const { return 12 + 30 * (k_ - 1) + 20 * innerPerFace(); }

    // Point (i, j) of face f: corner A + i/K of the way to B + j/K of the way
    // to C, with i + j <= K.
    int point(int f, int i, int j) const {
        const int a = faces[f][0], b = faces[f][1], c = faces[f][2];
        if (i == 0 && j == 0) return a;
        if (i == k_) return b;
        if (j == k_) return c;
        if (j == 0) return onEdge(a, b, i);
        if (i == 0) return onEdge(a, c, j);
        if (i + j == k_) return onEdge(b, c, j);
        // Inner points, row by row: row j (1..K-2) holds i = 1..K-1-j.
        const int before = (j - 1) * (k_ - 2) - (j - 1) * (j - 2) / 2;
        return 12 + 30 * (k_ - 1) + f * innerPerFace() + before + (i - 1);
    }

private:
    int innerPerFace() const { return (k_ - 1) * (k_ - 2) / 2; }

    // The number of the edge between corners u and v, given on first sight.
    int edgeIndex(int u, int v) {
        const int lo = u < v ? u : v, hi = u < v ? v : u;
        for (std::size_t e = 0; e < edges_.size(); ++e)
            if (edges_[e][0] == lo && edges_[e][1] == hi) return int(e);
        edges_.push_back({lo, hi});
        return int(edges_.size()) - 1;
    }

    // The point t/K of the way from corner u to corner v (0 < t < K).
    int onEdge(int u, int v, int t) const {
        const int lo = u < v ? u : v, hi = u < v ? v : u;
        int e = 0;
        while (edges_[std::size_t(e)][0] != lo || edges_[std::size_t(e)][1] != hi) ++e;
        const int fromLo = u == lo ? t : k_ - t;
        return 12 + e * (k_ - 1) + (fromLo - 1);
    }

    int k_;
    std::vector<std::vector<int>> edges_;
};

Point onSphere(const Point& a, const Point& b, const Point& c, double s, double t) {
    const Point p{a.x + (b.x - a.x) * s + (c.x - a.x) * t, a.y + (b.y - a.y) * s + (c.y - a.y) * t,
                  a.z + (b.z - a.z) * s + (c.z - a.z) * t};
    const double n = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
    return {p.x / n, p.y / n, p.z / n};
}

}  // namespace

int main(int argc, char** argv) {
    char* end = nullptr;
    const long k = argc == 3 ? std::strtol(argv[1], &end, 10) : 0;
    if (argc != 3 || *end != '\0' || k < 1 || k > 2000) {
        std::fprintf(stderr, "usage: geodesic-off K FILE   (K a frequency from 1 to 2000)\n");
        return 2;
    }
    const int freq = int(k);
    const Numbering number(freq);

    std::vector<Point> points(std::size_t(number.vertexCount()));
    std::vector<char> placed(points.size(), 0);
    for (int f = 0; f < 20; ++f)
        for (int j = 0; j <= freq; ++j)
            for (int i = 0; i + j <= freq; ++i) {
                const int v = number.point(f, i, j);
                if (placed[std::size_t(v)]) continue;  // shared points keep their first place
                placed[std::size_t(v)] = 1;
                points[std::size_t(v)] = onSphere(corners[faces[f][0]], corners[faces[f][1]],
                                                  corners[faces[f][2]], double(i) / freq,
                                                  double(j) / freq);
            }

    std::FILE* out = std::fopen(argv[2], "w");
    if (!out) {
        std::fprintf(stderr, "geodesic-off: cannot create %s\n", argv[2]);
        return 2;
    }
    std::fprintf(out, "OFF\n# geodesic sphere, frequency %d\n%zu %d 0\n", freq, points.size(),
                 20 * freq * freq);
    for (const Point& p : points) std::fprintf(out, "%.9f %.9f %.9f\n", p.x, p.y, p.z);
    for (int f = 0; f < 20; ++f)
        for (int j = 0; j < freq; ++j)
            for (int i = 0; i + j < freq; ++i) {
                // The upward triangle at (i, j) and, where there is room, the
                // downward one beside it; both turn the way face f turns.
                std::fprintf(out, "3 %d %d %d\n", number.point(f, i, j), number.point(f, i + 1, j),
                             number.point(f, i, j + 1));
                if (i + j + 1 < freq)
                    std::fprintf(out, "3 %d %d %d\n", number.point(f, i + 1, j),
                                 number.point(f, i + 1, j + 1), number.point(f, i, j + 1));
            }
    if (std::fclose(out) != 0) {
        std::fprintf(stderr, "geodesic-off: cannot write %s\n", argv[2]);
        return 2;
    }
    return 0;
}
