// The score table window over a plain parent: its layout, the rows it fills, closing, clearing and
// publishing.
#include <gtest/gtest.h>

#include <fstream>
#include <tuple>

#include "engine/VirtualKey.h"
#include "graphics/OClip.h"
#include "storage/DataFileCodec.h"
#include "windows/OWndScoresClear.h"
#include "storage/PublishLink.h"
#include "tests/storage/FaultyFiles.h"
#include "tests/windows/ScoreWindowsFixture.h"
#include "tests/support/GoldenPicture.h"
#include "ui/OButton.h"
#include "ui/OText.h"

namespace {

using namespace scores_test;
using platform::NativeEventType;

// The name and score rows as shown, "name score", empty rows as " ".
std::vector<std::string> Rows(const OWndScores* w) {
    std::vector<std::string> rows;
    for (int i = 0; i < OWndScores::kRows; ++i)
        rows.push_back(w->NameRow(i)->GetText() + " " + w->ScoreRow(i)->GetText());
    return rows;
}

// The record text a link carries, checked against its checksums.
std::string Decode(const std::string& digits) {
    std::string bytes;
    uint8_t previous = publish::kPublishStart;
    for (size_t i = 0; i + 3 <= digits.size(); i += 3) {
        const int code = std::stoi(digits.substr(i, 3));
        previous = static_cast<uint8_t>(code ^ previous);
        bytes.push_back(static_cast<char>(previous));
    }
    uint8_t sum = 0, masked = 0;
    for (size_t i = 2; i < bytes.size(); ++i) {
        sum = static_cast<uint8_t>(sum + static_cast<uint8_t>(bytes[i]));
        masked = static_cast<uint8_t>(masked + (static_cast<uint8_t>(bytes[i]) ^ publish::kPublishMask));
    }
    EXPECT_EQ(static_cast<uint8_t>(bytes[0]), sum);
    EXPECT_EQ(static_cast<uint8_t>(bytes[1]), masked);
    return bytes.substr(2);
}

// Whether `clip` has the size of the picture in `file` (the title and the bar differ in both).
bool SameSize(const OClip* clip, const std::string& file) {
    auto* loaded = new OClip();
    const bool same =
        loaded->Load(file) && loaded->Width() == clip->Width() && loaded->Height() == clip->Height();
    loaded->Destroy();
    return same;
}

class OWndScoresTest : public ScoreWindowsTest {};

TEST_F(OWndScoresTest, ButtonsTitleAndRowsStandAtTheirPlaces) {
    OWndScores* w = OpenScores(0);
    ASSERT_EQ(w->ClientWidth(), 355);
    ASSERT_EQ(w->ClientHeight(), 550);
    const OButton* publish = w->PublishButton();
    const OButton* close = w->CloseButton();
    const OButton* clear = w->ClearButton();
    EXPECT_EQ(publish->X(), (355 - publish->Width()) / 2);
    EXPECT_EQ(publish->Y(), 550 - publish->Height() - 10);
    EXPECT_EQ(close->X(), publish->X() - close->Width() - 10);
    EXPECT_EQ(close->Y(), 550 - close->Height() - 10);
    EXPECT_EQ(clear->X(), publish->X() + publish->Width() + 10);
    EXPECT_EQ(w->Focus(), close);

    ASSERT_NE(w->Title(), nullptr);
    EXPECT_TRUE(SameSize(w->Title(), "CLP\\top.clp"));
    EXPECT_EQ(w->Title()->X(), (355 - w->Title()->Width()) / 2);
    EXPECT_EQ(w->Title()->Y(), 0);

    for (int i = 0; i < OWndScores::kRows; ++i) {
        const OButton* name = w->NameRow(i);
        const OButton* score = w->ScoreRow(i);
        EXPECT_EQ(name->X(), 25);
        EXPECT_EQ(name->Y(), i * (name->Height() - 2) + 47);
        EXPECT_EQ(score->X(), 25 + name->Width());
        EXPECT_EQ(score->Y(), name->Y());
        for (const auto& [cell, weight] : {std::tuple{name, 400}, std::tuple{score, 800}}) {
            const OText* caption = cell->Caption();
            EXPECT_EQ(caption->Font().height, 24);
            EXPECT_EQ(caption->Font().weight, weight);
            EXPECT_EQ(caption->Font().colour, 0xC80000u);
            EXPECT_EQ(caption->AlignFlags(), 4 | 8) << "centred vertically";
        }
    }
}

TEST_F(OWndScoresTest, WithoutTheTitlePictureTheBarStandsLower) {
    fs::remove(program->Path() / "CLP" / "top.clp");
    OWndScores* w = OpenScores(0);
    ASSERT_NE(w->Title(), nullptr);
    EXPECT_TRUE(SameSize(w->Title(), "CLP\\bar.clp"));
    EXPECT_EQ(w->Title()->Y(), 50);
    EXPECT_EQ(w->Title()->X(), (355 - w->Title()->Width()) / 2);
}

// The title says which skill the table shows, legible beside the picture: inside the window, clear of
// the picture and of the first row, whatever the name's length.
TEST_F(OWndScoresTest, TheTitleNamesTheSkillBesideThePicture) {
    const std::vector<std::pair<int, std::string>> cases{{0, "Novice"}, {1, "Expert"}, {2, "Master"}};
    for (const auto& [skill, name] : cases) {
        SCOPED_TRACE(name);
        OWndScores* w = OpenScores(skill);
        const OText* text = w->SkillName();
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->GetText(), name);
        EXPECT_TRUE(text->IsVisible());
        EXPECT_GE(text->X(), w->Title()->X() + w->Title()->Width()) << "clear of the picture";
        EXPECT_LE(text->X() + text->Width(), 355);
        EXPECT_GE(text->Y(), 0);
        EXPECT_LE(text->Y() + text->Height(), w->NameRow(0)->Y()) << "above the first row";
        EXPECT_NE(text->Font().colour, 0u) << "not black on the dark shore";
        Close(w);
    }
}

