// check-solids [DIR]: tells whether the ten data files in DIR (the current
// directory by default) are numbered the way the program's edge tables
// expect. It only reads; one line per problem, exit status 0 when all fit,
// 1 when some do not, 2 when a file cannot be read: missing, not a regular
// file, or refused by the program's own readers (a face file that ends
// early, holds text or names a vertex outside the solid), with the readers'
// message.

#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/printable.h"
#include "base/standard_output.h"
#include "solids/solid_files_check.h"
#include "version.h"

namespace pd {

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

int check(int argc, char** argv) {
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
    const Result<std::vector<SolidFilesFinding>> findings = checkSolidFiles(dir);
    if (!findings) {
        std::fprintf(stderr, "check-solids: %s\n", findings.error().text().c_str());
        return 2;
    }
    bool unreadable = false;
    int problemCount = 0;
    for (const SolidFilesFinding& found : *findings) {
        for (const Error& error : found.unreadable)
            std::fprintf(stderr, "check-solids: %s\n", error.text().c_str());
        for (const std::string& problem : found.problems) std::printf("%s\n", printable(problem).c_str());
        unreadable = unreadable || !found.unreadable.empty();
        problemCount += static_cast<int>(found.problems.size());
    }
    if (unreadable) return 2;
    if (problemCount > 0) return 1;
    std::printf("%s: all ten files fit the edge tables\n", printable(dir).c_str());
    return 0;
}

}  // namespace

}  // namespace pd

using namespace pd;

int main(int argc, char** argv) {
    holdStandardDescriptors();
    std::signal(SIGXFSZ, SIG_IGN);
    const int status = check(argc, argv);
    // A verdict that did not reach standard output is no verdict.
    if (const Status flushed = flushStandardOutput(); !flushed) {
        std::fprintf(stderr, "check-solids: %s\n", flushed.error().text().c_str());
        return 2;
    }
    return status;
}
