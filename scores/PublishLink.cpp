#include "scores/PublishLink.h"

#include <cstdio>

#include "game/IniFile.h"

namespace publish {
namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

// An address the browser can be given as it is: http or https, a host after the scheme, and no
// blank or control character that would split or bend the link.
bool UsableHost(std::string_view host) {
    const size_t scheme = StartsWithNoCase(host, "https://") ? 8 : StartsWithNoCase(host, "http://") ? 7 : 0;
    if (scheme == 0 || host.size() == scheme) return false;
    for (char c : host) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= ' ' || byte == 0x7F || c == '"' || c == '<' || c == '>' || c == '\\') return false;
    }
    return true;
}

}  // namespace

std::string ScoresPageHost(const std::string& settingsPath) {
    IniFile file;
    file.Load(settingsPath);
    std::string host = file.GetString("Links", "ScoresPage", kDefaultScoresPage);
    while (!host.empty() && host.back() == '/') host.pop_back();
    if (UsableHost(host)) return host;
    std::fprintf(stderr, "%s: [Links] ScoresPage \"%s\" is not an http or https address; using %s\n",
                 settingsPath.c_str(), host.c_str(), kDefaultScoresPage);
    return kDefaultScoresPage;
}

std::string Link(std::string_view host, std::string_view digits) {
    std::string link(host);
    link += kScoresPath;
    link += digits;
    return link;
}

}  // namespace publish
