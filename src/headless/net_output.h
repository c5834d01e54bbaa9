#pragma once

#include <string>

#include "base/result.h"

#include "explorer/options.h"
#include "view/shown_shells.h"
#include "polyhedra/model.h"
#include "explorer/net_pages.h"

namespace pd {

// The explorer's --net: the paper net of the shells the state shows, laid
// out on pages and written as one PDF, or as SVG pages (the file itself for
// one page, else one file per page named like the turntable's pictures:
// net.svg gives net-000.svg, net-001.svg ...). Every file goes through the
// safe writer (io/output_file.h). An error when no shell has a net (naming
// the first and why), when --edge-mm is too large for the page (naming the
// largest that fits), or when a file cannot be written. A shell without a
// net beside one with is left out, the reason added to `notes` when given.
Status writeNetOutput(const ExplorerOptions& options, const std::vector<ShownShell>& shells, const Model& model,
                      std::vector<std::string>* notes = nullptr);

}  // namespace pd