TEST_F(OWndScoresTest, ShowsTheTenBestOfTheSkillInDescendingOrder) {
    std::vector<Result> results;
    for (int i = 0; i < 14; ++i) results.push_back({"E" + std::to_string(i), "2", 100 * (i + 1)});
    for (int i = 0; i < 3; ++i) results.push_back({"N" + std::to_string(i), "1", 5000 + i});
    WriteTable(results);

    OWndScores* expert = OpenScores(1);
    EXPECT_EQ(Rows(expert),
              (std::vector<std::string>{"E13 1400", "E12 1300", "E11 1200", "E10 1100", "E9 1000", "E8 900",
                                        "E7 800", "E6 700", "E5 600", "E4 500"}));
    Key(expert, vk::kEscape);
    ASSERT_TRUE(Finished(expert));

    OWndScores* novice = OpenScores(0);
    EXPECT_EQ(Rows(novice),
              (std::vector<std::string>{"N2 5002", "N1 5001", "N0 5000", " ", " ", " ", " ", " ", " ", " "}));
}

TEST_F(OWndScoresTest, NamesStandInFromTheLeftScoresFromTheRightAndLongNamesStayInTheirCell) {
    const std::string longName(60, 'W');
    WriteTable({{"Ann", "1", 15250}, {longName, "1", 10}});
    OWndScores* w = OpenScores(0);
    for (int row : {0, 1}) {
        const OButton* name = w->NameRow(row);
        const OButton* score = w->ScoreRow(row);
        EXPECT_EQ(name->Caption()->X(), name->X() + 6) << row;
        EXPECT_LE(name->Caption()->X() + name->Caption()->Width(), name->X() + name->Width() - 6) << row;
        EXPECT_EQ(score->Caption()->X() + score->Caption()->Width(), score->X() + score->Width() - 6) << row;
        EXPECT_EQ(name->Caption()->Y() + name->Caption()->Height() / 2, name->Y() + name->Height() / 2)
            << row;
    }
    EXPECT_EQ(w->NameRow(1)->GetText(), longName) << "the whole name is kept, only its picture is cut";
}

TEST_F(OWndScoresTest, EqualScoresShowInTheOrderTheTableWalksThem) {
    // Read from the file in the order Ann, Bob, Cid; the walk from the best down gives them reversed.
    WriteTable({{"Cid", "1", 700}, {"Bob", "1", 700}, {"Ann", "1", 700}, {"Dan", "1", 900}});
    OWndScores* w = OpenScores(0);
    EXPECT_EQ(Rows(w)[0], "Dan 900");
    EXPECT_EQ(Rows(w)[1], "Cid 700");
    EXPECT_EQ(Rows(w)[2], "Bob 700");
    EXPECT_EQ(Rows(w)[3], "Ann 700");
}

