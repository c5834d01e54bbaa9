#pragma once

#include <initializer_list>
#include <string>

namespace pd {

// The explorer's words in the reader's language, from gettext's message
// catalogues (domain "duals-explorer"). English is the source language: a
// text is its own message id. Until a language is chosen every call gives the
// English text, so a program that never chooses (the console program, the
// tests of the core) reads exactly as before.

// Marks a text for the catalogues where it cannot be translated yet (a
// table's entry, translated by tr() where it is shown).
#define N_(text) text

// `english` in the chosen language; `english` itself when none is chosen or
// the catalogue has no translation. The pointer lives as long as the program.
const char* tr(const char* english);

// As tr(), for a text that reads differently by where it stands: `context`
// tells the translator which ("shell" for "dual", "button" for "Show").
const char* trc(const char* context, const char* english);

// The form of a counted phrase for `n` by the chosen language's plural rules
// (English: `singular` for 1, `plural` otherwise; Serbian has three forms).
const char* trn(const char* singular, const char* plural, unsigned long n);

// Speaks `language` ("en", "sr" or "sr@latin") from now on; chooseLanguage
// (language.h) calls it. Natively the catalogues are gettext's, found where
// chooseLanguage bound them; in the page they are compiled in, and a
// language may be spoken after another (texts given before stay valid).
// False, and English from then on, when the language is none of the three
// or its catalogue cannot be read.
bool speak(const std::string& language);

// `pattern` with {1}, {2}, ... replaced by the values in that order, so a
// translation may put them where its language wants them. A number out of
// range, or a brace not followed by a digit and }, stays as written.
std::string fill(const char* pattern, std::initializer_list<std::string> values);

}  // namespace pd
