// The soak's checks find what they are there to find: each case breaks one invariant of a real game
// by hand, and the check must name it (and find nothing in the game left alone).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "graphics/OClip.h"
#include "graphics/OffscreenPicture.h"
#include "platform/HeadlessPlatform.h"
#include "tests/game/GameFixture.h"
#include "tests/soak/SoakInvariants.h"
#include "ui/OButton.h"

namespace {

class SoakInvariantsTest : public GameTest {
  public:
    // For the cases, which break the game from outside.
    using GameTest::ClearPond;
    using GameTest::Game;
    using GameTest::PutLeaf;
    using GameTest::session;

    std::vector<std::string> Check() { return checker.Check({&Game()}, &Game()); }
    static std::string Joined(const std::vector<std::string>& lines) {
        std::string all;
        for (const std::string& line : lines) all += line + "\n";
        return all;
    }
    OLeave& LeafOut(size_t which) { return *G().pond.at(static_cast<size_t>(pond::IslandCount()) + which); }

    // A life that waits in the panel, not the player's frog.
    static OFrog& Life() {
        for (auto& frog : G().frogs)
            if (frog.get() != G().player && !frog->IsDead()) return *frog;
        ADD_FAILURE() << "no life waits in the panel";
        return *G().player;
    }
    static OFly& IdleFlyer() {
        for (auto& flyer : G().flyers)
            if (flyer->state == OFly::kIdle) return *flyer;
        ADD_FAILURE() << "every flyer is out";
        return *G().flyers.at(0);
    }

    // The dialog over the game window, if one is open: the window of the newest native window.
    OWindow* LevelDialog() {
        platform::HeadlessNativeWindow* last = session->Os().LastWindow();
        auto* w = last ? static_cast<OWindow*>(last->UserData()) : nullptr;
        return w && w != &Game() && OWindow::Exists(w) ? w : nullptr;
    }

    // The level completed with its dialog opened, checked, answered and torn down.
    void CompleteLevel(const char* name) {
        Game().FinishLevel();
        session->Os().Pump();  // the posted mouse move opens the level dialog
        OWindow* dialog = LevelDialog();
        ASSERT_NE(dialog, nullptr) << name;
        ASSERT_EQ(G().score, 0) << name << ": a first level completed with nothing scored";
        EXPECT_EQ(Joined(checker.Check({&Game(), dialog}, &Game())), "") << name;
        dialog->Close();
        session->Os().Pump();
        if (OWindow::Exists(dialog)) dialog->Teardown();
        session->Os().Pump();
        ASSERT_FALSE(OWindow::Exists(dialog)) << name;
    }

