// key-list: prints the explorer's key list, as `?` shows it in the window,
// as a [KEYS] section for help2man's include file, so the man page is made
// from the same action table as the keyboard and the menu.

#include <cstdio>
#include <string>

#include "explorer/actions.h"

namespace pd {

namespace {

// Text safe in roff: a backslash or a minus as roff wants them, and a line
// that would start with a control character kept as text.
std::string roff(const std::string& text) {
    std::string out = text.empty() || text[0] == '.' || text[0] == '\'' ? "\\&" : "";
    for (const char c : text) out += c == '\\' ? "\\e" : c == '-' ? "\\-" : std::string(1, c);
    return out;
}

}  // namespace

}  // namespace pd

using namespace pd;

int main() {
    // Every action available: the ten solid files open, among other models.
    ActionContext all;
    all.modelCount = 5;
    all.directory = true;
    std::printf("[KEYS]\nIn the window (the right mouse button's menu holds the same actions):\n");
    for (const std::string& line : helpLines(all)) {
        // Each line is the keys, at least two spaces, then what they do.
        const std::size_t gap = line.find("  ");
        const std::size_t text = line.find_first_not_of(' ', gap);
        std::printf(".TP\n.B %s\n%s\n", roff(line.substr(0, gap)).c_str(), roff(line.substr(text)).c_str());
    }
    return 0;
}