TEST_F(OWndScoresTest, EnterEscapeAndCloseCloseIt) {
    WriteTable({{"Ann", "1", 900}});
    enum Way { kEnterKey, kEscapeKey, kCloseButton };
    for (Way way : {kEnterKey, kEscapeKey, kCloseButton}) {
        OWndScores* w = OpenScores(0);
        EXPECT_TRUE(parent->IsModalPaused()) << way;
        if (way == kCloseButton) {
            Click(w, w->CloseButton());
        } else {
            // Over Clear, which takes the focus: the key's release reaches it, and must not clear.
            const OButton* clear = w->ClearButton();
            const int x = static_cast<int>(clear->X() + 5), y = static_cast<int>(clear->Y() + 5);
            Send(w, NativeEventType::MouseMove, 0, x, y);
            Send(w, NativeEventType::MouseMove, 0, x, y);
            ASSERT_EQ(w->Focus(), clear);
            Key(w, way == kEnterKey ? vk::kEnter : vk::kEscape);
        }
        EXPECT_TRUE(Finished(w)) << way;
        EXPECT_EQ(os.WindowCount(), 1u) << way << ": nothing else was opened";
        EXPECT_FALSE(parent->IsModalPaused()) << way;
    }
    EXPECT_EQ(FileResults(), (std::vector<std::string>{"Ann 1 900"}));
}

TEST_F(OWndScoresTest, ClearAtMasterEmptiesTheRowsAndKeepsTheOtherSkillsInTheFile) {
    WriteTable({{"Ann", "3", 900}, {"Bob", "1", 800}, {"Cid", "3", 700}, {"Dan", "2", 600}});
    OWndScores* w = OpenScores(2);
    EXPECT_EQ(Rows(w)[1], "Cid 700");

    Click(w, w->ClearButton());
    OWindow* confirm = Newest();
    ASSERT_NE(dynamic_cast<OWndScoresClear*>(confirm), nullptr);
    EXPECT_EQ(confirm->ClientWidth(), 345);
    EXPECT_EQ(confirm->ClientHeight(), 180);
    EXPECT_TRUE(w->IsModalPaused());
    Frame(confirm);
    Key(confirm, vk::kEnter);  // Yes has the focus
    ASSERT_TRUE(Finished(confirm));
    Frame(w);

    EXPECT_EQ(Rows(w), std::vector<std::string>(10, " "));
    EXPECT_EQ(FileResults(), (std::vector<std::string>{"Bob 1 800", "Dan 2 600"}));
    EXPECT_NE(TheGameState().dialogAnswer, kAnswerYes) << "no yes is left for the game window to misread";
}

TEST_F(OWndScoresTest, AClearConfirmedThenClosedAtOnceIsNotLost) {
    WriteTable({{"Ann", "1", 900}, {"Bob", "2", 800}});
    OWndScores* w = OpenScores(0);
    Click(w, w->ClearButton());
    OWindow* confirm = Newest();
    Frame(confirm);
    Click(confirm, static_cast<OWndScoresClear*>(confirm)->YesButton());
    ASSERT_TRUE(Finished(confirm));
    Key(w, vk::kEnter);  // before the score window has stepped again
    ASSERT_TRUE(Finished(w));
    EXPECT_EQ(FileResults(), (std::vector<std::string>{"Bob 2 800"}));
    EXPECT_EQ(TheGameState().dialogAnswer, kNoAnswer);
}

TEST_F(OWndScoresTest, NoAndEscapeInTheConfirmationClearNothing) {
    WriteTable({{"Ann", "1", 900}});
    OWndScores* w = OpenScores(0);
    for (bool escape : {false, true}) {
        Click(w, w->ClearButton());
        OWndScoresClear* confirm = dynamic_cast<OWndScoresClear*>(Newest());
        ASSERT_NE(confirm, nullptr);
        Frame(confirm);
        if (escape)
            Key(confirm, vk::kEscape);
        else
            Click(confirm, confirm->NoButton());
        ASSERT_TRUE(Finished(confirm));
        EXPECT_EQ(Rows(w)[0], "Ann 900");
        EXPECT_EQ(FileResults(), (std::vector<std::string>{"Ann 1 900"}));
    }
}

