#pragma once

#include <string>
#include <vector>

#include "explorer/options.h"

namespace pd {

// The arguments a page address's query names, as long options: each
// `name=value` becomes "--name" and the value's comma-separated parts
// ("?solid=4&angles=20,-30" gives --solid 4 --angles 20 -30), a `name`
// without a value "--name" alone. Percent escapes and '+' are decoded; a
// leading '?' is skipped; empty parts of the query are left out.
std::vector<std::vector<std::string>> queryOptions(const std::string& query);

// What a page opens with for an address's query.
struct PageOptions {
    ParsedOptions parsed;   // never an exit: a refused query opens as if absent
    bool fixedSize = false; // the query named a size
    NetSettings net;        // the paper net's page and edge (page=, edge-mm=)
    std::string told;       // the first refusal's line for the message area, or ""
};

// Reads `query` as the command line reads its options, each name tried
// alone first: one the command line refuses, and the outputs that only
// the command line writes (--png, --svg, --off, --net, --info, --frames,
// --animate, --overwrite: the page has buttons instead), are told (the
// first of them, in one line) and left out; the others are kept. When the
// kept ones cannot go together, the page opens with no option at all. The
// net's --page and --edge-mm are read as for --net, for the page's net
// buttons.
PageOptions pageOptions(const std::string& query);

}  // namespace pd
