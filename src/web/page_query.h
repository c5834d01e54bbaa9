#pragma once

#include <string>
#include <vector>

#include "base/result.h"
#include "explorer/model_inputs.h"
#include "explorer/options.h"
#include "view/view_state.h"

namespace pd {

// The arguments a page address's query names, as long options: each
// `name=value` becomes "--name" and the value's comma-separated parts
// ("?solid=4&angles=20,-30" gives --solid 4 --angles 20 -30), a `name`
// without a value "--name" alone. Percent escapes and '+' are decoded; a
// leading '?' is skipped; empty parts of the query are left out.
std::vector<std::vector<std::string>> queryOptions(const std::string& query);

// What a page opens with for an address's query.
struct PageOptions {
    ParsedOptions parsed;   // never an exit: what is refused is left out
    bool fixedSize = false; // the query named a size, kept
    NetSettings net;        // the paper net's page and edge (page=, edge-mm=)
    std::string told;       // a line for the message area per refusal, or ""
    std::vector<std::vector<std::string>> kept;  // the view's options parsed, as queryOptions gives them
};

// The language a page opens in: the query's lang= when it is en, sr or
// sr@latin (`named` set; another value is refused by pageOptions), else the
// first of the browser's languages (`browser`, navigator.languages joined
// by commas) that is one of them: sr-Latn and sr-Latn-RS give sr@latin, sr,
// sr-RS and sr-Cyrl give sr, en and en-GB give en; else English.
std::string pageLanguage(const std::string& query, const std::string& browser, bool& named);

// Reads `query` as the command line reads its options, one name after
// another: one the command line refuses, alone or with those kept before
// it, one it only prints (--help, --version), and the outputs that only the
// command line writes (--png, --svg, --off, --net, --info, --frames,
// --animate, --overwrite: the page has buttons instead), are told (a line
// each) and left out; the others are kept. The net's --page and --edge-mm
// are read as for --net, for the page's net buttons.
PageOptions pageOptions(const std::string& query);

// The view `page` opens in on `loaded` (see startState). An option the
// models refuse (a --model they do not hold, a --highlight past their
// parts) is told in page.told and left out of `page`, the address's
// options judged in their order; what is kept stays. An error only when
// no option at all gives a view (nothing loaded).
Result<ViewState> pageStart(PageOptions& page, const LoadedModels& loaded);

}  // namespace pd
