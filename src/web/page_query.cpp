#include "web/page_query.h"

#include <algorithm>
#include <array>

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

PageOptions pageOptions(const std::string& query) {
    PageOptions page;
    std::vector<std::string> args, net;
    for (std::vector<std::string> group : queryOptions(query)) {
        if (group[0].size() < 3 || group[0][2] == '-') {
            if (page.told.empty()) page.told = "duals-explorer: '" + group[0].substr(2) + "' is not an option's name";
            continue;
        }
        if (commandLineOnly(group[0])) {
            if (page.told.empty())
                page.told = "duals-explorer: " + group[0] +
                            " is the command line's; the page saves with its PNG, SVG, OFF and Net buttons";
            continue;
        }
        // The net's settings go with a net, which the page's buttons make.
        const bool forNet = group[0] == "--page" || group[0] == "--edge-mm";
        if (forNet) group.insert(group.end(), {"--net", "net.svg"});
        const ParsedOptions alone = parseOptions(group);
        if (alone.exitStatus) {
            if (*alone.exitStatus != 0 && page.told.empty()) page.told = firstLine(alone.text);
            continue;
        }
        // A value too many reads as an input, and the page opens no file
        // an address names.
        if (!alone.options.inputs.empty()) {
            if (page.told.empty())
                page.told = "duals-explorer: " + group[0] + ": '" + alone.options.inputs.front() + "' is a value too many";
            continue;
        }
        if (group[0] == "--size") page.fixedSize = true;
        if (forNet) net.insert(net.end(), group.begin(), group.end() - 2);
        else args.insert(args.end(), group.begin(), group.end());
    }
    if (!net.empty()) {
        net.insert(net.end(), {"--net", "net.svg"});
        page.net = parseOptions(net).options.net;
    }
    page.parsed = parseOptions(args);
    if (page.parsed.exitStatus) {
        if (page.told.empty()) page.told = firstLine(page.parsed.text);
        page.parsed = parseOptions({});
        page.fixedSize = false;
    }
    return page;
}

}  // namespace pd
