#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/result.h"

namespace pd {

// A gettext message catalogue (.mo) read from its bytes, for where there is
// no gettext (the web page): its translations and its plural rule.
class MessageCatalogue {
public:
    // The catalogue in `bytes` (either byte order). A wrong magic number,
    // a table or string outside the bytes, a string not ended by its NUL,
    // or a Plural-Forms rule that does not parse give an error; without
    // Plural-Forms the rule is English's (n != 1).
    static Result<MessageCatalogue> read(const std::string& bytes);

    // The translation of `key` (a text, or "CONTEXT\004TEXT"); null when the
    // catalogue has none. Pointers live as long as the catalogue.
    const char* find(const std::string& key) const;

    // The form for `n` of the counted text whose singular is `key`; null
    // when the catalogue has none. A form past those given is the first.
    const char* findPlural(const std::string& key, unsigned long n) const;

    // Which form the plural rule picks for `n`.
    unsigned long pluralForm(unsigned long n) const;

    struct Rule;

private:
    std::map<std::string, std::vector<std::string>> messages_;
    std::shared_ptr<const Rule> plural_;
};

}  // namespace pd
