// The game window: start-up, keys and clicks, pause and focus, the digits, the flow from level to
// level and game to game.
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "engine/VirtualKey.h"
#include "graphics/ArtDetail.h"
#include "graphics/LiveSet.h"
#include "graphics/OClip.h"
#include "tests/game/GameFixture.h"
#include "ui/ControlEvents.h"
#include "ui/OButton.h"

namespace {

using Window = GameTest;

TEST_F(Window, StartsAtLevelOneWithEveryCreatureAndTheButtonsInTheirPlaces) {
    Start(3);
    EXPECT_EQ(Game().Caption(), "Marshwade");
    EXPECT_EQ(S().levelNumber, 1);
    EXPECT_EQ(S().difficultyLevel, 1);
    EXPECT_EQ(G().pond.size(), 35u);
    EXPECT_EQ(pond::IslandCount(), 6);
    EXPECT_EQ(G().frogs.size(), 8u);
    EXPECT_EQ(G().redFrogs.size(), 3u);
    EXPECT_EQ(G().flyers.size(), 9u);
    EXPECT_EQ(G().ripples.size(), 48u);
    EXPECT_EQ(Game().Focus(), Game().NewButton());
    const OButton* exit = Game().ExitButton();
    EXPECT_EQ(exit->X(), 750 - exit->Width() - 2);
    EXPECT_EQ(Game().HelpButton()->X(), Game().DownButton()->X() - Game().HelpButton()->Width() - 2);
    EXPECT_EQ(Game().GamesButton()->Y(), 30 + 50 + 30 + 30);
    EXPECT_EQ(Game().DragRect().right, 750);
    EXPECT_EQ(Game().DragRect().bottom, 50);
    ASSERT_NE(Game().LoadingPicture(), nullptr);
    Step();
    // The first frame step takes the loading picture away and sees no change of skill: the game
    // stays at level 1 (it used to restart at level 0).
    EXPECT_EQ(Game().LoadingPicture(), nullptr);
    Step(5);
    EXPECT_EQ(S().levelNumber, 1);
}

// The main thread presents what is composed, and Start keeps it busy loading the whole game: the
// loading picture must reach the screen before Start returns, not after the game is loaded.
TEST_F(Window, StartShowsTheLoadingPictureBeforeItLoadsTheGame) {
    session = std::make_unique<ReplaySession>(3);
    OGameWindow::UseGameWindowDefaults();
    auto* game = new OGameWindow();  // torn down with the session, as every window of its platform
    auto* native = static_cast<platform::HeadlessNativeWindow*>(game->Native());
    ASSERT_NE(native, nullptr);
    ASSERT_TRUE(game->Start());
    const auto presents = native->Presents();  // no event of the main thread handled yet
    ASSERT_EQ(presents.size(), 1u);
    ASSERT_EQ(presents[0].size(), 1u);
    const platform::Rect all = presents[0][0];
    EXPECT_EQ(all.left, 0);
    EXPECT_EQ(all.top, 0);
    EXPECT_GE(all.right, 750);
    EXPECT_GE(all.bottom, 550);
}

TEST_F(Window, PauseKeysAndWhatEndsAPause) {
    Start();
    WaitForArrival();
    struct Case {
        int code, x;
        bool pausedAfter;
    } cases[] = {
        {vk::kSpace, 0, false},
        {'P', 0, false},  // either key ends the pause it also starts
        {vk::kLeftButton, 649, false},
        {vk::kLeftButton, 650, true},  // a click on the panel does not
        {vk::kRightButton, 700, false},
        {vk::kMiddleButton, 700, false},
        {'Q', 0, false},
    };
    for (const Case& c : cases) {
        G().paused = true;
        Game().OnPress(c.code, c.x, 300);
        EXPECT_EQ(G().paused, c.pausedAfter) << "code " << c.code << " at x " << c.x;
    }
    G().paused = false;
    Game().OnPress('P', 0, 0);
    EXPECT_TRUE(G().paused);
    const int x = Player().X();
    const uint32_t frames = static_cast<uint32_t>(G().frameCounter);
    Step(10);
    EXPECT_EQ(static_cast<uint32_t>(G().frameCounter), frames) << "the pond moved while paused";
    EXPECT_EQ(Player().X(), x);
}

TEST_F(Window, ClicksHopAlongTheLongerAxisWithTheTiesAsTheGameHasThem) {
    Start();
    WaitForArrival();
    ClearPond();
    const int cx = Player().X() + Player().Width() / 2, cy = Player().Y() + Player().Height() / 2;
    struct Case {
        int dx, dy, direction;
    } cases[] = {
        {10, 0, pond::kRight}, {0, 0, pond::kLeft}, {-5, 0, pond::kLeft}, {7, 7, pond::kRight},
        {-7, 7, pond::kLeft},  {3, 4, pond::kDown}, {3, -4, pond::kUp},
    };
    for (const Case& c : cases) {
        PutOn(Player(), 4, 3);
        Game().OnPress(vk::kLeftButton, cx + c.dx, cy + c.dy);
        EXPECT_EQ(Player().CurrentIndex(), c.direction) << c.dx << "," << c.dy;
        EXPECT_EQ(Player().state, OFrog::kMoving);
    }
    // A click hops a moving frog too; an arrow key only a resting one.
    PutOn(Player(), 4, 3);
    Player().SetCurrent(pond::kDown);
    Player().state = OFrog::kMoving;
    Game().OnPress(vk::kUp, 0, 0);
    EXPECT_EQ(Player().CurrentIndex(), pond::kDown) << "an arrow turned a moving frog";
    Game().OnPress(vk::kLeftButton, cx, cy - 50);
    EXPECT_EQ(Player().CurrentIndex(), pond::kUp);
    // A dead frog fading out, or one waiting in the panel, does not hop (it would count as alive).
    for (int state : {OFrog::kDead, OFrog::kLeaping}) {
        PutOn(Player(), 4, 3);
        Player().state = state;
        if (state == OFrog::kLeaping) Player().SetCellFields(-1, -1);
        Game().OnPress(vk::kLeftButton, cx + 60, cy);
        EXPECT_EQ(Player().state, state);
    }
}

TEST_F(Window, ThePondStandsStillWithoutTheInputFocusAndPlaysNoSound) {
    Start();
    session->Focus(false);
    const size_t sounds = session->Sound().Requests().size();
    Step(200);
    EXPECT_EQ(G().frameCounter, 0);
    EXPECT_NE(Game().LoadingPicture(), nullptr);
    EXPECT_EQ(session->Sound().Requests().size(), sounds);
    session->Focus(true);
    Step();
    EXPECT_EQ(G().frameCounter, 1);
}

TEST_F(Window, DigitsShowTheScoreWithLeadingZerosAndTheLevelInThree) {
    Start();
    // The digits read left to right from the clips of the digit bar in [from, to].
    auto shown = [&](float from, float to) {
        std::map<float, char> digits;
        for (OGraph* g : Game().Graphics()) {
            auto* clip = dynamic_cast<OClip*>(g);
            if (clip && clip->Y() == 3 && clip->X() >= from && clip->X() <= to)
                digits[clip->X()] = static_cast<char>('0' + clip->CurrentIndex());
        }
        std::string text;
        for (const auto& [x, digit] : digits) text += digit;
        return text;
    };
    G().score = 123;
    S().levelNumber = 7;
    Game().ShowScore();
    G().levelAdvanced = false;
    S().levelNumber = 6;
    Game().AdvanceLevel();
    EXPECT_EQ(shown(400, 550), "000123");
    EXPECT_EQ(shown(150, 210), "007");
    G().score = 1234567;  // past the digits: the first digit keeps what it showed
    Game().ShowScore();
    EXPECT_EQ(shown(400, 550), "034567");
}

TEST_F(Window, ASkillChangeAtLevelFiveStartsLevelOneAtTheSkillsDifficultyWithItsLives) {
    Start();
    WaitForArrival();
    G().score = 500;
    G().levelAdvanced = false;
    S().levelNumber = 4;
    S().difficultyLevel = 4;
    Game().AdvanceLevel();
    ASSERT_EQ(S().levelNumber, 5);
    Step(5);
    G().skill = 1;
    Step();
    EXPECT_EQ(S().levelNumber, 1);
    EXPECT_EQ(S().difficultyLevel, 10);
    EXPECT_EQ(G().score, 0);
    EXPECT_EQ(pond::LivingFrogs(), 6);
    // Expert hides the first two frogs of the panel; the player's frog is the third.
    EXPECT_TRUE(G().frogs[0]->IsDead());
    EXPECT_TRUE(G().frogs[1]->IsDead());
    EXPECT_EQ(G().player, G().frogs[2].get());
    EXPECT_FALSE(G().frogs[0]->IsShown());
}

TEST_F(Window, StartLivesOutsideThePanelStillLeaveOnePlayersFrog) {
    // Master with four frogs would start with none.
    Start(1, "[Frogs]\nMaxFrogNumber=4\n");
    G().skill = 2;
    Step();
    EXPECT_EQ(pond::LivingFrogs(), 1);
    EXPECT_EQ(G().player, G().frogs[3].get());
}

TEST_F(Window, LosingTheLastFrogAsksForANameOnceAndAConfirmedQuitComesFirst) {
    Start();
    WaitForArrival();
    for (auto& frog : G().frogs) frog->state = OFrog::kDead;
    session->Sound().ClearRequests();
    Step(20);
    // One name dialog, over the game, which stands still while it is open.
    EXPECT_EQ(G().pendingDialog, kNameOpen);
    EXPECT_TRUE(Game().IsModalPaused());
    EXPECT_EQ(session->Os().WindowCount(), 2u);
    int gameOvers = 0;
    for (const auto& r : session->Sound().Requests()) gameOvers += r.fileName == "WAV\\gameover.wav";
    EXPECT_EQ(gameOvers, 1);
    auto* dialog = static_cast<OWindow*>(session->Os().LastWindow()->UserData());
    dialog->RequestStop();
    dialog->Teardown();

    // A quit confirmed when the last frog is lost is carried out, not overwritten by the game over.
    session.reset();  // one session at a time
    Start();
    WaitForArrival();
    for (auto& frog : G().frogs) frog->state = OFrog::kDead;
    G().pendingDialog = kQuitOpen;
    G().dialogAnswer = kAnswerYes;
    Step();
    EXPECT_EQ(G().pendingDialog, kQuitOpen);
    EXPECT_EQ(G().dialogAnswer, kNoAnswer) << "the answer must be acted on once";
    EXPECT_TRUE(Game().IsStopping()) << "the posted close did not close the window";
}

TEST_F(Window, AConfirmedQuitIsCarriedOutWhateverComesBeforeTheNextFrameStep) {
    // Between the quit dialog's yes and the frame step that acts on it, the game window takes input
    // again (the dialog has let go of it) and the pond may have reached the end of the level.
    enum class Meanwhile { LastIsland, Button, Key, Background, Fading, Paused };
    struct Case {
        const char* name;
        Meanwhile what;
        int which;  // the button's index in the control list, or the key
    } cases[] = {
        {"the frog stands on the last island", Meanwhile::LastIsland, 0},
        {"a click on Help", Meanwhile::Button, 0},
        {"a click on New", Meanwhile::Button, 3},
        {"a click on Options", Meanwhile::Button, 4},
        {"a click on Top10", Meanwhile::Button, 5},
        {"Space", Meanwhile::Key, vk::kSpace},
        {"Enter on the focused New button", Meanwhile::Key, vk::kEnter},
        {"another window in front", Meanwhile::Background, 0},
        {"a drowned frog fading out", Meanwhile::Fading, 0},
        {"a pause", Meanwhile::Paused, 0},
    };
    for (const Case& c : cases) {
        session.reset();  // one session at a time
        Start();
        WaitForArrival();
        G().score = 40;
        G().pendingDialog = kQuitOpen;
        G().dialogAnswer = kAnswerYes;
        switch (c.what) {
            case Meanwhile::LastIsland: {
                ClearPond();
                for (int i = 1; i + 1 < pond::IslandCount(); ++i)
                    pond::SinkNow(*G().pond[static_cast<size_t>(i)]);
                const OLeave& last = *G().pond[0];
                PutOn(Player(), last.CellX(), last.CellY());
                ASSERT_EQ(pond::CountIslands(), 1);
                break;
            }
            case Meanwhile::Button: {
                const ORect b = Game().Controls().at(static_cast<size_t>(c.which))->Bounds();
                session->Click((b.left + b.right) / 2, (b.top + b.bottom) / 2);
                break;
            }
            case Meanwhile::Key:
                session->Key(c.which);
                break;
            case Meanwhile::Background:
                session->Focus(false);
                break;
            case Meanwhile::Fading:
                pond::Drown(Player());
                ASSERT_LT(G().fadeCount, G().fadeLength);
                break;
            case Meanwhile::Paused:
                G().paused = true;
                break;
        }
        Step();
        EXPECT_TRUE(Game().IsStopping()) << c.name;
        EXPECT_EQ(G().score, 40) << c.name;
        EXPECT_EQ(session->Os().WindowCount(), 0u) << c.name << ": no dialog opened";
    }
}

TEST_F(Window, WhenTheLastIslandHasGoneUnderItIsTakenOffTheGridNotOnlyOutOfSight) {
    Start();
    OLeave& last = OnlyTheLastIslandLeft();
    pond::SinkNow(last);
    Step();
    ASSERT_EQ(G().pendingDialog, kLevelOpen) << "no island left ends the level";
    // Drawn outside the window and off the grid alike, as every island taken away is.
    EXPECT_EQ(last.CellX(), -2);
    EXPECT_EQ(last.CellY(), -2);
    EXPECT_EQ(last.X(), -pond::CellX(1));
    EXPECT_EQ(last.Y(), -pond::CellY(1));
}

TEST_F(Window, TheNameDialogClosingStartsANewGameAndTheLevelDialogTheNextLevel) {
    Start();
    WaitForArrival();
    G().score = 70;
    G().pendingDialog = kLevelOpen;
    Step();
    EXPECT_EQ(S().levelNumber, 2);
    EXPECT_EQ(G().pendingDialog, kNoDialog);
    EXPECT_EQ(G().levelPoints, 0);
    EXPECT_EQ(G().score, 70);
    G().pendingDialog = kNameOpen;
    Step();
    EXPECT_EQ(S().levelNumber, 1);
    EXPECT_EQ(G().score, 0);
    EXPECT_EQ(pond::LivingFrogs(), 8);
}

// The Games button's page comes from the settings file, which anyone can edit: only a web address
// reaches the desktop's opener.
TEST_F(Window, GamesOpensOnlyAnHttpOrHttpsPage) {
    struct Case {
        const char* page;
        const char* opened;  // null: nothing handed to the desktop
    } cases[] = {
        {"https://example.org/games.html", "https://example.org/games.html?r=qmw&a=avp"},
        {"http://127.0.0.1:8080/games.html", "http://127.0.0.1:8080/games.html?r=qmw&a=avp"},
        {"--help", nullptr},
        {"file:///etc/passwd", nullptr},
        {"/usr/bin/xterm", nullptr},
    };
    for (const Case& c : cases) {
        Start(1, std::string("[Links]\nGamesPage=") + c.page + "\n");
        Game().OnCommand(Game().GamesButton()->CommandId(), ControlEvent::Click);
        const std::vector<std::string> opened = session->Os().ShellRequests();
        if (c.opened) {
            EXPECT_EQ(opened, std::vector<std::string>{c.opened}) << c.page;
        } else {
            EXPECT_TRUE(opened.empty()) << c.page;
        }
        session.reset();
    }
}

// The sign is the window's own drawable over the pond: white letters appear in the middle of the pond
// while the game is paused, whatever paused it, and are gone again once it goes on.
TEST_F(Window, APauseShowsPausedOverThePondUntilTheGameGoesOn) {
    Start();
    WaitForArrival();
    auto whitePixels = [this] {
        int white = 0;
        for (int y = 235; y < 315; ++y) {
            const uint8_t* row = Game().GetPicture()->Row(y);
            for (int x = 175; x < 475; ++x)
                white += row[3 * x] == 255 && row[3 * x + 1] == 255 && row[3 * x + 2] == 255;
        }
        return white;
    };
    const int before = whitePixels();
    Game().OnPress(vk::kSpace, 0, 0);
    Step(2);
    EXPECT_GT(whitePixels(), before + 500) << "no sign while paused";
    Game().OnPress(vk::kSpace, 0, 0);
    Step(2);
    EXPECT_LT(whitePixels(), before + 50) << "the sign stayed after the pause";
}

// A gamepad plays the game window as the keyboard does, through SDL's own device and button events
// and the real program's mapping: each press of the d-pad hops once, a push of the stick hops once
// however long it is held, Start pauses and goes on, a shoulder button moves the focus onto a button
// and A presses it, B closes the dialog it opened. A second pad plugged in plays too.
TEST_F(Window, AGamepadHopsPausesAndOpensAndClosesADialog) {
    Start();
    WaitForArrival();
    ClearPond();
    const int row = Player().CellY();
    PutLeaf(3, row);
    PutLeaf(2, row);  // the entry island sinks meanwhile: the frog goes on to the left
    auto& os = session->Os();
    const int first = os.PlugPad();
    ASSERT_GE(first, 0) << "SDL gave no virtual pad";
    Step(2);  // the pad arrives as a device event
    auto dialog = [&] {
        const std::string line = session->StateLine();
        const size_t at = line.find("\"dialog\":\"") + 10;
        return line.substr(at, line.find('"', at) - at);
    };
    auto restAt = [&](int column) {
        for (int i = 0; i < 150 && !(Player().state == OFrog::kResting && Player().CellX() == column); ++i)
            Step();
        return Player().CellX() == column && Player().state == OFrog::kResting;
    };
    const struct {
        int pad;
        std::vector<const char*> lines;  // given one frame step apart
        int column;                      // where the frog rests after them
    } hops[] = {
        {first, {"dpleft 1", "dpleft 0"}, 3},
        {first, {"leftx -32768", "leftx -32768", "leftx -30000", "leftx 0"}, 2},  // held: one hop
        {first, {"leftx -15000", "leftx -9000", "leftx 0"}, 2},  // a push short of the threshold
    };
    for (const auto& hop : hops) {
        SCOPED_TRACE(hop.lines.front());
        for (const char* line : hop.lines) {
            os.PressPad(hop.pad, line);
            Step();
        }
        EXPECT_TRUE(restAt(hop.column)) << "the frog is at column " << Player().CellX();
        Step(20);
        EXPECT_EQ(Player().CellX(), hop.column) << "one push hopped more than once";
    }

    os.PressPad(first, "start 1");
    Step();
    os.PressPad(first, "start 0");
    Step();
    EXPECT_TRUE(G().paused) << "Start did not pause";
    os.PressPad(first, "start 1");
    Step();
    os.PressPad(first, "start 0");
    Step();
    EXPECT_FALSE(G().paused) << "Start did not go on";

    const int second = os.PlugPad();
    ASSERT_GE(second, 0);
    Step(2);
    for (const char* line : {"rightshoulder 1", "rightshoulder 0", "a 1", "a 0"}) {
        os.PressPad(second, line);
        Step();
    }
    session->StepDialogs();
    const std::string opened = dialog();
    EXPECT_NE(opened, "") << "the shoulder and A opened no dialog";
    for (const char* line : {"b 1", "b 0"}) {
        os.PressPad(first, line);
        Step();
        session->StepDialogs();
    }
    EXPECT_EQ(dialog(), "") << "B did not close " << opened;
    os.UnplugPad(second);
    os.UnplugPad(first);
    Step(2);
}

// Composed from the pictures drawn at twice the size, the game plays exactly as it does at its own
// size (the rules never see the detail), and its picture is that art: about half of its 2 x 2
// squares hold more than one colour, where an enlarged picture has none.
TEST_F(Window, AtTwiceTheDetailTheGamePlaysTheSameAndShowsTheFineArt) {
    const auto play = [this](int32_t detail) {
        session.reset();  // one game at a time: the platform goes with it
        graphics::SetArtDetail(detail);
        Start(3);
        graphics::SetArtDetail(1);
        std::vector<std::string> lines;
        for (int i = 0; i < 300; ++i) {
            if (i % 40 == 39) Game().OnPress(i % 80 == 39 ? vk::kLeft : vk::kUp, 0, 0);
            Step();
            lines.push_back(session->StateLine());
        }
        return lines;
    };
    const std::vector<std::string> logical = play(1);
    const std::vector<std::string> fine = play(2);
    EXPECT_EQ(fine, logical);
    const OffscreenPicture& picture = *Game().GetPicture();
    ASSERT_EQ(picture.Width(), 1500);
    int mixed = 0, squares = 0;
    for (int y = 0; y < 1100; y += 6)
        for (int x = 0; x < 1500; x += 6, ++squares) {
            const uint8_t* a = picture.Row(y) + 3 * x;
            const uint8_t* b = picture.Row(y + 1) + 3 * x;
            mixed += std::memcmp(a, a + 3, 3) != 0 || std::memcmp(a, b, 3) != 0 || std::memcmp(a, b + 3, 3) != 0;
        }
    EXPECT_GT(mixed, squares / 4);
}

}  // namespace
