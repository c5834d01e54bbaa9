// net-bench: times the paper nets of OFF models and of their reciprocal
// duals: the unfolding, the layout on A4 pages at the largest scale, and
// writing the PDF (to a temporary file, removed again). Best of `rounds`.
//
//   net-bench [--rounds N] FILE.off...

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "nets/net_layout.h"
#include "polyhedra/model_loading.h"
#include "nets/net_pdf.h"

namespace pd {

namespace {

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void bench(const std::string& name, const Polyhedron& p, int rounds) {
    double unfoldBest = 1e9, layoutBest = 1e9, pdfBest = 1e9;
    Result<Net> net = failure("not made");
    Result<NetLayout> layout = failure("not made");
    for (int r = 0; r < rounds; ++r) {
        auto start = std::chrono::steady_clock::now();
        net = unfold(p);
        unfoldBest = std::min(unfoldBest, seconds(start));
        if (!net) {
            std::printf("%-28s %7d faces: no net: %s\n", name.c_str(), p.faceCount(), net.error().text().c_str());
            return;
        }
        start = std::chrono::steady_clock::now();
        layout = layOutNets({{&p, &*net}}, {});
        layoutBest = std::min(layoutBest, seconds(start));
        char path[] = "/tmp/net-bench-XXXXXX";
        const int fd = ::mkstemp(path);
        start = std::chrono::steady_clock::now();
        const Status written = fd >= 0 ? writeNetPdf(*layout, {{0.8f, 0.8f, 1.0f}}, fd, name)
                                       : Status(failure("cannot make a temporary file"));
        pdfBest = std::min(pdfBest, seconds(start));
        if (fd >= 0) ::close(fd);
        std::remove(path);
        if (!written) std::printf("%s: %s\n", name.c_str(), written.error().text().c_str());
    }
    std::printf("%-28s %7d faces: %4zu pieces (%s, %d tries), %3zu A4 pages at mean edge %6.1f mm; "
                "unfold %.3f s, layout %.3f s, PDF %.3f s\n",
                name.c_str(), p.faceCount(), net->pieces.size(), net->method.c_str(), net->attempts,
                layout->pages.size(), layout->meanEdgeMm, unfoldBest, layoutBest, pdfBest);
}

}  // namespace

}  // namespace pd

using namespace pd;

int main(int argc, char** argv) {
    int rounds = 3, first = 1;
    if (argc > 2 && std::strcmp(argv[1], "--rounds") == 0) rounds = std::atoi(argv[2]), first = 3;
    if (first >= argc || rounds < 1) {
        std::fprintf(stderr, "usage: net-bench [--rounds N] FILE.off...\n");
        return 2;
    }
    for (int i = first; i < argc; ++i) {
        Result<Model> loaded = loadOffModel(argv[i]);
        if (!loaded) {
            std::fprintf(stderr, "net-bench: %s\n", loaded.error().text().c_str());
            return 2;
        }
        const Model& m = *loaded;
        bench(m.name, m.solid, rounds);
        if (m.hasReciprocal) bench(m.name + " dual", m.reciprocalDual, rounds);
    }
    return 0;
}
