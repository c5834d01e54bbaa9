#include "explorer/page_controls.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "base/translate.h"

namespace pd {

namespace {

const char* const showValues[] = {"both", "solid", "dual"};
const char* const backValues[] = {"drawn", "dashed", "hidden"};
const char* const faceValues[] = {"off", "shaded", "translucent"};  // FaceStyle's order

// The index of `value` among `values`, or -1.
template <std::size_t N>
int indexOf(const char* const (&values)[N], const std::string& value) {
    for (std::size_t i = 0; i < N; ++i)
        if (value == values[i]) return int(i);
    return -1;
}

std::string numberText(double t) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", t);
    return text;
}

// A slider's value: a number from 0 to 1, or -1.
double sliderValue(const std::string& text) {
    char* end = nullptr;
    const double t = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(t >= 0.0 && t <= 1.0)) return -1.0;
    return t;
}

bool sameColour(Rgb a, Rgb b) { return a.red == b.red && a.green == b.green && a.blue == b.blue; }
constexpr Rgb white{1.0f, 1.0f, 1.0f};

const char* numbersValue(const ViewState& v) {
    return v.numbers ? (v.dualNumbers ? "both" : "solid") : (v.dualNumbers ? "dual" : "none");
}

}  // namespace

const std::vector<PageControl>& pageControls() {
    static const std::vector<PageControl> controls{
        {"show", N_("What is shown"), N_("Shown"), "d", {{"both", N_("solid and dual")}, {"solid", N_("solid")}, {"dual", N_("dual")}}},
        {"dual", N_("What is shown"), N_("Dual"), "c", {{"program", N_("the program's")}, {"reciprocal", N_("reciprocal")}}},
        {"faces", N_("Drawing"), N_("Faces"), "f", {{"off", N_("none")}, {"translucent", N_("translucent")}, {"shaded", N_("shaded")}}},
        {"back", N_("Drawing"), N_("Back edges"), "b", {{"drawn", N_("drawn")}, {"dashed", N_("dashed")}, {"hidden", N_("hidden")}}},
        {"numbers", N_("Drawing"), N_("Numbers"), "n",
         {{"none", N_("none")}, {"solid", N_("solid")}, {"dual", N_("dual")}, {"both", N_("both")}}},
        {"palette", N_("Drawing"), N_("Colours"), "", {{"classic", N_("blue and red")}, {"colourblind", N_("blue and orange")}}},
        {"style", N_("Drawing"), N_("Style"), "", {{"screen", N_("screen")}, {"print", N_("print")}}},
        {"lines", N_("Drawing"), N_("Lines"), "a", {{"smooth", N_("smooth")}, {"aliased", N_("aliased")}}},
        {"spin", N_("Motion"), N_("Spin"), "Space", {{"still", N_("still")}, {"spinning", N_("spinning")}}},
        {"morph", N_("Motion"), N_("Morph to the dual"), "[ ]", {}},
        {"unfold", N_("Motion"), N_("Fold open"), "", {}},
    };
    return controls;
}

std::string controlValue(const ViewState& v, const std::string& id) {
    if (id == "show") return showValues[int(v.show == ShowMode::Both ? 0 : v.show == ShowMode::Solid ? 1 : 2)];
    if (id == "dual") return v.dual == DualKind::Program ? "program" : "reciprocal";
    if (id == "faces") return faceValues[int(v.faces)];
    if (id == "back") return backValues[int(v.back)];
    if (id == "numbers") return numbersValue(v);
    if (id == "palette") return v.palette == PaletteKind::Classic ? "classic" : "colourblind";
    if (id == "style") return v.style == Style::Screen ? "screen" : "print";
    if (id == "lines") return v.aliased ? "aliased" : "smooth";
    if (id == "spin") return v.spinning ? "spinning" : "still";
    if (id == "morph") return numberText(v.morph);
    if (id == "unfold") return numberText(v.unfold);
    return "";
}

