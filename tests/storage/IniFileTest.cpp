#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "storage/IniFile.h"
#include "tests/support/TempFolder.h"

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

TEST(IniFileTest, OpeningBracketWithoutClosingOneIsAKeyLineAndTheSectionGoesOn) {
    IniFile file = FromText("[Game]\nA=1\n[Leaves\nB=2\n[C=3\n");
    EXPECT_EQ(file.GetString("Game", "B", "d"), "2");
    EXPECT_EQ(file.GetString("Game", "[C", "d"), "3");
    EXPECT_EQ(file.GetString("Leaves", "B", "d"), "d");
}

TEST(IniFileTest, SectionNameRunsToTheLastClosingBracket) {
    const struct {
        const char* header;
        const char* name;
    } cases[] = {
        {"[Game]]", "Game]"},      {"[ Game ] ", "Game"},
        {"[Game] ; note", "Game"}, {"[Game] note ]", "Game] note"},
        {"[[Game]]", "[Game]"},    {"[]", ""},
    };
    for (const auto& c : cases) {
        IniFile file = FromText(std::string(c.header) + "\nA=1\n");
        EXPECT_EQ(file.GetString(c.name, "A", "d"), "1") << c.header;
        if (std::string_view(c.name) != "Game") {
            EXPECT_EQ(file.GetString("Game", "A", "d"), "d") << c.header;
        }
    }
}

// Little- or big-endian UTF-16 as Windows editors save it, with a byte-order mark.
std::string Utf16(std::u16string_view text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t u : text) {
        const char high = static_cast<char>(u >> 8), low = static_cast<char>(u & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

TEST(IniFileTest, Utf16FilesWithAByteOrderMarkAreReadAsWindows1252) {
    using namespace std::string_literals;  // the text holds a NUL
    const std::u16string text =
        u"[Game]\r\nMaxIslandNumbers = 9\r\nName=Caf\u00E9 \u20AC\u0100\r\nPair=\xD83D\xDC38!\r\n"
        u"Lone=a\xDC38z\xD83D\r\nNul=4\u00002\r\n"s;
    for (bool bigEndian : {false, true}) {
        IniFile file = FromText(Utf16(text, bigEndian));
        EXPECT_EQ(file.GetString("game", "MaxIslandNumbers", "d"), "9") << bigEndian;
        EXPECT_EQ(file.GetString("Game", "Name", "d"), "Caf\xE9 \x80?") << bigEndian;
        EXPECT_EQ(file.GetString("Game", "Pair", "d"), "?!") << "one character beyond the basic plane";
        EXPECT_EQ(file.GetString("Game", "Lone", "d"), "a?z?");
        EXPECT_EQ(file.GetString("Game", "Nul", "d"), std::string("4\0"
                                                                  "2",
                                                                  3));
    }
}

TEST(IniFileTest, Utf16FileCutInTheMiddleOfACharacterLosesOnlyThatByte) {
    for (bool bigEndian : {false, true}) {
        std::string bytes = Utf16(u"[S]\nA=12", bigEndian) + "\x33";
        EXPECT_EQ(FromText(bytes).GetString("S", "A", "d"), "12") << bigEndian;
        EXPECT_EQ(FromText(bytes.substr(0, 3)).GetString("S", "A", "d"), "d") << "a mark and one byte";
    }
}

TEST(IniFileTest, Utf16FileIsReadFromDisk) {
    TempFolder folder;
    const std::filesystem::path path = folder.Path() / "Quillmoss.ini";
    std::ofstream(path, std::ios::binary) << Utf16(u"[Frogs]\r\nMaxFrogNumber=5\r\n", false);
    IniFile file;
    ASSERT_TRUE(file.Load(path.string()));
    EXPECT_EQ(file.GetString("Frogs", "MaxFrogNumber", "d"), "5");
}

}  // namespace
