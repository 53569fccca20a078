#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "storage/PublishCodec.h"

// Publishing a result: the best result of a skill is sent to the game's score page as a query of
// decimal digits, opened in the player's web browser.
//
// The link is <host>/cgi-bin/gameres.pl?e=<digits>, where <host> is the [Links] ScoresPage key of
// INI/Quillmoss.ini (kDefaultScoresPage without it); the digits are those of PublishCodec.h.
namespace publish {

inline constexpr const char* kDefaultScoresPage = "https://marshwade.org";
inline constexpr const char* kScoresPath = "/cgi-bin/gameres.pl?e=";
// The Games button's page without a [Links] GamesPage key, and the query the game appends to it.
inline constexpr const char* kDefaultGamesPage = "https://marshwade.org/games.html";
inline constexpr const char* kGamesQuery = "?r=qmw&a=avp";

// The score page's host from the settings file at `settingsPath`: the [Links] ScoresPage key, without
// a trailing '/'. Anything but an http or https address (a value the browser opener could take for
// an option, or a local file) is refused with a line on standard error, and the default is used.
std::string ScoresPageHost(const std::string& settingsPath);

// The whole link for a host and the encoded digits.
std::string Link(std::string_view host, std::string_view digits);

}  // namespace publish
