#include <gtest/gtest.h>
#include <httplib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "tests/support/ServerProcess.h"
#include "storage/PublishCodec.h"

// The HTTP interface of marshwade-scores, through the real program on 127.0.0.1. Built twice: against
// SQLite in a fresh folder, and against the PostgreSQL that pg_virtualenv starts around the test run.
namespace {

namespace fs = std::filesystem;

const std::string kProgram = MARSHWADE_BINARY_DIR "/marshwade-scores";

std::string Link(int32_t score, int skill, const std::string& name) {
    return "/cgi-bin/gameres.pl?e=" +
           publish::Encode(publish::RecordText(score, std::to_string(skill + 1), name));
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

int RunCommand(const std::string& command, std::string* output = nullptr) {
    FILE* pipe = popen(command.c_str(), "r");
    std::string text;
    char buffer[256];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe)) text += buffer;
    const int status = pipe ? pclose(pipe) : -1;
    if (output) *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class ServerApiTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ =
            fs::temp_directory_path() / ("marshwade-scores-test-" + std::to_string(getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
#ifdef MARSHWADE_TEST_POSTGRESQL
        // pg_virtualenv gives the cluster through PGHOST, PGPORT, PGUSER and PGPASSWORD.
        ASSERT_NE(std::getenv("PGPORT"), nullptr) << "run under pg_virtualenv";
        database_ = "postgresql://";
        ASSERT_EQ(RunCommand("psql -q -c 'DROP TABLE IF EXISTS results, schema_version, board_counts CASCADE;"
                             " DROP FUNCTION IF EXISTS results_count CASCADE' 2>&1"), 0);
#else
        database_ = "sqlite:" + (folder_ / "scores.db").string();
#endif
    }
    void TearDown() override {
        server_.reset();
        fs::remove_all(folder_);
    }

    void Start(std::vector<std::string> extra = {}) {
        std::vector<std::string> args{"--listen", "127.0.0.1:0", "--database", database_, "--threads", "2"};
        args.insert(args.end(), extra.begin(), extra.end());
        server_ = std::make_unique<ServerProcess>(kProgram, args, (folder_ / "log").string());
        ASSERT_GT(server_->Port(), 0) << ReadFile(folder_ / "log");
        client_ = std::make_unique<httplib::Client>("127.0.0.1", server_->Port());
    }

    httplib::Result Get(const std::string& path) {
        return client_->Get(path.c_str());
    }

    std::string Rows(int skill) {
        auto r = Get("/api/scores?skill=" + std::to_string(skill) + "&limit=200");
        return r ? r->body : "no answer";
    }

    std::string Tool(const std::string& args) {
        std::string out;
        const int code = RunCommand(kProgram + " --database '" + database_ + "' " + args + " 2>&1", &out);
        return std::to_string(code) + ":" + out;
    }

    fs::path folder_;
    std::string database_;
    std::unique_ptr<ServerProcess> server_;
    std::unique_ptr<httplib::Client> client_;
};

TEST_F(ServerApiTest, PublishStoresTheResultAndMarksItsRow) {
    Start();
    auto page = Get(Link(1500, 0, "Ann"));
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    EXPECT_NE(page->body.find("You are 1st of 1 at Novice."), std::string::npos);
    EXPECT_NE(page->body.find("<tr class=\"you\" id=\"you\"><td>1</td><td class=\"name\">Ann</td>"
                              "<td class=\"score\">1500</td>"),
              std::string::npos);
    EXPECT_NE(Rows(0).find("\"name\":\"Ann\",\"score\":1500,\"skill\":0,"), std::string::npos);
    EXPECT_EQ(Rows(1), "[]\n");
}

TEST_F(ServerApiTest, TheSameDigitsPublishedAgainStoreNothingNew) {
    Start();
    ASSERT_EQ(Get(Link(1500, 1, "Ann"))->status, 200);
    const std::string first = Rows(1);
    auto again = Get(Link(1500, 1, "Ann"));
    ASSERT_EQ(again->status, 200);
    EXPECT_NE(again->body.find("You are 1st of 1 at Expert"), std::string::npos);
    EXPECT_EQ(Rows(1), first);
}

TEST_F(ServerApiTest, ThePlaceCountsEveryResultOfTheSkill) {
    Start({"--publish-limit", "100"});
    for (int i = 0; i < 14; ++i) ASSERT_EQ(Get(Link(1000 + 10 * i, 2, "P" + std::to_string(i)))->status, 200);
    ASSERT_EQ(Get(Link(5, 0, "Other"))->status, 200);
    auto page = Get(Link(1025, 2, "Mid"));
    // Better are 1030 ... 1130: eleven results, so 12th of 15 at Master.
    EXPECT_NE(page->body.find("You are 12th of 15 at Master."), std::string::npos);
}

TEST_F(ServerApiTest, MalformedPublishesAreRefusedAndStoreNothing) {
    Start({"--publish-limit", "100"});
    std::string badChecksum = publish::Encode(publish::RecordText(1500, "1", "Ann"));
    badChecksum[2] = badChecksum[2] == '0' ? '1' : '0';
    const struct {
        const char* what;
        std::string target;
    } cases[] = {
        {"no query", "/cgi-bin/gameres.pl"},
        {"empty digits", "/cgi-bin/gameres.pl?e="},
        {"not triples", "/cgi-bin/gameres.pl?e=12"},
        {"a byte above 255", "/cgi-bin/gameres.pl?e=999999"},
        {"letters", "/cgi-bin/gameres.pl?e=abcdef"},
        {"wrong checksum", "/cgi-bin/gameres.pl?e=" + badChecksum},
        {"record that does not parse", "/cgi-bin/gameres.pl?e=" + publish::Encode("1500 1 Ann qmw exe")},
        {"score out of range", Link(100000000, 0, "Ann")},
        {"skill out of range",
         "/cgi-bin/gameres.pl?e=" + publish::Encode(publish::RecordText(5, "4", "Ann"))},
        {"over-long query", "/cgi-bin/gameres.pl?e=" + std::string(3000, '1')},
        {"a second key", Link(1500, 0, "Ann") + "&x=1"},
    };
    for (const auto& c : cases) {
        auto r = Get(c.target);
        ASSERT_TRUE(r) << c.what;
        EXPECT_EQ(r->status, 400) << c.what;
        EXPECT_NE(r->body.find("<h1>Bad request</h1>"), std::string::npos) << c.what;
    }
    for (int skill = 0; skill < 3; ++skill) EXPECT_EQ(Rows(skill), "[]\n");
}

TEST_F(ServerApiTest, PathsAndMethodsAnswerWithTheirStatus) {
    Start();
    const struct {
        const char* method;
        const char* path;
        int status;
    } cases[] = {
        {"GET", "/", 200},
        {"GET", "/skill/novice", 200},
        {"GET", "/skill/master?page=2", 200},
        {"GET", "/skill/expert?page=0", 400},
        {"GET", "/skill/expert?page=x", 400},
        {"GET", "/skill/legend", 404},
        {"GET", "/games.html", 200},
        {"GET", "/healthz", 200},
        {"GET", "/api/scores?skill=2&offset=0&limit=200", 200},
        {"GET", "/api/scores", 400},
        {"GET", "/api/scores?skill=3", 400},
        {"GET", "/api/scores?skill=0&limit=201", 400},
        {"GET", "/api/scores?skill=0&offset=-1", 400},
        {"GET", "/api/scores?skill=0&sort=name", 400},
        {"GET", "/admin", 404},
        {"POST", "/cgi-bin/gameres.pl", 405},
        {"DELETE", "/api/scores", 405},
        {"PUT", "/", 405},
        {"POST", "/admin", 404},
    };
    for (const auto& c : cases) {
        httplib::Request request;
        request.method = c.method;
        request.path = c.path;
        auto r = client_->send(request);
        ASSERT_TRUE(r) << c.method << " " << c.path;
        EXPECT_EQ(r->status, c.status) << c.method << " " << c.path;
    }
}

TEST_F(ServerApiTest, NamesAreEscapedOnThePageAndConvertedToUtf8) {
    Start();
    ASSERT_EQ(Get(Link(700, 0, "<script>alert(\"x\")</script>'&"))->status, 200);
    ASSERT_EQ(Get(Link(600, 0, "Zo\xEB \x80"))->status, 200);
    auto page = Get("/skill/novice");
    EXPECT_EQ(page->body.find("<script>"), std::string::npos);
    EXPECT_NE(page->body.find("&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt;&#39;&amp;"),
              std::string::npos);
    EXPECT_NE(page->body.find("Zo\xC3\xAB \xE2\x82\xAC"), std::string::npos);
    EXPECT_NE(Rows(0).find("\\u003cscript\\u003ealert(\\\"x\\\")"), std::string::npos);
}

TEST_F(ServerApiTest, TheApiPagesRowsBestFirst) {
    Start({"--publish-limit", "100"});
    for (int score : {300, 100, 500, 200, 400})
        ASSERT_EQ(Get(Link(score, 1, "S" + std::to_string(score)))->status, 200);
    auto r = Get("/api/scores?skill=1&offset=1&limit=2");
    ASSERT_EQ(r->status, 200);
    EXPECT_NE(r->body.find("\"name\":\"S400\""), std::string::npos);
    EXPECT_NE(r->body.find("\"name\":\"S300\""), std::string::npos);
    EXPECT_LT(r->body.find("S400"), r->body.find("S300"));
    EXPECT_EQ(r->body.find("S500"), std::string::npos);
    EXPECT_EQ(r->body.find("S200"), std::string::npos);
}

TEST_F(ServerApiTest, APageShowsAPublishMadeAfterItWasCached) {
    Start();
    ASSERT_EQ(Get("/skill/expert")->body.find("Later"), std::string::npos);
    ASSERT_EQ(Get(Link(900, 1, "Later"))->status, 200);
    EXPECT_NE(Get("/skill/expert")->body.find("Later"), std::string::npos);
    EXPECT_NE(Get("/")->body.find("Later"), std::string::npos);
}

TEST_F(ServerApiTest, TooManyPublishesFromOneAddressInAMinuteAreRefused) {
    Start({"--publish-limit", "3"});
    for (int i = 0; i < 3; ++i) ASSERT_EQ(Get(Link(10 + i, 0, "R"))->status, 200);
    auto r = Get(Link(99, 0, "R"));
    EXPECT_EQ(r->status, 429);
    EXPECT_EQ(Rows(0).find("\"score\":99,"), std::string::npos);
    EXPECT_EQ(Get("/skill/novice")->status, 200);
}

TEST_F(ServerApiTest, TheLogHasOneLinePerRequestWithoutNamesOrAddresses) {
    Start();
    ASSERT_EQ(Get(Link(1500, 0, "Secretname"))->status, 200);
    ASSERT_EQ(Get("/healthz")->status, 200);
    ASSERT_EQ(server_->Terminate(), 0);
    const std::string log = ReadFile(folder_ / "log");
    EXPECT_EQ(log.find("Secretname"), std::string::npos);
    EXPECT_EQ(log.find(publish::Encode(publish::RecordText(1500, "1", "Secretname"))), std::string::npos);
    EXPECT_EQ(log.find("127.0.0.1"), std::string::npos);
    EXPECT_NE(log.find(" GET /cgi-bin/gameres.pl 200 "), std::string::npos);
    EXPECT_NE(log.find(" GET /healthz 200 "), std::string::npos);
}

TEST_F(ServerApiTest, SigtermEndsTheServerCleanlyAndTheResultsStay) {
    Start();
    ASSERT_EQ(Get(Link(1500, 0, "Ann"))->status, 200);
    EXPECT_EQ(server_->Terminate(), 0);
    Start();
    EXPECT_NE(Rows(0).find("\"name\":\"Ann\""), std::string::npos);
}

TEST_F(ServerApiTest, ModerationListsAndRemovesResults) {
    Start();
    ASSERT_EQ(Get(Link(1500, 2, "Keep"))->status, 200);
    ASSERT_EQ(Get(Link(1400, 2, "Drop"))->status, 200);
    const std::string listed = Tool("list --skill 2");
    EXPECT_NE(listed.find("0:1\t1500\tKeep\t"), std::string::npos) << listed;
    EXPECT_NE(listed.find("2\t1400\tDrop\t"), std::string::npos) << listed;
    EXPECT_EQ(Tool("remove 2"), "0:removed 2\n");
    EXPECT_EQ(Tool("remove 2").substr(0, 2), "1:");
    EXPECT_EQ(Tool("list --skill 3").substr(0, 2), "2:");
    // The cached page may lag a removal by at most a second.
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    EXPECT_EQ(Rows(2).find("Drop"), std::string::npos);
    EXPECT_EQ(Get("/skill/master")->body.find("Drop"), std::string::npos);
}

TEST_F(ServerApiTest, ABadDatabaseSettingIsRefusedAtStart) {
    EXPECT_EQ(Tool("list --skill 0").substr(0, 2), "0:");
    std::string out;
    EXPECT_EQ(RunCommand(kProgram + " --database mysql://x --listen 127.0.0.1:0 2>&1", &out), 1);
    EXPECT_NE(out.find("give sqlite:PATH or postgresql://"), std::string::npos) << out;
}

#ifdef MARSHWADE_TEST_POSTGRESQL
// Servers keep no state of their own beyond a page cache: a result published through one process
// shows on the page of another against the same database.
TEST_F(ServerApiTest, TwoServersOnOneDatabaseShowEachOthersResults) {
    Start();
    std::unique_ptr<ServerProcess> first = std::move(server_);
    std::unique_ptr<httplib::Client> firstClient = std::move(client_);
    Start();
    ASSERT_NE(first->Port(), server_->Port());
    ASSERT_EQ(Get("/skill/expert")->body.find("Across"), std::string::npos);
    ASSERT_EQ(firstClient->Get(Link(4321, 1, "Across").c_str())->status, 200);
    // The second server's cached page lets go within a second.
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    auto page = Get("/skill/expert");
    EXPECT_NE(page->body.find("<td class=\"name\">Across</td><td class=\"score\">4321</td>"),
              std::string::npos);
    EXPECT_EQ(first->Terminate(), 0);
}
#endif

}  // namespace
