#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Publishing a result: the best result of a skill is sent to the game's score page as a query of
// decimal digits, opened in the player's web browser.
//
// For whoever runs the score server. The link is
//   <host>/cgi-bin/gameres.pl?e=<digits>
// where <host> is the [Links] ScoresPage key of INI/Quillmoss.ini (kDefaultScoresPage without it).
// The digits come in groups of three, each a byte d[0], d[1], ... as a decimal number 000 to 255.
// Undo the chain with v[i] = d[i] XOR v[i-1], starting from v[-1] = kPublishStart. Then v[0] and
// v[1] are checksums of the rest, the text t = v[2] ... :
//   v[0] = (sum of the bytes of t) mod 256
//   v[1] = (sum of (each byte of t XOR kPublishMask)) mod 256
// and t is "<score>\t<skill>\t<name>\tqmw\texe" (skill 1 Novice, 2 Expert, 3 Master; the name in
// the Windows-1252 code page). A query whose checksums do not match was not sent by the game.
namespace publish {

inline constexpr uint8_t kPublishMask = 0x6B;
inline constexpr uint8_t kPublishStart = 0xA7;
inline constexpr const char* kDefaultScoresPage = "https://marshwade.org";
inline constexpr const char* kScoresPath = "/cgi-bin/gameres.pl?e=";

// The record text of one result: score, skill text, name, the product code and "exe", tab-separated.
std::string RecordText(int32_t score, std::string_view skill, std::string_view name);

// The checksums and the chained XOR, as three-digit groups: 3 x (length + 2) digits.
std::string Encode(std::string_view text);

// The score page's host from the settings file at `settingsPath`: the [Links] ScoresPage key, without
// a trailing '/'. Anything but an http or https address (a value the browser opener could take for
// an option, or a local file) is refused with a line on standard error, and the default is used.
std::string ScoresPageHost(const std::string& settingsPath);

// The whole link for a host and the encoded digits.
std::string Link(std::string_view host, std::string_view digits);

}  // namespace publish
