#include "explorer/page_info.h"

#include <cstdio>

#include "base/translate.h"
#include "polyhedra/shell_counts.h"
#include "view/highlight.h"

namespace pd {

namespace {

// A counts line as countsLine writes it, "LABEL: [NAME  ]V 8  E 12 ...":
// its name, and the counts as "V 8, E 12, F 6, V-E+F 2; faces: ...".
struct SplitLine {
    std::string label, name, counts;
};

SplitLine split(const std::string& line) {
    SplitLine s;
    const std::size_t colon = line.find(": ");
    s.label = line.substr(0, colon);
    std::string rest = colon == std::string::npos ? "" : line.substr(colon + 2);
    const std::string edgeMark = "  " + std::string(countsMark(CountsMark::Edges)) + " ";
    const std::size_t edges = rest.find(edgeMark);
    const std::size_t numbers = edges == std::string::npos ? edges : rest.rfind(countsMark(CountsMark::Vertices) + std::string(" "), edges);
    if (numbers != std::string::npos && numbers >= 2) s.name = rest.substr(0, numbers - 2);
    rest = numbers == std::string::npos ? rest : rest.substr(numbers);
    const std::size_t faces = rest.find("  " + std::string(countsMark(CountsMark::FaceList)) + " ");
    std::string counts = rest.substr(0, faces);
    for (std::size_t at; (at = counts.find("  ")) != std::string::npos;) counts.replace(at, 2, ", ");
    s.counts = counts + (faces == std::string::npos ? "" : "; " + rest.substr(faces + 2));
    return s;
}

}  // namespace

PageInfo pageInfo(Session& session) {
    PageInfo info;
    const Model& model = session.model();
    info.model = tr(model.name.c_str());
    const Result<std::vector<std::string>> lines = session.countLines();
    if (!lines) return info;
    const ViewState& v = session.view();
    for (const std::string& line : *lines) {
        const SplitLine s = split(line);
        if (s.label == trc("shell", "solid") && !s.name.empty() && s.name != info.model) info.model += " (" + s.name + ")";
        if (s.label == trc("shell", "dual")) info.dual = s.name;
        if (s.label == trc("shell", "morph")) {
            char t[32];
            std::snprintf(t, sizeof t, "%g", v.morph);
            const std::string stage = fill(tr("morph at {1}"), {t});
            info.counts.push_back(stage + (s.name.empty() ? "" : " (" + s.name + ")") + ": " + s.counts);
        } else {
            info.counts.push_back(s.label + ": " + s.counts);
        }
    }
    if (v.lit.kind != LitKind::None && v.morph <= 0.0 && v.unfold <= 0.0) info.lit = litText(model, v.lit);
    return info;
}

std::string pageInfoText(const PageInfo& info) {
    std::string text = info.dual.empty() ? info.model + "." : fill(tr("{1}, and its dual, the {2}."), {info.model, info.dual});
    for (const std::string& line : info.counts) text += "\n" + line;
    if (!info.lit.empty()) text += "\n" + fill(tr("lit: {1}"), {info.lit});
    return text;
}

}  // namespace pd
