// Publish from the real game to a real score server, seen in a real browser: the game on a private X
// server with its score page set to a marshwade-scores on 127.0.0.1, a result in its Top 10, Publish
// clicked; the link the game opens is caught by an xdg-open of the test's own on the PATH and opened
// in Debian's chromium (driven by playwright-core), which must show the name and the score in the
// marked row, the name as plain text.
#include "XvfbSession.h"
// After GoogleTest (in the fixture): Xlib defines macros (None, Bool) that clash with its names.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/support/ServerProcess.h"
#include "storage/TScoresTable.h"

namespace {

using namespace std::chrono_literals;
using e2e::PrivateGame;
using e2e::Spawn;
using e2e::WaitFor;
namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

struct PublishCase {
    const char* label;  // names the screenshot
    const char* name;
    int score;
};

// A plain name, and one that would run script and break out of attributes if it reached the page as
// markup rather than as text.
const PublishCase kCases[] = {
    {"plain", "Zoe", 1500},
    {"markup", "<script>window.__pwned=1</script>\"'&", 2750},
};

class PublishBrowserE2E : public e2e::XvfbTest, public ::testing::WithParamInterface<PublishCase> {};

TEST_P(PublishBrowserE2E, PublishedResultShowsInTheMarkedRowOfTheBrowsersPage) {
    const PublishCase& c = GetParam();
    if (!e2e::Exists("/usr/bin/chromium") || !e2e::Exists("/usr/bin/node"))
        GTEST_FAIL() << "chromium or node missing: run scripts/install-deps";
    const fs::path browser = fs::path(MARSHWADE_SOURCE_DIR) / "tests" / "browser";
    ASSERT_TRUE(fs::exists(browser / "node_modules" / "playwright-core")) << "playwright-core missing: run scripts/install-deps";

    const fs::path folder = fs::temp_directory_path() / ("marshwade-publish-e2e-" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder / "bin");
    ServerProcess server(fs::path(MARSHWADE_BINARY_DIR) / "marshwade-scores",
                         {"--listen", "127.0.0.1:0", "--database", "sqlite:" + (folder / "scores.db").string()},
                         (folder / "server.log").string());
    ASSERT_GT(server.Port(), 0) << ReadFile(folder / "server.log");

    // The desktop's opener, replaced: it writes down the address it was given.
    const fs::path opened = folder / "opened.txt";
    const fs::path opener = folder / "bin" / "xdg-open";
    std::ofstream(opener) << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" << opened.string() << "'\n";
    fs::permissions(opener, fs::perms::owner_all);

    PrivateGame game("[Links]\nScoresPage=http://127.0.0.1:" + std::to_string(server.Port()) + "\n");
    TScoresTable table;
    table.AddLine(std::string("2026-12-10\t") + c.name + "\t1\t" + std::to_string(c.score));
    ASSERT_TRUE(table.SaveTable(game.File("table.dat")));

    const char* path = std::getenv("PATH");
    app = Spawn({game.Program()}, {"DISPLAY=" + display, "SDL_AUDIODRIVER=dummy",
                                   "PATH=" + (folder / "bin").string() + ":" + (path ? path : "/usr/bin:/bin")});
    ASSERT_GT(app, 0);
    Window win = WaitForWindow("Marshwade");
    ASSERT_NE(win, 0u) << "the game window did not appear";
    const auto [gx, gy] = Settled(win);
    std::this_thread::sleep_for(500ms);

    // Top 10 (the third panel button), then Publish, centred at the foot of the score window.
    ASSERT_TRUE(ClickAt(gx + 750 - 2 - 46, gy + 30 + 45 + 30 + 15));
    Window scores = WaitForWindow("Dialog window");
    ASSERT_NE(scores, 0u) << "the score table did not appear";
    const auto [sx, sy] = Settled(scores);
    XWindowAttributes size{};
    ASSERT_NE(XGetWindowAttributes(x, scores, &size), 0);
    std::this_thread::sleep_for(300ms);
    Shot(std::string("e2e_publish_table_") + c.label);
    ASSERT_TRUE(ClickAt(sx + size.width / 2, sy + size.height - 10 - 17));

    for (int i = 0; i < 200 && !fs::exists(opened); ++i) std::this_thread::sleep_for(50ms);
    std::string link = ReadFile(opened);
    ASSERT_FALSE(link.empty()) << "the game opened no link";
    link = link.substr(0, link.find('\n'));
    ASSERT_EQ(link.rfind("http://127.0.0.1:" + std::to_string(server.Port()) + "/cgi-bin/gameres.pl?e=", 0), 0u)
        << link;

    const fs::path picture = fs::path(MARSHWADE_BINARY_DIR) / (std::string("e2e_publish_page_") + c.label + ".png");
    int out[2];
    ASSERT_EQ(pipe(out), 0);
    const pid_t node = Spawn({"/usr/bin/node", (browser / "check_page.js").string(), link, c.name,
                              std::to_string(c.score), picture.string()},
                             {"NODE_PATH=" + (browser / "node_modules").string()}, out[1]);
    close(out[1]);
    const std::optional<int> status = WaitFor(node, 120s);
    char buffer[4096];
    const ssize_t got = read(out[0], buffer, sizeof buffer - 1);
    close(out[0]);
    if (!status) kill(node, SIGKILL), waitpid(node, nullptr, 0);
    ASSERT_TRUE(status.has_value()) << "the browser check did not end";
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0)
        << "the browser did not show the result (its reason is on standard error); "
        << std::string(buffer, got > 0 ? static_cast<size_t>(got) : 0);
    EXPECT_TRUE(fs::exists(picture));

    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

std::string CaseName(const ::testing::TestParamInfo<PublishCase>& param) { return param.param.label; }

INSTANTIATE_TEST_SUITE_P(Names, PublishBrowserE2E, ::testing::ValuesIn(kCases), CaseName);

}  // namespace
