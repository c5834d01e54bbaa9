#pragma once

#include <string>

#include "base/result.h"

namespace pd {

// The language the explorer speaks: "en" (its own words), "sr" (Serbian in
// Cyrillic) or "sr@latin" (Serbian in Latin letters).

// Whether `name` is one of the three, as --lang and ?lang= take them.
bool knownLanguage(const std::string& name);

// The language gettext's variables ask for, read as gettext reads them:
// `language` (LANGUAGE, a colon-separated list, first known entry wins)
// before the locale, the first set of `lcAll`, `lcMessages`, `lang`
// (LC_ALL, LC_MESSAGES, LANG; sr_RS.UTF-8@latin and the like). A locale of
// "C" or "POSIX" set on purpose means English, LANGUAGE or not; nulls and
// empty texts count as unset. "en" when nothing asks for a known language.
std::string environmentLanguage(const char* language, const char* lcAll, const char* lcMessages,
                                const char* lang);

// Chooses the language once, at the start of the explorer: `forced` (from
// --lang) or else the environment's, and makes tr() and its kin speak it
// from the catalogues beside the executable (<its folder>/locale in the
// build tree, <its folder>/../share/locale installed) or under the prefix
// it was built for. Only the messages' locale changes, so numbers keep
// their point, and the C library's words (strerror's) follow the language.
// Called again, it speaks the new one. Gives the language chosen; an error
// naming the three for a `forced` that is none of them.
Result<std::string> chooseLanguage(const std::string& forced);

}  // namespace pd
