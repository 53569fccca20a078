#include "server/Pages.h"

#include <ctime>

#include "server/Text.h"

namespace scores_server {
namespace {

// The game's own look: the pond's deep water behind, the shore's pale green for the table, and the
// score table window's blue (red 0, green 0, blue 200) for the scores.
const char* const kStyle =
    "body{margin:0;background:#0b3d5c;color:#f4f1d0;font-family:'Liberation Sans',Arial,sans-serif}"
    "header{display:flex;align-items:center;gap:12px;padding:10px 16px;background:#1f6b3a}"
    "header img{width:56px;height:auto;image-rendering:pixelated}"
    "header a{color:#f4f1d0;text-decoration:none;font-size:1.6em;font-weight:bold}"
    "nav{display:flex;flex-wrap:wrap;gap:8px;padding:8px 16px}"
    "nav a{color:#0b3d5c;background:#cde8b0;padding:6px 12px;border-radius:14px;text-decoration:none}"
    "nav a.here{background:#f4f1d0;font-weight:bold}"
    "main{max-width:720px;margin:0 auto;padding:8px 12px 24px}"
    "p.banner{background:#f4f1d0;color:#0000c8;padding:10px;border-radius:8px;font-weight:bold}"
    "table{width:100%;border-collapse:collapse;background:#cde8b0;color:#10331c;border-radius:8px}"
    "th,td{padding:6px 8px;text-align:left;border-bottom:1px solid #9cc487}"
    "td.score,th.score{text-align:right}td.score{color:#0000c8;font-weight:bold}"
    "td.name{word-break:break-word}"
    "tr.you{background:#f4f1d0;outline:2px solid #0000c8}"
    "td.when{color:#3d5c45;font-size:.85em}"
    "a{color:#cde8b0}.pages{display:flex;justify-content:space-between;margin-top:10px}"
    "@media (max-width:480px){td.when,th.when{display:none}header a{font-size:1.2em}}";

std::string Head(const std::string& title, bool hasFrog, int here) {
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
        "<meta name=\"viewport\" content=\"width=device-width,initial-scale=1\">"
        "<title>" +
        HtmlEscape(title) + "</title><style>" + kStyle + "</style></head><body><header>";
    if (hasFrog) html += "<img src=\"/frog.bmp\" alt=\"\">";
    html += "<a href=\"/\">Marshwade scores</a></header><nav>";
    for (int s = 0; s < 3; ++s) {
        html += "<a href=\"/skill/" + std::string(SkillSlug(s)) + "\"" +
                (here == s ? " class=\"here\"" : "") + ">" + SkillName(s) + "</a>";
    }
    html += "<a href=\"/games.html\">The game</a></nav><main>";
    return html;
}

const char* const kFoot = "</main></body></html>\n";

std::string Date(int64_t time) {
    const std::time_t t = static_cast<std::time_t>(time);
    std::tm utc{};
    gmtime_r(&t, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d", &utc);
    return text;
}

std::string Table(const std::vector<ScoreRow>& rows, int64_t firstPlace, int64_t marked) {
    // Appended piece by piece: each publish renders one of these, and the temporaries of a chain of
    // + cost more than the rest of the page.
    std::string html =
        "<table><tr><th>#</th><th>Name</th><th class=\"score\">Score</th><th class=\"when\">Date</th></tr>";
    html.reserve(html.size() + rows.size() * 160);
    int64_t place = firstPlace;
    for (const ScoreRow& row : rows) {
        html += row.id == marked ? "<tr class=\"you\" id=\"you\"><td>" : "<tr><td>";
        html += std::to_string(place++);
        html += "</td><td class=\"name\">";
        html += HtmlEscape(row.name);
        html += "</td><td class=\"score\">";
        html += std::to_string(row.score);
        html += "</td><td class=\"when\">";
        html += Date(row.time);
        html += "</td></tr>";
    }
    if (rows.empty()) html += "<tr><td colspan=\"4\">No results yet.</td></tr>";
    return html + "</table>";
}

}  // namespace

const char* SkillName(int skill) {
    static const char* const names[] = {"Novice", "Expert", "Master"};
    return names[skill];
}

const char* SkillSlug(int skill) {
    static const char* const slugs[] = {"novice", "expert", "master"};
    return slugs[skill];
}

std::string LeaderboardPage(int skill, int64_t page, int64_t total, const std::vector<ScoreRow>& rows,
                            int64_t marked, const std::string& banner, bool hasFrog) {
    std::string html = Head(std::string("Marshwade scores: ") + SkillName(skill), hasFrog, skill);
    html += "<h1>" + std::string(SkillName(skill)) + "</h1>";
    if (!banner.empty()) html += "<p class=\"banner\">" + banner + "</p>";
    html += Table(rows, (page - 1) * kRowsPerPage + 1, marked);
    const int64_t pages = total == 0 ? 1 : (total + kRowsPerPage - 1) / kRowsPerPage;
    const std::string base = std::string("/skill/") + SkillSlug(skill) + "?page=";
    html += "<div class=\"pages\"><span>";
    if (page > 1) html += "<a href=\"" + base + std::to_string(page - 1) + "\">&larr; better</a>";
    html += "</span><span>Page " + std::to_string(page) + " of " + std::to_string(pages) + "</span><span>";
    if (page < pages) html += "<a href=\"" + base + std::to_string(page + 1) + "\">further &rarr;</a>";
    return html + "</span></div>" + kFoot;
}

std::string FrontPage(const std::vector<ScoreRow> (&best)[3], const int64_t (&totals)[3], bool hasFrog) {
    std::string html = Head("Marshwade scores", hasFrog, -1);
    for (int s = 0; s < 3; ++s) {
        const char* results = totals[s] == 1 ? " result)</h2>" : " results)</h2>";
        html += "<h2><a href=\"/skill/" + std::string(SkillSlug(s)) + "\">" + SkillName(s) + "</a> (" +
                Grouped(totals[s]) + results + Table(best[s], 1, 0);
    }
    return html + kFoot;
}

std::string GamesPage(bool hasFrog) {
    return Head("Marshwade", hasFrog, -1) +
           "<h1>Marshwade</h1><p>A single-player arcade game for the Linux desktop: a frog hops from leaf to "
           "leaf across the marsh, catching flies before the leaves sink.</p>"
           "<p>Get it from the project's releases as a Debian package, or build it from source with "
           "<code>make play</code>. Press Publish in the game's score table to put your best result on "
           "these pages.</p>" +
           kFoot;
}

std::string ErrorPage(int status, const std::string& title, const std::string& sentence) {
    return Head(std::to_string(status) + " " + title, false, -1) + "<h1>" + HtmlEscape(title) + "</h1><p>" +
           HtmlEscape(sentence) + "</p><p><a href=\"/\">To the leaderboards</a></p>" + kFoot;
}

}  // namespace scores_server
