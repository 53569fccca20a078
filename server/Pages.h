#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "server/Storage.h"

// The server's HTML pages, rendered whole on the server: they work without JavaScript, every name is
// escaped, and one style sheet serves a phone and a desktop.
namespace scores_server {

inline constexpr int64_t kRowsPerPage = 50;

const char* SkillName(int skill);  // "Novice", "Expert", "Master"
const char* SkillSlug(int skill);  // "novice", "expert", "master"

// One skill's leaderboard: page `page` (from 1) of `total` rows. `marked` is the id of a row to mark
// (0 for none) and `banner` a line above the table (empty for none), already HTML.
std::string LeaderboardPage(int skill, int64_t page, int64_t total, const std::vector<ScoreRow>& rows,
                            int64_t marked, const std::string& banner, bool hasFrog);

// The front page: the best ten of every skill.
std::string FrontPage(const std::vector<ScoreRow> (&best)[3], const int64_t (&totals)[3], bool hasFrog);

// The page the game's Games button opens.
std::string GamesPage(bool hasFrog);

// A page for a refused or failed request: the status line's words and one sentence.
std::string ErrorPage(int status, const std::string& title, const std::string& sentence);

}  // namespace scores_server
