#include "web/page_saves.h"

#include <emscripten/emscripten.h>

#include "explorer/exports.h"
#include "print/glb_file.h"
#include "print/stl_file.h"
#include "svg/svg_writer.h"
#include "web/page_state.h"

namespace pd {

void download(const std::string& name, const std::string& text, const char* type) {
    EM_ASM({
        var blob = new Blob([HEAPU8.slice($1, $1 + $2)], {type: UTF8ToString($3)});
        var link = document.createElement("a");
        link.download = UTF8ToString($0);
        link.href = URL.createObjectURL(blob);
        document.body.appendChild(link);
        link.click();
        link.remove();
        setTimeout(function () { URL.revokeObjectURL(link.href); }, 10000);
    }, name.c_str(), text.data(), text.size(), type);
}

Status downloadSvg(Session& session) {
    const Status available = exportable(session);
    if (!available) return available;
    const Result<Frame> frame = exportedFrame(session, FrameTarget::Vector);
    if (!frame) return frame.error();
    download(exportName(session, ".svg"), formatSvg(*frame), "image/svg+xml");
    return Done{};
}

Status downloadOff(Session& session) {
    const Status available = exportable(session);
    if (!available) return available;
    const Result<std::string> text = session.offText();
    if (!text) return text.error();
    download(exportName(session, ".off"), *text, "text/plain");
    return Done{};
}

Status downloadPrint(Session& session, PrintFormat format) {
    const Status available = exportable(session);
    if (!available) return available;
    PrintSettings settings;
    settings.oneSurface = format == PrintFormat::Stl;
    const Result<PrintModel> print = exportedPrint(session, settings);
    if (!print) return print.error();
    const bool stl = format == PrintFormat::Stl;
    const Result<std::string> bytes = stl ? formatStl(*print) : formatGlb(*print);
    if (!bytes) return bytes.error();
    download(exportName(session, stl ? ".stl" : ".glb"), *bytes, stl ? "model/stl" : "model/gltf-binary");
    return Done{};
}

Status downloadNet(Session& session) {
    const Status available = exportable(session);
    if (!available) return available;
    const Result<NetPages> laid = exportedNet(session);
    if (!laid) return laid.error();
    for (const NamedPage& named : netSvgPages(*laid, exportName(session, "-net.svg")))
        download(named.name, named.text, "image/svg+xml");
    return Done{};
}

Status printNet(Session& session) {
    const Status available = exportable(session);
    if (!available) return available;
    const Result<NetPages> laid = exportedNet(session);
    if (!laid) return laid.error();
    std::string pages;
    for (const NamedPage& named : netSvgPages(*laid, exportName(session, "-net.svg")))
        pages += (pages.empty() ? "[" : ",") + jsonString(named.text);
    pages += "]";
    EM_ASM({ if (Module.pdPrintNet) Module.pdPrintNet($0, $1, UTF8ToString($2)); }, laid->layout.format.width,
           laid->layout.format.height, pages.c_str());
    return Done{};
}

}  // namespace pd
