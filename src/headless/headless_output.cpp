#include "headless/headless_output.h"

#include <optional>

#include "base/translate.h"
#include "explorer/exports.h"
#include "io/file_series.h"
#include "headless/net_output.h"
#include "io/output_file.h"
#include "print/glb_file.h"
#include "print/stl_file.h"
#include "print/three_mf_file.h"
#include "svg/svg_writer.h"

namespace pd {

namespace {

Error withHint(Error e, OutputKind output) {
    if (e.what == tr(alreadyExists))
        e.what = fill(printOutput(output) ? tr("{1}; --overwrite lets a print replace it")
                                          : tr("{1}; --overwrite lets --frames replace existing pictures"),
                      {e.what});
    return e;
}

// The bytes of the print file the options ask for.
Result<std::string> printFile(const ExplorerOptions& options, Session& session, std::vector<std::string>* notes) {
    PrintSettings settings = options.print;
    settings.oneSurface = options.output == OutputKind::Stl;
    const Result<PrintModel> print = exportedPrint(session, settings, notes);
    if (!print) return print.error();
    if (options.output == OutputKind::Stl) return formatStl(*print);
    return options.output == OutputKind::ThreeMf ? format3mf(*print) : formatGlb(*print);
}

Status writeModelFile(const ExplorerOptions& options, Session& session, std::vector<std::string>* notes) {
    if (options.output == OutputKind::Net) {
        const Result<NetPages> net = exportedNet(session);
        if (!net) return net.error();
        return writeNetOutput(options, *net, notes);
    }
    if (printOutput(options.output)) {
        const Result<std::string> bytes = printFile(options, session, notes);
        if (!bytes) return bytes.error();
        return writeFileAtomically(options.outputPath, *bytes, options.overwrite ? Existing::Replace : Existing::Keep);
    }
    const Result<std::string> text = session.offText();
    if (!text) return text.error();
    return writeFileAtomically(options.outputPath, *text);
}

}  // namespace

Result<std::string> infoText(Session& session) {
    const Result<std::vector<std::string>> lines = session.countLines();
    if (!lines) return lines.error();
    std::string text;
    for (const std::string& line : *lines) text += line + "\n";
    return text;
}

Status writeHeadlessOutput(const ExplorerOptions& options, Session& session, const PictureWriter& writePng,
                           std::vector<std::string>* notes) {
    const int count = options.frames > 0 ? options.frames : 1;
    // Frames and prints are new files unless told otherwise: a second run
    // into the same names would silently replace the first one's pictures,
    // and a print may be one sliced and set up already.
    const Existing existing =
        (options.frames > 0 || printOutput(options.output)) && !options.overwrite ? Existing::Keep : Existing::Replace;
    std::optional<FileSeries> series;
    if (options.frames > 0) {
        Result<FileSeries> opened = FileSeries::open(options.outputPath, count, existing);
        if (!opened) return opened.error();
        series.emplace(std::move(*opened));
    }
    const Status checked = series ? series->check(0) : checkOutputPath(options.outputPath, existing);
    if (!checked) return withHint(checked.error(), options.output);
    // Whether any picture of the run shows a stage of the morph.
    const bool animatesMorph =
        options.frames > 1 && (options.animate == Animation::Morph || options.animate == Animation::Both);
    const Status available = exportable(session, animatesMorph);
    if (!available) return available;
    if (options.output == OutputKind::Off || options.output == OutputKind::Net || printOutput(options.output)) {
        const Status written = writeModelFile(options, session, notes);
        return written ? written : Status(withHint(written.error(), options.output));
    }
    const FrameTarget target = options.output == OutputKind::Svg ? FrameTarget::Vector : FrameTarget::Raster;
    for (int i = 0; i < count; ++i) {
        if (options.frames > 0) session.showFrame(options.animate, i, count);
        // Half an animation is of no use: on any error the series removes
        // the pictures it added (the ones it replaced are gone already).
        // A picture refused for its size is written by no frame: the series
        // removes the rest.
        const Result<Frame> frame = exportedFrame(session, target);
        if (!frame) return frame.error();
        const OutputFiller fill = [&](int fd) {
            if (options.output == OutputKind::Png) return writePng(*frame, fd);
            for (const std::string& part : formatSvgParts(*frame)) {
                const Status written = writeAll(fd, part);
                if (!written) return written;
            }
            return Status(Done{});
        };
        const Status done = series ? series->writeNext(fill) : writeOutputFile(options.outputPath, fill, existing);
        if (!done) return withHint(done.error(), options.output);
    }
    // Replacing a longer series: its pictures past this one go too, or a
    // `convert turn-*.png` would take them with the new ones.
    if (series) series->finish(options.overwrite);
    return Done{};
}

}  // namespace pd
