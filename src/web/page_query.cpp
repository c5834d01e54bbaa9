#include "web/page_query.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "base/language.h"
#include "base/translate.h"
#include "explorer/session.h"

namespace pd {

namespace {

int decodedDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string decoded(const std::string& part) {
    std::string out;
    for (std::size_t i = 0; i < part.size(); ++i) {
        if (part[i] == '+') {
            out += ' ';
        } else if (part[i] == '%' && i + 2 < part.size() && decodedDigit(part[i + 1]) >= 0 &&
                   decodedDigit(part[i + 2]) >= 0) {
            out += char(decodedDigit(part[i + 1]) * 16 + decodedDigit(part[i + 2]));
            i += 2;
        } else {
            out += part[i];
        }
    }
    return out;
}

std::string firstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

// The options that write files or print: the page saves with its buttons.
bool commandLineOnly(const std::string& name) {
    static const std::array<const char*, 10> names{"--png",  "--svg",    "--off",       "--net",  "--info",
                                                   "--frames", "--animate", "--overwrite", "--list", "--pick"};
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

std::vector<std::vector<std::string>> queryOptions(const std::string& query) {
    std::vector<std::vector<std::string>> groups;
    std::size_t from = !query.empty() && query[0] == '?' ? 1 : 0;
    while (from <= query.size()) {
        std::size_t end = query.find('&', from);
        if (end == std::string::npos) end = query.size();
        const std::string part = query.substr(from, end - from);
        from = end + 1;
        if (part.empty()) continue;
        const std::size_t equals = part.find('=');
        std::vector<std::string> group{"--" + decoded(part.substr(0, equals))};
        if (equals != std::string::npos) {
            const std::string value = part.substr(equals + 1);
            std::size_t at = 0;
            for (;;) {
                const std::size_t comma = value.find(',', at);
                group.push_back(decoded(value.substr(at, comma == std::string::npos ? comma : comma - at)));
                if (comma == std::string::npos) break;
                at = comma + 1;
            }
        }
        groups.push_back(std::move(group));
    }
    return groups;
}

namespace {

// Adds `line` to what the page tells.
void tell(PageOptions& page, const std::string& line) { page.told += (page.told.empty() ? "" : "\n") + line; }

// The options of `groups`, one list.
std::vector<std::string> joined(const std::vector<std::vector<std::string>>& groups) {
    std::vector<std::string> args;
    for (const std::vector<std::string>& group : groups) args.insert(args.end(), group.begin(), group.end());
    return args;
}

// `page` with `kept` as its options.
void keep(PageOptions& page, std::vector<std::vector<std::string>> kept) {
    page.kept = std::move(kept);
    page.parsed = parseOptions(joined(page.kept));
    page.fixedSize = std::any_of(page.kept.begin(), page.kept.end(),
                                 [](const std::vector<std::string>& g) { return g[0] == "--size"; });
}

}  // namespace

std::string pageLanguage(const std::string& query, const std::string& browser, bool& named) {
    const std::string asked = languageOption(joined(queryOptions(query)));
    named = knownLanguage(asked);
    if (named) return asked;
    for (std::size_t start = 0; start < browser.size();) {
        const std::size_t end = std::min(browser.find(',', start), browser.size());
        std::string tag = browser.substr(start, end - start);
        for (char& c : tag) c = char(std::tolower(static_cast<unsigned char>(c)));
        start = end + 1;
        const std::string primary = tag.substr(0, tag.find('-'));
        if (primary == "en") return "en";
        if (primary != "sr") continue;
        const bool latin = (tag + "-").find("-latn-") != std::string::npos;
        return latin ? "sr@latin" : "sr";
    }
    return "en";
}

PageOptions pageOptions(const std::string& query) {
    PageOptions page;
    std::vector<std::vector<std::string>> kept;
    std::vector<std::string> net;
    for (const std::vector<std::string>& group : queryOptions(query)) {
        if (group[0].size() < 3 || group[0][2] == '-') {
            tell(page, "duals-explorer: " + fill(tr("'{1}' is not an option's name"), {group[0].substr(2)}));
            continue;
        }
        if (commandLineOnly(group[0])) {
            tell(page, "duals-explorer: " +
                           fill(tr("{1} is the command line's; the page saves with its PNG, SVG, OFF and Net buttons"), {group[0]}));
            continue;
        }
        // The net's settings go with a net, which the page's buttons make:
        // read as for --net, and kept apart from the view's options.
        if (group[0] == "--page" || group[0] == "--edge-mm") {
            std::vector<std::string> withNet = net;
            withNet.insert(withNet.end(), group.begin(), group.end());
            withNet.insert(withNet.end(), {"--net", "net.svg"});
            const ParsedOptions parsed = parseOptions(withNet);
            if (parsed.exitStatus || !parsed.options.inputs.empty()) {
                tell(page, parsed.exitStatus ? firstLine(parsed.text)
                                             : "duals-explorer: " + fill(tr("{1}: '{2}' is a value too many"),
                                                                         {group[0], parsed.options.inputs.front()}));
                continue;
            }
            net.insert(net.end(), group.begin(), group.end());
            page.net = parsed.options.net;
            continue;
        }
        std::vector<std::vector<std::string>> tried = kept;
        tried.push_back(group);
        const ParsedOptions alone = parseOptions(group), with = parseOptions(joined(tried));
        if (alone.exitStatus || with.exitStatus) {
            const ParsedOptions& refused = alone.exitStatus ? alone : with;
            tell(page, *refused.exitStatus == 0 ? "duals-explorer: " + fill(tr("{1} is the command line's"), {group[0]})
                                                 : firstLine(refused.text));
            continue;
        }
        // A value too many reads as an input, and the page opens no file
        // an address names.
        if (!alone.options.inputs.empty()) {
            tell(page, "duals-explorer: " + fill(tr("{1}: '{2}' is a value too many"), {group[0], alone.options.inputs.front()}));
            continue;
        }
        kept = std::move(tried);
    }
    keep(page, std::move(kept));
    return page;
}

Result<ViewState> pageStart(PageOptions& page, const LoadedModels& loaded) {
    Result<ViewState> start = startState(page.parsed.options, loaded);
    if (start) return start;
    std::vector<std::vector<std::string>> kept;
    for (const std::vector<std::string>& group : page.kept) {
        kept.push_back(group);
        const ParsedOptions parsed = parseOptions(joined(kept));
        const Result<ViewState> tried = parsed.exitStatus ? start : startState(parsed.options, loaded);
        if (!tried) {
            tell(page, firstLine(tried.error().text()));
            kept.pop_back();
        }
    }
    keep(page, std::move(kept));
    return startState(page.parsed.options, loaded);
}

}  // namespace pd
