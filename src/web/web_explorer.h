#pragma once

#include <string>
#include <vector>

namespace pd {

// The arguments a page address's query names, as long options: each
// `name=value` becomes "--name" and the value's comma-separated parts
// ("?solid=4&angles=20,-30" gives --solid 4 --angles 20 -30), a `name`
// without a value "--name" alone. Percent escapes and '+' are decoded; a
// leading '?' is skipped; empty parts of the query are left out.
std::vector<std::vector<std::string>> queryOptions(const std::string& query);

// Runs the explorer in the page: the ten solid files embedded at /data,
// opened in the state the address's query names, drawn into the canvas
// "#canvas" with WebGL2 and driven by the page's keys, mouse and size.
// A bad option in the query is told in the element "#message" and left
// out. Returns at once (the browser's loop drives it); 2 when the page
// cannot show the explorer (no WebGL2, no data), said in "#message".
int runWebExplorer();

}  // namespace pd
