#pragma once

#include <string>
#include <vector>

#include "explorer/session.h"

namespace pd {

// What the page shows besides the drawing, worked out here so that its
// script only shows it and forwards what the learner does: the picker's
// entries and the one shown, the controls with the session's values, the
// information text, the key list and the address of the view.

// Where the models shown came from.
struct PageSource {
    // The address's part that loads them when they are not the ten files:
    // "conway=tI&conway=kD", "catalogue=archimedean"; "" for the ten files
    // or opened files (which no address names).
    std::string loads;
    std::vector<std::string> openedFiles;  // every OFF file opened so far, by name
    bool fromFiles = false;                // the models shown are opened files
    int sides = 5;                         // the families' number of sides last chosen
    std::string fixedSize;                 // "640x480" when the address named a size
    std::string language = "en";           // the language spoken: en, sr or sr@latin
    bool languageNamed = false;            // the address or the learner chose it, not the browser
};

// The picker's entry the session's model is, or "" (a model of a notation
// typed, or of several files opened at once). `sides` is set for a family's.
std::string currentEntry(const Session& session, const PageSource& source, int& sides);

// The address's query for the session's view (no '?'): the model, then
// the view (see viewQuery), then the size when the address named one, then
// the language when the address or the learner named it.
std::string pageAddress(const Session& session, const PageSource& source);

// The page's state as one JSON object: "title", "entries", "entry",
// "sides", "controls" (each with its "value"), "buttons", "info", "text",
// "keys", "help", "presenting", "query" and "language".
std::string pageStateJson(Session& session, const PageSource& source);

// The page's own words (labels, buttons, what its script writes) in the
// reader's language, as one JSON object from the id the page's script
// fills each under to the text; "{1}" in a text is the script's to fill.
std::string pageTexts();

// `text` as a JSON string, quotes included.
std::string jsonString(const std::string& text);

}  // namespace pd
