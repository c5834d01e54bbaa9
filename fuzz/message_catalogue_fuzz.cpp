// Any bytes as a message catalogue (.mo), as the web page reads its own,
// and as the plural rule of one: what reads must answer every count, the
// same way twice, without a fault (a division by zero, a stack run out by
// a rule's nesting).

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/message_catalogue.h"

using namespace pd;

namespace {

// A catalogue of one counted text whose header's plural rule is `rule`.
std::string withRule(const std::string& rule) {
    const std::string header = "Plural-Forms: nplurals=3; plural=" + rule + ";\n", original("a\0b", 3);
    std::string out(28 + 32, '\0');
    const auto put = [&out](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out[at + i] = char(v >> (8 * i));
    };
    put(0, 0x950412de), put(8, 2), put(12, 28), put(16, 44);
    const std::string texts[2][2] = {{"", original}, {header, std::string("x\0y\0z", 5)}};
    for (int table = 0; table < 2; ++table)
        for (int i = 0; i < 2; ++i) {
            put(28 + 16 * table + 8 * i, std::uint32_t(texts[table][i].size()));
            put(28 + 16 * table + 8 * i + 4, std::uint32_t(out.size()));
            out += texts[table][i] + '\0';
        }
    return out;
}

void answerEveryCount(const std::string& bytes) {
    const Result<MessageCatalogue> read = MessageCatalogue::read(bytes);
    if (!read) return;
    for (const unsigned long n : {0UL, 1UL, 2UL, 5UL, 11UL, 21UL, 101UL, ULONG_MAX}) {
        const unsigned long form = read->pluralForm(n);
        const char* text = read->findPlural("a", n);
        if (form != read->pluralForm(n) || text != read->findPlural("a", n)) {
            std::fprintf(stderr, "the plural rule answers %lu two ways\n", n);
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    answerEveryCount(bytes);
    answerEveryCount(withRule(bytes));
    return 0;
}
