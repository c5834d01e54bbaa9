#pragma once

#include <string>
#include <vector>

#include "base/result.h"
#include "explorer/session.h"

namespace pd {

// A page's controls in words: each names a choice of the view, shows the
// session's state of it and sets it, so a key and a control move together.
// Values are the command line's own option values ("shaded"), so the
// address the page keeps is made from them.

struct ControlChoice {
    const char* value;  // as the option takes it ("off"), or the page's own word
    const char* label;  // what the page shows ("none"), in English: tr() where shown
};

struct PageControl {
    const char* id;     // "faces"; also the long option it sets, where there is one
    const char* group;  // "What is shown", "Drawing", "Motion", in English: tr() where shown
    const char* label;  // "Faces", in English: tr() where shown
    const char* key;    // the key that moves it too ("f"), or ""
    std::vector<ControlChoice> choices;  // empty: a slider from 0 to 1
};

// Every control, in the page's order.
const std::vector<PageControl>& pageControls();

// The control's value in `view`: a choice's value, or for a slider the
// number as text ("0.35"); "" for an unknown id.
std::string controlValue(const ViewState& view, const std::string& id);

// Sets control `id` to `value` in the session at time `now` (a slider
// takes a number from 0 to 1). An error naming what was refused for an
// unknown control or value; the view is then unchanged.
Status setControl(Session& session, const std::string& id, const std::string& value, double now);

// The view's choices a learner made (what is shown, faces, back edges,
// numbers, colours, style, lines, presentation, angles, zoom), copied from `from` onto
// `to`, as a newly chosen model keeps them.
void carryChoices(const ViewState& from, ViewState& to);

// The view as an address's query parameters, the long options' names
// ("angles=20,-30&faces=shaded&morph=0.5"): what differs from how
// `model` opens, the part lit as highlight=face:7 numbered as its files
// count. Angles the program's two cannot say are given as the nearest
// two. Empty for the opening view.
std::string viewQuery(const ViewState& view, const Model& model);

}  // namespace pd
