#include "explorer/exports.h"

#include "io/file_series.h"
#include "nets/net_svg.h"

namespace pd {

Status exportable(Session& session, bool animatesMorph) {
    if (session.view().morph > 0.0 || animatesMorph) return session.morphAvailable();
    return Done{};
}

Result<Frame> exportedFrame(Session& session, FrameTarget target) {
    const Result<const Model*> stage = session.stage();
    if (!stage) return stage.error();
    Result<Frame> frame = session.frame(target, false);
    if (!frame->unfinished.empty()) return failure(frame->unfinished);
    return frame;
}

std::string exportName(const Session& session, const std::string& ending) { return session.saveStem() + ending; }

Result<NetPages> exportedNet(Session& session) {
    const Session::NetShells net = session.netShells();
    return layOutNet(session.netSettings(), session.view().palette, net.shells, *net.model);
}

std::vector<NamedPage> netSvgPages(const NetPages& net, const std::string& path) {
    const std::vector<std::string> pages = formatNetSvg(net.layout, net.fills);
    std::vector<NamedPage> named;
    for (std::size_t i = 0; i < pages.size(); ++i)
        named.push_back({pages.size() == 1 ? path : frameFileName(path, int(i), int(pages.size())), pages[i]});
    return named;
}

}  // namespace pd
