#include "base/translate.h"

#include <cstring>

#ifndef __EMSCRIPTEN__
#include <libintl.h>
#endif

namespace pd {

namespace {

constexpr const char* domain = "duals-explorer";
bool languageChosen = false;

}  // namespace

const char* tr(const char* english) {
#ifndef __EMSCRIPTEN__
    if (languageChosen) return dgettext(domain, english);
#endif
    return english;
}

const char* trc(const char* context, const char* english) {
#ifndef __EMSCRIPTEN__
    if (languageChosen) {
        // gettext keys a text with a context as "CONTEXT\004TEXT".
        std::string key = std::string(context) + '\004' + english;
        const char* found = dgettext(domain, key.c_str());
        if (found != key.c_str() && std::strcmp(found, key.c_str()) != 0) return found;
    }
#else
    (void)context;
#endif
    return english;
}

const char* trn(const char* singular, const char* plural, unsigned long n) {
#ifndef __EMSCRIPTEN__
    if (languageChosen) return dngettext(domain, singular, plural, n);
#endif
    return n == 1 ? singular : plural;
}

std::string fill(const char* pattern, std::initializer_list<std::string> values) {
    std::string out;
    for (const char* p = pattern; *p != '\0'; ++p) {
        if (p[0] == '{' && p[1] >= '1' && p[1] <= '9' && p[2] == '}' &&
            static_cast<std::size_t>(p[1] - '0') <= values.size()) {
            out += *(values.begin() + (p[1] - '1'));
            p += 2;
        } else {
            out += *p;
        }
    }
    return out;
}

}  // namespace pd
