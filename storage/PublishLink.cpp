#include "storage/PublishLink.h"

#include <cstdio>

#include "storage/IniFile.h"
#include "platform/ShellOpen.h"

namespace publish {

std::string ScoresPageHost(const std::string& settingsPath) {
    IniFile file;
    file.Load(settingsPath);
    std::string host = file.GetString("Links", "ScoresPage", kDefaultScoresPage);
    while (!host.empty() && host.back() == '/') host.pop_back();
    if (platform::IsWebLink(host)) return host;
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
