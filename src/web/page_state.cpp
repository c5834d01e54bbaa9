#include "web/page_state.h"

#include <cctype>
#include <cstdio>

#include "base/translate.h"
#include "construct/catalogue.h"
#include "explorer/model_picker.h"
#include "explorer/page_controls.h"
#include "explorer/page_info.h"

namespace pd {

namespace {

// The buttons beside the controls: actions of the key table, by id.
const ActionId buttons[] = {ActionId::ToggleMorph, ActionId::ToggleUnfold, ActionId::Reset,
                            ActionId::ZoomIn,      ActionId::ZoomOut,      ActionId::NextModel,
                            ActionId::PreviousModel, ActionId::Unlight,    ActionId::ToggleHelp,
                            ActionId::TogglePresent};

std::string list(const std::vector<std::string>& items) {
    std::string text = "[";
    for (const std::string& item : items) text += (text.size() > 1 ? "," : "") + item;
    return text + "]";
}

std::string strings(const std::vector<std::string>& items) {
    std::vector<std::string> quoted;
    for (const std::string& item : items) quoted.push_back(jsonString(item));
    return list(quoted);
}

std::string field(const char* name, const std::string& json) { return jsonString(name) + ":" + json; }

// Millimetres as the address writes them: "40", "12.5".
std::string millimetres(double mm) {
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", mm);
    return text;
}

// A page size as the address and the command line name it.
const char* paperName(PageSize page) { return page == PageSize::Letter ? "letter" : page == PageSize::A3 ? "a3" : "a4"; }

}  // namespace

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') out += std::string("\\") + c;
        else if (c == '\n') out += "\\n";
        else if (u < 0x20) {
            const char* hex = "0123456789abcdef";
            out += std::string("\\u00") + hex[u >> 4] + hex[u & 15];
        } else out += c;
    }
    return out + "\"";
}

std::string currentEntry(const Session& session, const PageSource& source, int& sides) {
    const Model& m = session.model();
    if (session.loaded().directory && m.solidKind >= 1 && m.solidKind <= 5) return "solid:" + std::to_string(m.solidKind);
    if (source.fromFiles) {
        if (session.loaded().models.size() != 1) return "";
        for (const std::string& name : source.openedFiles)
            if (name.substr(0, name.rfind('.')) == m.name) return "file:" + name;
        return "";
    }
    const CatalogueEntry* e = findInCatalogue(m.name);
    if (e && e->name == m.name && e->family != Family::Platonic)
        return std::string(e->family == Family::Archimedean ? "archimedean:" : "catalan:") + e->notation;
    // A family's notation: [d]P5, [d]A5, [d]Y5.
    const std::string& n = m.notation;
    const std::size_t letter = n.rfind('d', 0) == 0 ? 1 : 0;
    if (n.size() > letter + 1 && std::string("PAY").find(n[letter]) != std::string::npos) {
        int count = 0;
        for (std::size_t i = letter + 1; i < n.size(); ++i) {
            if (!std::isdigit(static_cast<unsigned char>(n[i])) || count > mostSides) return "";
            count = count * 10 + (n[i] - '0');
        }
        if (count < fewestSides || count > mostSides) return "";
        sides = count;
        return "family:" + n.substr(0, letter + 1);
    }
    return "";
}

std::string pageAddress(const Session& session, const PageSource& source) {
    std::string query;
    const auto add = [&query](const std::string& part) {
        if (!part.empty()) query += (query.empty() ? "" : "&") + part;
    };
    const Model& m = session.model();
    if (session.loaded().directory) {
        if (m.solidKind != 2) add("solid=" + std::to_string(m.solidKind));
    } else if (!source.fromFiles) {
        add(source.loads);
        if (session.loaded().models.size() > 1) add("model=" + queryEscaped(m.name));
    }
    add(viewQuery(session.view(), m));
    const NetSettings& net = session.netSettings();
    if (net.page != PageSize::A4) add(std::string("page=") + paperName(net.page));
    if (net.edgeMm > 0.0) add("edge-mm=" + millimetres(net.edgeMm));
    if (!source.fixedSize.empty()) add("size=" + source.fixedSize);
    if (source.languageNamed) add("lang=" + queryEscaped(source.language));
    return query;
}