TEST_F(OWndScoresTest, AYesAfterEscapeInTheConfirmationClearsNothing) {
    WriteTable({{"Ann", "1", 900}});
    OWndScores* w = OpenScores(0);
    Click(w, w->ClearButton());
    OWndScoresClear* confirm = dynamic_cast<OWndScoresClear*>(Newest());
    ASSERT_NE(confirm, nullptr);
    Frame(confirm);
    Key(confirm, vk::kEscape);
    Click(confirm, confirm->YesButton());  // before the close is carried out
    ASSERT_TRUE(Finished(confirm));
    EXPECT_EQ(FileResults(), (std::vector<std::string>{"Ann 1 900"}));
    EXPECT_EQ(Rows(w)[0], "Ann 900");
}

class OWndScoresFaultTest : public OWndScoresTest,
                            public ::testing::WithParamInterface<faulty_files::FaultCase> {
  protected:
    void TearDown() override {
        faulty_files::Undo(TablePath());
        OWndScoresTest::TearDown();
    }
};

TEST_P(OWndScoresFaultTest, AClearThatCannotBeSavedIsSaidInTheConfirmationAndDeletesNothing) {
    using namespace faulty_files;
    const FaultCase& c = GetParam();
    if (const std::string why = Unavailable(c.fault); !why.empty()) GTEST_SKIP() << c.name << ": " << why;
    faulty_files::Make(c.fault, TablePath(), EncodeDataFile("2004-7-5\tAnn\t1\t900\n"));
    const std::string before = Snapshot(TablePath());

    testing::internal::CaptureStderr();
    OWndScores* w = OpenScores(0);
    EXPECT_EQ(Rows(w)[0], c.unreadable ? " " : "Ann 900");
    Click(w, w->ClearButton());
    OWndScoresClear* confirm = dynamic_cast<OWndScoresClear*>(Newest());
    ASSERT_NE(confirm, nullptr);
    Frame(confirm);
    Click(confirm, confirm->YesButton());
    EXPECT_FALSE(Finished(confirm)) << "the confirmation stays, showing why";
    EXPECT_EQ(confirm->Note().Text(), c.unreadable
                                          ? "Nothing was deleted: the score file could not be read."
                                          : "Nothing was deleted: the score file could not be written.");
    for (const OText* word : confirm->Note().Words()) {
        EXPECT_LE(word->Y() + word->Height(), confirm->YesButton()->Y()) << word->GetText();
        EXPECT_GE(word->X(), 10) << word->GetText();
        EXPECT_LE(word->X() + word->Width(), OWndScoresClear::kWidth - 10) << word->GetText();
    }
    EXPECT_EQ(Snapshot(TablePath()), before);

    Click(confirm, confirm->NoButton());
    ASSERT_TRUE(Finished(confirm));
    Frame(w);
    EXPECT_EQ(Rows(w)[0], c.unreadable ? " " : "Ann 900") << "the window deletes nothing either";
    EXPECT_EQ(Snapshot(TablePath()), before);
    testing::internal::GetCapturedStderr();
}

INSTANTIATE_TEST_SUITE_P(Faults, OWndScoresFaultTest, ::testing::ValuesIn(faulty_files::kFaultCases),
                         faulty_files::CaseName);

TEST_F(OWndScoresTest, PublishSendsTheBestResultOfTheSkillAndCloses) {
    WriteTable({{"Bob", "1", 1200}, {"Ann", "1", 1500}, {"Eve", "2", 9000}});
    OWndScores* w = OpenScores(0);
    Click(w, w->PublishButton());

    ASSERT_EQ(os.ShellRequests().size(), 1u);
    const std::string link = os.ShellRequests()[0];
    const std::string prefix = "https://marshwade.org/cgi-bin/gameres.pl?e=";
    ASSERT_EQ(link.substr(0, prefix.size()), prefix);
    const std::string digits = link.substr(prefix.size());
    EXPECT_EQ(digits.size(), 60u);
    EXPECT_EQ(digits.find_first_not_of("0123456789"), std::string::npos);
    const std::string text = Decode(digits);
    EXPECT_EQ(text, "1500\t1\tAnn\tqmw\texe");
    EXPECT_EQ(text.size(), 18u);
    EXPECT_TRUE(Finished(w));
}