Status setControl(Session& session, const std::string& id, const std::string& value, double now) {
    const auto refused = [&] { return failure(fill(tr("no such choice: {1} {2}"), {id, value})); };
    if (id == "morph" || id == "unfold") {
        const double t = sliderValue(value);
        if (t < 0.0) return refused();
        if (id == "morph") session.setMorph(t, now);
        else session.setFold(t, now);
        return Done{};
    }
    // Each choice as one edit of the view, or none for a refused value.
    std::function<void(ViewState&)> edit;
    if (id == "show" && indexOf(showValues, value) >= 0) {
        const ShowMode modes[] = {ShowMode::Both, ShowMode::Solid, ShowMode::Dual};
        const ShowMode mode = modes[indexOf(showValues, value)];
        edit = [mode](ViewState& v) { v.show = mode; };
    } else if (id == "dual" && (value == "program" || value == "reciprocal")) {
        // As the key does, so a model without a reciprocal says so.
        if (value != controlValue(session.view(), id)) session.perform(ActionId::CycleDual, now);
        return Done{};
    } else if (id == "faces" && indexOf(faceValues, value) >= 0) {
        const FaceStyle faces = FaceStyle(indexOf(faceValues, value));
        edit = [faces](ViewState& v) { v.faces = faces; };
    } else if (id == "back" && indexOf(backValues, value) >= 0) {
        const BackEdges back = BackEdges(indexOf(backValues, value));
        edit = [back](ViewState& v) { v.back = back; };
    } else if (id == "numbers" && (value == "none" || value == "solid" || value == "dual" || value == "both")) {
        edit = [value](ViewState& v) {
            v.numbers = value == "solid" || value == "both";
            v.dualNumbers = value == "dual" || value == "both";
        };
    } else if (id == "palette" && (value == "classic" || value == "colourblind")) {
        edit = [value](ViewState& v) { v.palette = value == "classic" ? PaletteKind::Classic : PaletteKind::Colourblind; };
    } else if (id == "style" && (value == "screen" || value == "print")) {
        // As --style does: print on white, unless the background was chosen.
        edit = [value](ViewState& v) {
            const bool print = value == "print";
            if (print && v.style == Style::Screen && sameColour(v.background, programBackground)) v.background = white;
            if (!print && v.style == Style::Print && sameColour(v.background, white)) v.background = programBackground;
            v.style = print ? Style::Print : Style::Screen;
        };
    } else if (id == "lines" && (value == "smooth" || value == "aliased")) {
        edit = [value](ViewState& v) { v.aliased = value == "aliased"; };
    } else if (id == "spin" && (value == "still" || value == "spinning")) {
        edit = [value](ViewState& v) { v.spinning = value == "spinning"; };
    } else {
        return refused();
    }
    session.change(edit, now);
    return Done{};
}

void carryChoices(const ViewState& from, ViewState& to) {
    to.show = from.show;
    to.back = from.back;
    to.faces = from.faces;
    to.numbers = from.numbers;
    to.dualNumbers = from.dualNumbers;
    to.palette = from.palette;
    to.style = from.style;
    to.background = from.background;
    to.aliased = from.aliased;
    to.presenting = from.presenting;
    setOrientation(to, orientationOf(from));
    to.turntable = from.turntable;
    to.zoom = from.zoom;
}

std::string viewQuery(const ViewState& v, const Model& model) {
    const ViewState opening = initialViewState(model.solidKind == 0);
    std::string query;
    const auto add = [&query](const std::string& part) { query += (query.empty() ? "" : "&") + part; };
    // The program's two angles while they say the view; else the nearest two.
    double a = v.angleX, b = v.angleY;
    if (!v.turn.isIdentity()) {
        const ProgramAngles p = programAnglesOf(wholeRotation(orientationOf(v)));
        a = p.angleX, b = p.angleY;
    }
    if (v.turntable || a != double(startAngleX) || b != double(startAngleY))
        add("angles=" + angleText(a) + "," + angleText(b));
    if (v.turntable) add("turntable");
    for (const char* id : {"show", "dual", "faces", "back", "numbers", "palette", "style"}) {
        const std::string value = controlValue(v, id);
        const bool dual = std::string(id) == "dual";
        if (value != controlValue(opening, id) || (dual && v.dual != opening.dual)) add(std::string(id) + "=" + value);
    }
    if (v.aliased) add("aliased");
    if (v.morph > 0.0) add("morph=" + numberText(v.morph));
    if (v.unfold > 0.0) add("unfold=" + numberText(v.unfold));
    const char* kinds[] = {"", "face", "vertex", "edge"};
    if (v.lit.kind != LitKind::None && v.morph <= 0.0 && v.unfold <= 0.0)
        add(std::string("highlight=") + kinds[int(v.lit.kind)] + ":" + std::to_string(v.lit.index + model.numberBase));
    return query;
}

}  // namespace pd
