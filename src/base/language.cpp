#include "base/language.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "base/translate.h"

#ifndef __EMSCRIPTEN__
#include <libintl.h>
// gettext's count of catalogue changes: raised, it forgets the texts it
// looked up before (as the gettext manual advises after changing LANGUAGE).
extern "C" int _nl_msg_cat_cntr;
#endif

#ifndef PD_INSTALL_LOCALE_DIR
#define PD_INSTALL_LOCALE_DIR "/usr/local/share/locale"
#endif

namespace pd {

namespace {

bool set(const char* value) { return value != nullptr && *value != '\0'; }

// One of the three for a locale or LANGUAGE entry (ll_CC.codeset@modifier),
// "" when it is none of them.
std::string languageOf(const std::string& entry) {
    const std::size_t at = entry.find('@');
    const std::string modifier = at == std::string::npos ? "" : entry.substr(at + 1);
    const std::string name = entry.substr(0, std::min(entry.find_first_of("_.@"), entry.size()));
    if (name == "en") return "en";
    if (name != "sr") return "";
    return modifier == "latin" || modifier == "Latn" ? "sr@latin" : "sr";
}

#ifndef __EMSCRIPTEN__
// The folder whose <language>/LC_MESSAGES holds the catalogues: beside the
// executable in the build tree, under its prefix once installed, else
// under the prefix it was built for.
std::string catalogueFolder() {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    const fs::path domainFile = fs::path("sr@latin") / "LC_MESSAGES" / "duals-explorer.mo";
    if (!error) {
        const fs::path folder = executable.parent_path();
        for (const fs::path& candidate : {folder / "locale", folder / ".." / "share" / "locale"})
            if (fs::exists(candidate / domainFile, error)) return candidate.lexically_normal().string();
    }
    return PD_INSTALL_LOCALE_DIR;
}
#endif

}  // namespace

bool knownLanguage(const std::string& name) { return name == "en" || name == "sr" || name == "sr@latin"; }

std::string environmentLanguage(const char* language, const char* lcAll, const char* lcMessages,
                                const char* lang) {
    const char* locale = set(lcAll) ? lcAll : set(lcMessages) ? lcMessages : set(lang) ? lang : "";
    // gettext leaves LANGUAGE aside in the C locale, whose output POSIX fixes.
    if (std::strcmp(locale, "C") == 0 || std::strcmp(locale, "POSIX") == 0) return "en";
    if (set(language)) {
        const std::string list = language;
        for (std::size_t start = 0; start <= list.size();) {
            const std::size_t end = std::min(list.find(':', start), list.size());
            const std::string found = languageOf(list.substr(start, end - start));
            if (!found.empty()) return found;
            start = end + 1;
        }
    }
    const std::string found = languageOf(locale);
    return found.empty() ? "en" : found;
}

Result<std::string> chooseLanguage(const std::string& forced) {
    if (!forced.empty() && !knownLanguage(forced))
        return failure("--lang: '" + forced + "' is not a language the explorer speaks: en, sr or sr@latin");
    const std::string chosen = !forced.empty() ? forced
                                               : environmentLanguage(std::getenv("LANGUAGE"), std::getenv("LC_ALL"),
                                                                     std::getenv("LC_MESSAGES"), std::getenv("LANG"));
#ifndef __EMSCRIPTEN__
    if (chosen != "en") {
        bindtextdomain("duals-explorer", catalogueFolder().c_str());
        bind_textdomain_codeset("duals-explorer", "UTF-8");
        // Only the messages' locale: LC_NUMERIC stays "C", so numbers keep
        // their point. A machine without the Serbian locale still has
        // C.UTF-8, and gettext takes the language from LANGUAGE then,
        // which would be ignored in the plain "C" locale.
        const char* messages = std::setlocale(LC_MESSAGES, "");
        if (messages == nullptr || std::strcmp(messages, "C") == 0 || std::strcmp(messages, "POSIX") == 0)
            std::setlocale(LC_MESSAGES, "C.UTF-8");
        setenv("LANGUAGE", chosen.c_str(), 1);
        ++_nl_msg_cat_cntr;
    } else {
        // The C library's own words (a file's "No such file or directory")
        // in English too, whatever a language chosen before set.
        std::setlocale(LC_MESSAGES, "C");
    }
#endif
    // Like any program using gettext, a missing catalogue leaves the English.
    speak(chosen);
    return chosen;
}

}  // namespace pd
