// The modders' tuning table: what is read, what each skill and level derives, what the game clamps.
#include <gtest/gtest.h>

#include <sstream>

#include "storage/IniFile.h"
#include "tools/tuning/TuningTable.h"

namespace {

std::string Table(const std::string& settings) {
    IniFile file;
    file.LoadFromText(settings);
    std::ostringstream out;
    WriteTuningTable(file, out);
    return out.str();
}

bool HasLine(const std::string& text, const std::string& line) {
    return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
}

TEST(TuningTable, ShowsTheDefaultsAndEverySkillsLevelsAsTheGameDerivesThem) {
    const std::string text = Table("");
    size_t lines = 0, reads = 0;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        ++lines;
        reads += line.rfind("read ", 0) == 0;
    }
    EXPECT_EQ(reads, 37u);
    EXPECT_EQ(lines, 37u + 1 + 75 + 1);
    for (const char* line : {
             "read Rates NiceFrogRate -0.4",
             "0 1 1 800 1500 1930 150 6 0 1000 6 1 8",   // Novice, level 1
             "0 8 8 800 1500 1440 150 6 3 3100 8 3 8",   // three suns from level 8
             "1 1 5 800 1500 1650 150 6 0 2200 7 2 6",   // Expert starts at difficulty 5
             "2 1 10 800 1500 1300 150 6 0 3700 8 3 4",  // Master at difficulty 10
             "2 25 34 800 1500 1000 150 6 3 10900 9 4 4",
             "# the game plays every value as read",
         })
        EXPECT_TRUE(HasLine(text, line)) << line;
}

TEST(TuningTable, ShowsTheFilesValuesBeforeScalingAndNamesWhatTheGameHoldsToItsRange) {
    const std::string text =
        Table("[Game]\nMaxIslandNumbers=0\n[Rates]\nAgressionRate=5\n[Frogs]\nMaxFrogNumber=40\n");
    EXPECT_TRUE(HasLine(text, "read Game MaxIslandNumbers 0"));
    EXPECT_TRUE(HasLine(text, "read Rates AgressionRate 5"));
    EXPECT_TRUE(HasLine(text, "0 1 1 800 1500 1930 150 6 0 1000 9 1 40"));
    EXPECT_TRUE(HasLine(text, "# the game holds MaxIslandNumbers 0 to 2, MaxFrogNumber 40 to 12"))
        << text.substr(text.rfind('#'));
}

}  // namespace
