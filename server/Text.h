#pragma once
#include <string>
#include <string_view>

// Text conversions of the score server: a player's name is only ever carried, never interpreted.
namespace scores_server {

// The game's 8-bit text (Windows-1252) as UTF-8. The five bytes the code page leaves undefined become
// U+FFFD, so whatever arrives, what is stored is valid UTF-8.
std::string Windows1252ToUtf8(std::string_view text);

// Text safe inside HTML element content and attribute values.
std::string HtmlEscape(std::string_view text);

// Text as the inside of a JSON string.
std::string JsonEscape(std::string_view text);

// 1st, 2nd, 3rd, 4th, 11th, 12th, 13th, 21st ...
std::string Ordinal(long long n);

// A count with thin groups of three: 3410 as "3 410".
std::string Grouped(long long n);

}  // namespace scores_server