std::string pageStateJson(Session& session, const PageSource& source) {
    std::vector<std::string> entries;
    for (const PickerEntry& e : pickerEntries(source.openedFiles))
        entries.push_back("[" + jsonString(e.group) + "," + jsonString(e.label) + "," + jsonString(e.id) + "]");
    int sides = source.sides;
    const std::string entry = currentEntry(session, source, sides);
    // A model the notation field made (not one of the picker's entries).
    const bool byNotation = entry.empty() && !source.fromFiles && !session.loaded().directory;

    const ViewState& v = session.view();
    std::vector<std::string> controls;
    for (const PageControl& c : pageControls()) {
        std::vector<std::string> choices;
        for (const ControlChoice& choice : c.choices)
            choices.push_back("[" + jsonString(choice.value) + "," + jsonString(tr(choice.label)) + "]");
        controls.push_back("{" + field("id", jsonString(c.id)) + "," + field("group", jsonString(tr(c.group))) + "," +
                           field("label", jsonString(tr(c.label))) + "," + field("key", jsonString(tr(c.key))) + "," +
                           field("choices", list(choices)) + "," +
                           field("value", jsonString(controlValue(v, c.id))) + "}");
    }
    const std::vector<std::size_t> here = session.actionsHere();
    std::vector<std::string> shown;
    for (const ActionId id : buttons)
        for (const std::size_t i : here)
            if (actionTable()[i].id == id) {
                const Action& a = actionTable()[i];
                const bool on = (id == ActionId::ToggleMorph && v.morphing) ||
                                (id == ActionId::ToggleUnfold && v.netOpen) ||
                                (id == ActionId::TogglePresent && v.presenting);
                const std::string label = id == ActionId::Unlight ? tr("Put the light out") : tr(a.label);
                // Where the page places the button, by what it does, not by its words.
                const char* place = id == ActionId::ToggleMorph || id == ActionId::MorphBack || id == ActionId::MorphForward ? "morph"
                                    : id == ActionId::ToggleUnfold                                                         ? "unfold"
                                    : id == ActionId::ToggleHelp                                                           ? "help"
                                    : id == ActionId::TogglePresent                                                        ? "present"
                                                                                                                           : "";
                const std::string key = usesTab(a) ? "" : tr(a.keyName);  // Tab moves the page's focus
                shown.push_back("{" + field("action", std::to_string(i)) + "," + field("label", jsonString(label)) +
                                "," + field("key", jsonString(key)) + "," + field("place", jsonString(place)) + "," + field("on", on ? "true" : "false") +
                                "}");
            }
    const PageInfo info = pageInfo(session);
    const std::string infoJson = "{" + field("model", jsonString(info.model)) + "," +
                                 field("dual", jsonString(info.dual)) + "," + field("counts", strings(info.counts)) +
                                 "," + field("lit", jsonString(info.lit)) + "}";
    return "{" + field("title", jsonString(session.title())) + "," + field("entries", list(entries)) + "," +
           field("entry", jsonString(entry)) + "," + field("sides", std::to_string(sides)) + "," +
           field("notation", jsonString(byNotation ? session.model().notation : "")) + "," +
           field("controls", list(controls)) + "," + field("buttons", list(shown)) + "," + field("info", infoJson) +
           "," + field("text", jsonString(pageInfoText(info))) + "," + field("keys", strings(session.keyList())) +
           "," + field("net", "{" + field("paper", jsonString(paperName(session.netSettings().page))) + "," +
                             field("edge", jsonString(session.netSettings().edgeMm > 0.0 ? millimetres(session.netSettings().edgeMm) : "")) + "}") +
           "," + field("help", v.help ? "true" : "false") + "," +
           field("presenting", v.presenting ? "true" : "false") + "," + field("query", jsonString(pageAddress(session, source))) +
           "," + field("language", jsonString(source.language)) + "}";
}

namespace {

// The page's own words, by the id its script fills them in under: an
// element's id, "ID@attribute" for one of its attributes, or a word the
// script writes itself. {1} stands for what the script puts in.
struct PageText {
    const char* id;
    const char* english;
};
const PageText pageTextTable[] = {
    {"language-label", N_("Language")},
    {"model-label", N_("Model")},
    {"sides-word", N_("sides")},
    {"notation-label", N_("Conway notation")},
    {"notation-show", N_("Show")},
    {"panel-toggle", N_("Controls and counts")},
    {"panel@aria-label", N_("Controls and counts")},
    {"canvas@aria-label", N_("the model and its dual")},
    {"info@aria-label", N_("Counts")},
    {"files-legend", N_("Files")},
    {"open-label", N_("Open OFF or STL files")},
    {"save-word", N_("Save")},
    {"save-png-word", N_("picture (PNG)")},
    {"save-svg", N_("drawing (SVG)")},
    {"save-off", N_("model (OFF)")},
    {"save-stl", N_("print (STL)")},
    {"save-glb", N_("model in colour (glTF)")},
    {"print-note", N_("3MF files, and prints of both shells or of frames: from the command line or the window.")},
    {"save-net", N_("paper net (SVG)")},
    {"paper-label", N_("Paper")},
    {"paper-letter", N_("Letter")},
    {"edge-mm-label", N_("Edge in mm")},
    {"edge-mm@placeholder", N_("largest")},
    {"print-net", N_("Print net")},
    {"copy-link", N_("Copy link to this view")},
    {"keys@aria-label", N_("Keys")},
    {"keys-close", N_("Close")},
    {"print-view@aria-label", N_("The paper net to print")},
    {"print-again", N_("Print")},
    {"print-close-word", N_("Back to the model")},
    {"print-close-key", N_("Esc")},
    {"print-advice", N_("Print at 100 % (actual size), no margins.")},
    {"picker-none", N_("a model by notation or file")},
    {"key-title", N_("key")},
    {"actions-legend", N_("View")},
    {"and-dual", N_("and its dual, the {1}")},
    {"lit", N_("Lit: {1}")},
    {"net-page", N_("page {1} of the net")},
    {"link-copied", N_("link copied: {1}")},
};

}  // namespace

std::string pageTexts() {
    std::string json;
    for (const PageText& text : pageTextTable)
        json += (json.empty() ? "{" : ",") + field(text.id, jsonString(tr(text.english)));
    return json + "}";
}

}  // namespace pd