    SoakInvariants checker;
};

TEST_F(SoakInvariantsTest, EveryBrokenInvariantIsNamed) {
    struct Case {
        const char* name;
        const char* expected;  // a part of the line that names it
        std::function<void(SoakInvariantsTest&)> breakIt;
        std::function<void(SoakInvariantsTest&)> mend;  // so the game can be torn down cleanly
    } cases[] = {
        {"nothing broken", "", [](SoakInvariantsTest&) {}, nullptr},
        {"two leaves afloat on one cell", "afloat on the cell of another",
         [](SoakInvariantsTest& t) {
             t.ClearPond();
             t.PutLeaf(2, 2);
             t.PutLeaf(2, 2);
         },
         nullptr},
        {"a leaf whose picture left its cell", "is on cell (1,1) drawn at (5,5)",
         [](SoakInvariantsTest& t) { t.PutLeaf(1, 1).PlaceAt(5, 5); }, nullptr},
        {"a waiting leaf on the grid", "waiting leaf",
         [](SoakInvariantsTest&) {
             ASSERT_LT(G().pondCount, static_cast<int32_t>(G().pond.size())) << "a leaf still waits";
             pond::SetCell(*G().pond[static_cast<size_t>(G().pondCount)], 0, 0);
         },
         nullptr},
        {"a resting frog beside its cell", "resting frog",
         [](SoakInvariantsTest&) { Player().PlaceAt(static_cast<float>(Player().X() + 3), Player().Y()); },
         nullptr},
        {"an idle heart in sight", "idle heart", [](SoakInvariantsTest&) { G().heart->PlaceAt(100, 100); },
         nullptr},
        {"a pending dialog the game does not know", "the pending dialog is 7",
         [](SoakInvariantsTest&) { G().pendingDialog = 7; },
         [](SoakInvariantsTest&) { G().pendingDialog = 0; }},
        {"too many hearts given", "the hearts given is 9", [](SoakInvariantsTest&) { G().heartsGiven = 9; },
         nullptr},
        {"the score falling within a game", "fell to",
         [](SoakInvariantsTest& t) {
             G().score = 50;
             t.Check();
             G().score = 40;
         },
         nullptr},
        {"a confirmed quit forgotten", "the quit was confirmed",
         [](SoakInvariantsTest& t) {
             G().pendingDialog = kQuitOpen;
             G().dialogAnswer = kAnswerYes;
             t.Check();
             G().pendingDialog = kNoDialog;
         },
         nullptr},
        {"a life away from its place in the panel", "waiting frog",
         [](SoakInvariantsTest& t) {
             OFrog& life = t.Life();
             life.PlaceAt(static_cast<float>(life.waitX + 7), static_cast<float>(life.waitY));
         },
         [](SoakInvariantsTest& t) {
             OFrog& life = t.Life();
             life.PlaceAt(static_cast<float>(life.waitX), static_cast<float>(life.waitY));
         }},
        {"a drowned life left in sight", "drowned frog",
         [](SoakInvariantsTest& t) { t.Life().state = OFrog::kDead; },
         [](SoakInvariantsTest& t) { t.Life().state = OFrog::kResting; }},
        {"a living frog out of sight", "is not seen", [](SoakInvariantsTest& t) { t.Life().HideAll(); },
         [](SoakInvariantsTest& t) { t.Life().ShowCurrent(); }},
        {"an idle flyer in sight", "idle flyer", [](SoakInvariantsTest& t) { t.IdleFlyer().ShowCurrent(); },
         [](SoakInvariantsTest& t) { t.IdleFlyer().HideAll(); }},
        {"a score the digits do not show", "the digit at x", [](SoakInvariantsTest&) { G().score += 7; },
         nullptr},
        {"a drawable taken out of the window's list but alive", "no window reaches",
         [](SoakInvariantsTest& t) { t.Game().RemoveGraph(t.LeafOut(0).Current()); },
         [](SoakInvariantsTest& t) { t.Game().AddGraph(t.LeafOut(0).Current()); }},
    };
    for (const Case& c : cases) {
        session.reset();  // one session at a time
        Start(5);
        Step(60);
        checker.BeginRun();
        ASSERT_EQ(Joined(Check()), "") << "before: " << c.name;
        c.breakIt(*this);
        const std::string found = Joined(Check());
        if (*c.expected == '\0') {
            EXPECT_EQ(found, "") << c.name;
        } else {
            EXPECT_NE(found.find(c.expected), std::string::npos) << c.name << " gave:\n" << found;
        }
        if (c.mend) c.mend(*this);
    }
}

TEST_F(SoakInvariantsTest, TheClosedLevelDialogIsFollowedByTheNextLevelOrByANewGame) {
    // The level dialog has closed and the next level waits for the frame step. New pressed meanwhile
    // begins a game at the first level with nothing scored, where the first level may be completed
    // again; the pending dialog let go with nothing started is the next level lost.
    struct Case {
        const char* name;
        const char* expected;  // empty: nothing to find
        std::function<void(SoakInvariantsTest&)> meanwhile;
    } cases[] = {
        {"New pressed", "",
         [](SoakInvariantsTest& t) {
             const OGraph* b = t.Game().NewButton();
             t.session->Click(static_cast<int>(b->X() + b->Width() / 2),
                              static_cast<int>(b->Y() + b->Height() / 2));
             ASSERT_EQ(TheGameSettings().levelNumber, 1);
         }},
        {"the next level lost", "was not followed by the next",
         [](SoakInvariantsTest&) { G().pendingDialog = kNoDialog; }},
    };
    for (const Case& c : cases) {
        session.reset();
        Start(5);
        Step(60);
        ASSERT_EQ(TheGameSettings().levelNumber, 1);
        G().score = 0;
        G().levelPoints = 0;
        checker.BeginRun();
        ASSERT_EQ(Joined(Check()), "") << "before: " << c.name;
        CompleteLevel(c.name);
        ASSERT_EQ(G().pendingDialog, kLevelOpen) << c.name;
        ASSERT_EQ(Joined(Check()), "") << c.name;
        c.meanwhile(*this);
        const std::string found = Joined(Check());
        if (*c.expected != '\0') {
            EXPECT_NE(found.find(c.expected), std::string::npos) << c.name << " gave:\n" << found;
            continue;
        }
        EXPECT_EQ(found, "") << c.name;
        // The new game's first level is completed in its turn.
        CompleteLevel(c.name);
    }
}

TEST_F(SoakInvariantsTest, PixelsNoDrawableReportedAreFoundAgainstAFullRedraw) {
    Start(5);
    Step(10);
    EXPECT_TRUE(SoakInvariants::CheckPicture(Game()).empty());
    // A pixel changed behind the compositor's back, as a change reported too small would leave it.
    auto* picture = const_cast<OffscreenPicture*>(Game().GetPicture());
    picture->Row(300)[3 * 200] ^= 0xFF;
    const std::vector<std::string> found = SoakInvariants::CheckPicture(Game());
    ASSERT_EQ(found.size(), 1u);
    EXPECT_NE(found[0].find("at (200,300)"), std::string::npos) << found[0];
}

}  // namespace
