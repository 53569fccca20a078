#include <gtest/gtest.h>

#include "game/IniFile.h"

namespace {

IniFile FromText(std::string_view text) {
    IniFile file;
    file.LoadFromText(text);
    return file;
}

TEST(IniFileTest, NamesCompareWithoutCaseAndWhiteSpaceIsTrimmed) {
    IniFile file = FromText("  [ Rates ]  \n  AgressionRate \t=  5 \n");
    EXPECT_EQ(file.GetString("rates", "agressionrate", "d"), "5");
    EXPECT_EQ(file.GetString("RATES", "AGRESSIONRATE", "d"), "5");
    EXPECT_EQ(file.GetString("Rates", "AggressionRate", "d"), "d") << "spelling counts";
}

TEST(IniFileTest, FirstSectionAndFirstKeyWin) {
    IniFile file = FromText("[Game]\nA=1\nA=2\n[game]\nA=3\nB=4\n");
    EXPECT_EQ(file.GetString("Game", "A", "d"), "1");
    EXPECT_EQ(file.GetString("Game", "B", "d"), "d") << "the later section of the same name is not consulted";
}

TEST(IniFileTest, AbsentSectionKeyOrFileGivesTheDefault) {
    IniFile file = FromText("[Game]\nA=1\n");
    EXPECT_EQ(file.GetString("Other", "A", "7"), "7");
    EXPECT_EQ(file.GetString("Game", "B", "7"), "7");
    IniFile missing;
    EXPECT_FALSE(missing.Load("/nonexistent/folder/Quillmoss.ini"));
    EXPECT_EQ(missing.GetString("Game", "A", "7"), "7");
}

TEST(IniFileTest, PresentButEmptyValueIsEmptyNotTheDefault) {
    EXPECT_EQ(FromText("[Game]\nA=\n").GetString("Game", "A", "7"), "");
}

TEST(IniFileTest, OnePairOfMatchingQuotesIsRemoved) {
    IniFile file = FromText("[S]\na=\"x y\"\nb='z'\nc=\"half\nd=\"mixed'\ne=\"\"q\"\"\nf=\"\n");
    EXPECT_EQ(file.GetString("S", "a", ""), "x y");
    EXPECT_EQ(file.GetString("S", "b", ""), "z");
    EXPECT_EQ(file.GetString("S", "c", ""), "\"half");
    EXPECT_EQ(file.GetString("S", "d", ""), "\"mixed'");
    EXPECT_EQ(file.GetString("S", "e", ""), "\"q\"");
    EXPECT_EQ(file.GetString("S", "f", ""), "\"");
}

TEST(IniFileTest, ValuesAreCutToNinetyNineCharacters) {
    const std::string longValue(150, '7');
    IniFile file = FromText("[S]\nk=" + longValue + "\n");
    EXPECT_EQ(file.GetString("S", "k", ""), longValue.substr(0, 99));
    EXPECT_EQ(file.GetString("S", "none", longValue), longValue.substr(0, 99));
}

TEST(IniFileTest, LinesWithoutEqualsCommentsAndKeysOutsideSectionsAreIgnored) {
    IniFile file = FromText("A=0\n; A=5\n[S]\njust words\n;A=6\nA = b = c\n");
    EXPECT_EQ(file.GetString("S", "A", "d"), "b = c");
    EXPECT_EQ(file.GetString("", "A", "d"), "d");
}

TEST(IniFileTest, ByteOrderMarkAndEveryLineEndReadAlike) {
    for (const char* text : {"\xEF\xBB\xBF[S]\nA=1\nB=2", "[S]\r\nA=1\r\nB=2\r\n", "[S]\rA=1\rB=2\r",
                             "\xEF\xBB\xBF[S]\r\nA=1\nB=2\r"}) {
        IniFile file = FromText(text);
        EXPECT_EQ(file.GetString("S", "A", "d"), "1") << text;
        EXPECT_EQ(file.GetString("S", "B", "d"), "2") << text;
    }
}

}  // namespace