TEST_F(OWndScoresTest, PublishWithNoResultAtTheSkillDoesNothing) {
    WriteTable({{"Eve", "2", 9000}});
    OWndScores* w = OpenScores(0);
    Click(w, w->PublishButton());
    EXPECT_TRUE(os.ShellRequests().empty());
    EXPECT_FALSE(Finished(w));
}

TEST_F(OWndScoresTest, PublishAfterAClearSendsNothingThatWasCleared) {
    WriteTable({{"Ann", "1", 1500}});
    OWndScores* w = OpenScores(0);
    Click(w, w->ClearButton());
    OWindow* confirm = Newest();
    Frame(confirm);
    Key(confirm, vk::kEnter);
    ASSERT_TRUE(Finished(confirm));
    Click(w, w->PublishButton());
    EXPECT_TRUE(os.ShellRequests().empty());
}

TEST_F(OWndScoresTest, PublishWithoutABrowserSaysSoAndStaysOpen) {
    WriteTable({{"Ann", "1", 1500}});
    OWndScores* w = OpenScores(0);
    os.FailShellRequests(true);
    testing::internal::CaptureStderr();
    Click(w, w->PublishButton());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("xdg-open"), std::string::npos);
    EXPECT_EQ(os.ShellRequests().size(), 1u);
    EXPECT_FALSE(Finished(w));
}

TEST(ScoresPageHostTest, TheSettingsFileNamesTheHostAndOnlyWebAddressesAreTaken) {
    struct Case {
        const char* file;
        const char* host;
    };
    const Case cases[] = {
        {nullptr, "https://marshwade.org"},
        {"[Game]\nMaxIslandNumbers=6\n", "https://marshwade.org"},
        {"[Links]\nScoresPage=https://scores.example.net/\n", "https://scores.example.net"},
        {"[links]\nscorespage = HTTP://10.0.0.7:8080//\n", "HTTP://10.0.0.7:8080"},
        {"[Links]\nScoresPage=--help\n", "https://marshwade.org"},
        {"[Links]\nScoresPage=file:///etc/passwd\n", "https://marshwade.org"},
        {"[Links]\nScoresPage=https://a b\n", "https://marshwade.org"},
        {"[Links]\nScoresPage=https://\n", "https://marshwade.org"},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        const std::string path = (folder.Path() / "Quillmoss.ini").string();
        fs::remove(path);
        if (c.file) std::ofstream(path) << c.file;
        testing::internal::CaptureStderr();
        EXPECT_EQ(publish::ScoresPageHost(path), c.host) << (c.file ? c.file : "(no file)");
        testing::internal::GetCapturedStderr();
    }
}

}  // namespace

namespace {

using namespace scores_test;

class ScoreWindowPicturesTest : public ScoreWindowsTest {};

TEST_F(ScoreWindowPicturesTest, TheTableWithThreeResults) {
    WriteTable({{"Ann", "1", 15250}, {"Bob the Brave", "1", 980}, {"Cid", "1", 40}, {"Eve", "2", 9000}});
    OWndScores* w = OpenScores(0);
    Frame(w);
    EXPECT_TRUE(golden::Matches(*w->GetPicture(), OWndScores::kWidth, OWndScores::kHeight, "scores_table"));
}

TEST_F(ScoreWindowPicturesTest, TheClearConfirmation) {
    OWndScores* w = OpenScores(0);
    Click(w, w->ClearButton());
    OWindow* confirm = Newest();
    Frame(confirm);
    EXPECT_TRUE(golden::Matches(*confirm->GetPicture(), OWndScoresClear::kWidth, OWndScoresClear::kHeight,
                                "scores_clear"));
}

TEST_F(ScoreWindowPicturesTest, TheClearConfirmationWhenNothingCouldBeDeleted) {
    faulty_files::Make(faulty_files::Fault::Folder, TablePath(), "");
    OWndScores* w = OpenScores(0);
    Click(w, w->ClearButton());
    auto* confirm = static_cast<OWndScoresClear*>(Newest());
    Frame(confirm);
    Click(confirm, confirm->YesButton());
    Frame(confirm);
    EXPECT_TRUE(golden::Matches(*confirm->GetPicture(), OWndScoresClear::kWidth, OWndScoresClear::kHeight,
                                "scores_clear_not_deleted"));
}

}  // namespace
