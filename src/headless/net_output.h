#pragma once

#include <string>

#include "base/result.h"

#include "explorer/options.h"
#include "view/shown_shells.h"
#include "polyhedra/model.h"
#include "explorer/net_pages.h"

namespace pd {

// The explorer's --net: a paper net laid out on pages (see exportedNet),
// written as one PDF, or as SVG pages (the file itself for
// one page, else one file per page named like the turntable's pictures:
// net.svg gives net-000.svg, net-001.svg ...). Every file goes through the
// safe writer (io/output_file.h). An error when a file cannot be written.
// Why a shell is left out of the net is added to `notes` when given.
Status writeNetOutput(const ExplorerOptions& options, const NetPages& net, std::vector<std::string>* notes = nullptr);

}  // namespace pd
