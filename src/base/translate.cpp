#include "base/translate.h"

#include <cstring>

#ifdef __EMSCRIPTEN__
#include <fstream>
#include <iterator>
#include <map>
#include <memory>

#include "base/message_catalogue.h"
#else
#include <libintl.h>
#endif

namespace pd {

namespace {

#ifdef __EMSCRIPTEN__
// The page has no gettext: its catalogues are compiled in, at
// /locale/<language>/LC_MESSAGES/duals-explorer.mo, and read here. Each is
// kept once read, so texts it gave stay valid after the page changes
// language.
const MessageCatalogue* catalogue = nullptr;

const MessageCatalogue* load(const std::string& language) {
    static std::map<std::string, std::unique_ptr<MessageCatalogue>> read;
    std::unique_ptr<MessageCatalogue>& kept = read[language];
    if (!kept) {
        std::ifstream in("/locale/" + language + "/LC_MESSAGES/duals-explorer.mo", std::ios::binary);
        Result<MessageCatalogue> parsed =
            MessageCatalogue::read(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
        if (parsed) kept = std::make_unique<MessageCatalogue>(std::move(*parsed));
    }
    return kept.get();
}
#else
constexpr const char* domain = "duals-explorer";
bool languageChosen = false;
#endif

}  // namespace

bool speak(const std::string& language) {
#ifdef __EMSCRIPTEN__
    catalogue = language == "sr" || language == "sr@latin" ? load(language) : nullptr;
    return catalogue != nullptr || language == "en";
#else
    languageChosen = language == "sr" || language == "sr@latin";
    return languageChosen || language == "en";
#endif
}

const char* tr(const char* english) {
#ifdef __EMSCRIPTEN__
    if (const char* found = catalogue ? catalogue->find(english) : nullptr) return found;
#else
    if (languageChosen) return dgettext(domain, english);
#endif
    return english;
}

const char* trc(const char* context, const char* english) {
    // gettext keys a text with a context as "CONTEXT\004TEXT".
#ifdef __EMSCRIPTEN__
    if (catalogue)
        if (const char* found = catalogue->find(std::string(context) + '\004' + english)) return found;
#else
    if (languageChosen) {
        const std::string key = std::string(context) + '\004' + english;
        const char* found = dgettext(domain, key.c_str());
        if (found != key.c_str() && std::strcmp(found, key.c_str()) != 0) return found;
    }
#endif
    return english;
}

const char* trn(const char* singular, const char* plural, unsigned long n) {
#ifdef __EMSCRIPTEN__
    if (const char* found = catalogue ? catalogue->findPlural(singular, n) : nullptr) return found;
#else
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
