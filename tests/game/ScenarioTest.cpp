// Scenarios: a seed, a script of timed inputs and the lines the replay tool must print for them.
// The lines are those of the real game played headless, so a scenario checks the rules end to end.
#include <sstream>

#include "tests/game/GameFixture.h"

namespace {

using Scenario = GameTest;

std::vector<std::string> Play(uint32_t seed, int frames, const std::string& script) {
    std::vector<ScriptInput> inputs;
    std::string error;
    EXPECT_TRUE(ParseScript(script, inputs, error)) << error;
    std::ostringstream out;
    EXPECT_TRUE(RunReplay(seed, frames, inputs, out));
    std::vector<std::string> lines;
    std::istringstream in(out.str());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

struct Expect {
    int frame;
    const char* text;  // a part of that frame's line
};

TEST_F(Scenario, PlaysTheGameAsTheRulesSay) {
    struct Case {
        const char* name;
        uint32_t seed;
        const char* script;
        std::vector<Expect> expect;
    } cases[] = {
        {"the frog leaps in along its path and rests on the entry island",
         1,
         "",
         {{1, "\"cell\":[-1,-1],\"state\":\"Leaping\""},
          {40, "\"cell\":[5,4],\"state\":\"Leaping\""},
          {42, "\"cell\":[4,3],\"state\":\"Resting\",\"islands\":5"},
          {42, "\"level\":1,\"difficulty\":1,\"living\":8"}}},
        {"P and Space toggle alike; a click on the panel keeps the pause, a right click ends it",
         1,
         "60 key P\n80 key Space\n100 key Space\n101 click 700 300\n102 rclick 700 300\n",
         {{59, "\"paused\":false"},
          {60, "\"paused\":true"},
          {79, "\"paused\":true"},
          {80, "\"paused\":false"},
          {101, "\"paused\":true"},
          {102, "\"paused\":false"}}},
        {"a hop onto open water drowns the frog and the next one comes",
         1,
         "50 key Up\n",
         {{53, "\"living\":8,\"cell\":[4,3],\"state\":\"Moving\""},
          {54, "\"living\":7,\"cell\":[-1,-1],\"state\":\"Leaping\""}}},
        {"the first red frog comes after three seconds",
         1,
         "",
         {{150, "\"redFrogs\":0"}, {200, "\"redFrogs\":1"}}},
    };
    for (const Case& c : cases) {
        const auto lines = Play(c.seed, 250, c.script);
        ASSERT_EQ(lines.size(), 250u) << c.name;
        for (const Expect& e : c.expect) {
            EXPECT_NE(lines[static_cast<size_t>(e.frame - 1)].find(e.text), std::string::npos)
                << c.name << "\nframe " << e.frame << ": " << lines[static_cast<size_t>(e.frame - 1)];
        }
    }
}

// Keys and clicks go to the dialog in front, a click in the dialog's own pixels; the line names the
// dialog open. Options: Expert picked and kept with OK starts an Expert game (6 frogs, not 8).
TEST_F(Scenario, AScriptDrivesTheDialogInFront) {
    struct Case {
        const char* name;
        const char* script;
        std::vector<Expect> expect;
    } cases[] = {
        {"options opened by a click, Expert picked, OK: an Expert game plays on",
         "60 click 702 85\n62 click 40 287\n64 click 100 455\n",
         {{59, "\"dialog\":\"\",\"skill\":0"},
          {59, "\"living\":8"},
          {60, "\"dialog\":\"options\""},
          {63, "\"dialog\":\"options\",\"skill\":1"},
          {66, "\"dialog\":\"\",\"skill\":1"},
          {120, "\"level\":1,\"difficulty\":6,\"living\":6"},
          {120, "\"skill\":1"}}},
        {"options left with Escape keeps the skill",
         "60 click 702 85\n62 click 40 287\n64 key Escape\n",
         {{63, "\"skill\":1"}, {66, "\"dialog\":\"\",\"skill\":0"}, {120, "\"living\":8"}}},
        {"help opened and closed by Escape",
         "60 click 627 15\n70 key Escape\n",
         {{60, "\"dialog\":\"help\""}, {69, "\"dialog\":\"help\""}, {72, "\"dialog\":\"\""}}},
        {"the quit dialog answered No by Escape: the game goes on",
         "60 click 730 15\n70 key Escape\n",
         {{60, "\"dialog\":\"quit\",\"skill\""}, {72, "\"dialog\":\"\""}, {200, "\"dialog\":\"\""}}},
        {"top 10 opened and closed",
         "60 click 702 125\n70 key Escape\n",
         {{60, "\"dialog\":\"scores\""}, {72, "\"dialog\":\"\""}}},
        {"the clear dialog over the top 10 takes the key, then the top 10 the next",
         "60 click 702 125\n62 click 280 520\n70 key Escape\n80 key Escape\n",
         {{61, "\"dialog\":\"scores\""},
          {62, "\"dialog\":\"clear\""},
          {72, "\"dialog\":\"scores\""},
          {82, "\"dialog\":\"\""}}},
    };
    for (const Case& c : cases) {
        const auto lines = Play(1, 200, c.script);
        ASSERT_EQ(lines.size(), 200u) << c.name;
        for (const Expect& e : c.expect) {
            EXPECT_NE(lines[static_cast<size_t>(e.frame - 1)].find(e.text), std::string::npos)
                << c.name << "\nframe " << e.frame << ": " << lines[static_cast<size_t>(e.frame - 1)];
        }
    }
}

TEST_F(Scenario, TheSameSeedAndScriptGiveTheSameLines) {
    std::string script;
    const char* keys[] = {"Left", "Up", "Right", "Down"};
    for (int f = 45, i = 0; f < 1200; f += 17, ++i)
        script += std::to_string(f) + " key " + keys[i % 4] + "\n";
    script += "600 click 300 300\n700 focus off\n760 focus on\n";
    const auto first = Play(21, 1200, script);
    EXPECT_EQ(Play(21, 1200, script), first);
    EXPECT_NE(Play(22, 1200, script), first);
}

TEST_F(Scenario, AScriptLineThatCannotBeReadIsNamed) {
    struct Case {
        const char* script;
        const char* error;
    } cases[] = {
        {"10 key Left\nten key Up\n", "line 2: the frame must be a number"},
        {"# comment\n\n5 key Shift\n", "line 3: unknown key 'Shift'"},
        {"5 click 10\n", "line 1: a click needs X and Y"},
        {"5 focus maybe\n", "line 1: expected key, click, rclick, focus or shot"},
        {"-3 key Up\n", "line 1: the frame must be a number"},
        // Past what an int holds: once read as frame 1.
        {"4294967297 key Up\n", "line 1: the frame must be a number"},
        {"100000001 key Up\n", "line 1: the frame must be a number"},
        {"+5 key Up\n", "line 1: the frame must be a number"},
    };
    for (const Case& c : cases) {
        std::vector<ScriptInput> inputs;
        std::string error;
        EXPECT_FALSE(ParseScript(c.script, inputs, error));
        EXPECT_EQ(error, c.error);
        EXPECT_TRUE(inputs.empty()) << c.script << ": nothing of a script with a bad line is kept";
    }
}

}  // namespace
