#include "headless/net_output.h"

#include <cstdio>

#include "base/translate.h"
#include "io/file_series.h"
#include "io/output_file.h"
#include "explorer/exports.h"
#include "nets/net_pdf.h"

namespace pd {

Status writeNetOutput(const ExplorerOptions& options, const NetPages& net, std::vector<std::string>* notes) {
    if (notes) notes->insert(notes->end(), net.notes.begin(), net.notes.end());
    const std::string& path = options.outputPath;
    const Existing existing = options.overwrite ? Existing::Replace : Existing::Keep;
    // A net never replaces a file unasked: it may be a worksheet already
    // printed and written on, which no run could make again.
    auto refused = [](Status written) -> Status {
        if (written) return written;
        Error e = written.error();
        if (e.what == tr(alreadyExists)) e.what = fill(tr("{1}; --overwrite lets --net replace it"), {e.what});
        return e;
    };
    if (path.size() >= 4 && path.compare(path.size() - 4, 4, ".pdf") == 0)
        return refused(writeOutputFile(path, [&](int fd) { return writeNetPdf(net.layout, net.fills, fd, net.title); }, existing));
    const std::vector<NamedPage> pages = netSvgPages(net, path);
    // One page is the file itself, as one picture is; more are numbered
    // pages, all of them or none, in one folder held open. With --overwrite
    // no page of an earlier, longer net is left beside the new ones.
    const bool onePage = pages.size() == 1;
    Result<FileSeries> series = FileSeries::open(path, onePage ? 0 : int(pages.size()), existing);
    if (!series) return series.error();
    if (onePage) {
        const Status written = refused(writeFileAtomically(path, pages[0].text, existing));
        if (!written) return written;
    }
    for (std::size_t i = 0; i < pages.size() && !onePage; ++i) {
        const Status written = series->writeNext([&](int fd) { return writeAll(fd, pages[i].text); });
        if (!written) {
            Error e = written.error();
            if (e.what == tr(alreadyExists)) e.what = fill(tr("{1}; --overwrite lets --net replace existing pages"), {e.what});
            return e;
        }
    }
    series->finish(options.overwrite);
    return Done{};
}

}  // namespace pd
