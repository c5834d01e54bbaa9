// check-solids [DIR]: tells whether the ten data files in DIR (the current
// directory by default) are numbered the way the program's edge tables
// expect. It only reads; one line per problem, exit status 0 when all fit,
// 1 when some do not, 2 when a file cannot be read: missing, not a regular
// file, or refused by the program's own readers (a face file that ends
// early, holds text or names a vertex outside the solid), with the readers'
// message.

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

#include "base/input_file.h"
#include "solids/solid_check.h"
#include "solids/solid_reader.h"
#include "solids/solid_table.h"
#include "version.h"

namespace {

const char helpText[] =
    "Usage: check-solids [DIR]\n"
    "Tells whether the ten solid files in DIR (the current directory by default) are\n"
    "numbered the way platonic-duals' fixed edge tables expect, so that the console\n"
    "program joins true edges. It only reads: tetra.DAT, kocka.dat, okta.dat,\n"
    "dodeka.dat and ikosa.dat with their face files tetrap.dat .. ikosap.dat.\n"
    "Each problem is one line on standard output.\n"
    "\n"
    "Options:\n"
    "  --help       print this help and exit\n"
    "  --version    print the version and exit\n"
    "\n"
    "Exit status: 0 when all ten files fit, 1 when some do not, 2 when a file\n"
    "cannot be read (missing, not a regular file, or refused by the readers).\n";

void reportUnreadable(const std::string& text, bool& unreadable) {
    std::fprintf(stderr, "check-solids: %s\n", text.c_str());
    unreadable = true;
}

std::FILE* openInput(const std::string& dir, const char* name, bool& unreadable) {
    const Result<int> fd = openRegularFile(dir + "/" + name);
    std::FILE* in = fd ? fdopen(*fd, "r") : nullptr;
    if (!fd)
        reportUnreadable(fd.error().text(), unreadable);
    else if (!in) {
        reportUnreadable(dir + "/" + name + ": cannot be read: " + std::strerror(errno), unreadable);
        close(*fd);
    }
    return in;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(helpText, stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("check-solids %s\n", PD_VERSION);
        return 0;
    }
    if (argc > 2) {
        std::fprintf(stderr, "usage: check-solids [DIR]\n");
        return 2;
    }
    const std::string dir = argc == 2 ? argv[1] : ".";
    if (dir.empty()) {
        // "" + "/kocka.dat" would name the root folder's files.
        std::fprintf(stderr, "check-solids: the folder name is empty (use . for the current folder)\n");
        return 2;
    }
    bool unreadable = false;
    int problemCount = 0;

    for (const SolidInfo& info : solidTable) {
        // Vertices a file does not supply stay NaN, so the check can name
        // them instead of measuring a vertex at the origin.
        VertexArray verts;
        verts.fill(Vec3{NAN, NAN, NAN});
        FaceColumns columns{};

        std::FILE* vertexIn = openInput(dir, info.vertexFile, unreadable);
        std::FILE* faceIn = openInput(dir, info.faceFile, unreadable);
        if (vertexIn && faceIn) {
            errno = 0;
            if (info.kind == Tetrahedron)
                readFixedVertices(vertexIn, verts);
            else
                readVerticesToEnd(vertexIn, verts);
            const int vertexError = std::ferror(vertexIn) ? errno : 0;
            const std::string faceProblem = readFaceColumns(faceIn, info.kind, columns);
            if (vertexError != 0)
                reportUnreadable(dir + "/" + info.vertexFile + ": cannot be read: " +
                                     std::strerror(vertexError),
                                 unreadable);
            else if (!faceProblem.empty())
                reportUnreadable(dir + "/" + info.faceFile + ": " + faceProblem, unreadable);
            else
                for (const std::string& problem : checkSolid(info.kind, verts, columns)) {
                    std::printf("%s\n", problem.c_str());
                    ++problemCount;
                }
        }
        if (vertexIn) std::fclose(vertexIn);
        if (faceIn) std::fclose(faceIn);
    }

    if (unreadable) return 2;
    if (problemCount > 0) return 1;
    std::printf("%s: all ten files fit the edge tables\n", dir.c_str());
    return 0;
}
