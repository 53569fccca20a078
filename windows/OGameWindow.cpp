#include "windows/OGameWindow.h"

#include <cstdio>
#include <cstdlib>

#include "engine/Engine.h"
#include "engine/VirtualKey.h"
#include "engine/WindowDefaults.h"
#include "game/GameRandom.h"
#include "game/GameSettings.h"
#include "storage/IniFile.h"
#include "game/PlayBounds.h"
#include "game/PondGrid.h"
#include "game/StateTrace.h"
#include "graphics/LiveSet.h"
#include "graphics/OBitmap.h"
#include "graphics/OClip.h"
#include "platform/Platform.h"
#include "platform/ShellOpen.h"
#include "storage/PublishLink.h"
#include "game/SavedGame.h"
#include "ui/ControlEvents.h"
#include "ui/OButton.h"
#include "ui/OText.h"

namespace {
GameState& G() {
    return TheGameState();
}
GameSettings& S() {
    return TheGameSettings();
}
constexpr int kPauseKey = 'P';
}  // namespace

OGameWindow::OGameWindow() = default;

OGameWindow::~OGameWindow() = default;

void OGameWindow::UseGameWindowDefaults() {
    WindowDefaults& d = WindowDefaults::Current();
    d = WindowDefaults{};
    d.background = 0xD0A743;
    d.style = 3;
    d.width = 750;
    d.height = 550;
}

bool OGameWindow::Start() {
    SetCaption("Marshwade");
    loading_ = new OBitmap();
    if (!loading_->Load("CLP\\skin.bmp")) {
        loading_->Destroy();
        loading_ = nullptr;
        return false;
    }
    loading_->SetPosition(0, 0, -100);
    AddGraph(loading_);
    Compose();
    // Shown now: the main thread, which presents what is composed, has the whole game to load first.
    PresentNow();

    G().Clear();
    pond::TheGeometry() = pond::Geometry::ForWindow(Width(), Height());
    G().skill = 0;
    S().levelNumber = 1;
    S().difficultyLevel = 0;
    play_bounds::DeriveForPlay(S(), G().skill);
    S().startLives = S().MaxFrogNumber;
    G().appliedSkill = GameState::kNoSkill;
    G().paused = false;

    CreateButtons();
    if (!LoadSprites()) {
        DestroyPrototypes();
        return false;
    }
    background_->SetPosition(0, 0, 100);
    AddGraph(background_->Clone());
    SetDragRect(0, 0, Width(), 50);
    game_random::Seed(game_random::StartSeed(engine::GetPlatform().NowMs()));
    trace_ = StateTrace::FromEnvironment();
    StartGame();
    // Set once the pond is built: the leaves' clips come with their frame time in ms as their rate
    // (over a thousand), and adding them raises the window's rate to theirs. Every count of frame
    // steps in the game (a hop, a fade, the red frogs' arrival) is made for 50 steps per second.
    SetFrameRate(50);
    return OWindow::Start();
}

void OGameWindow::CreateButtons() {
    auto make = [this](const char* clip) {
        auto* button = new OButton("", clip, 0, 1, 2, true);
        button->SetSounds("WAV\\over.wav", "WAV\\over.wav");
        AddGraph(button);
        return button;
    };
    helpButton_ = make("CLP\\btHelp.clp");
    downButton_ = make("CLP\\btDown.clp");
    exitButton_ = make("CLP\\btExit.clp");
    newButton_ = make("CLP\\btNew.clp");
    optionsButton_ = make("CLP\\btOptions.clp");
    top10Button_ = make("CLP\\btTop10.clp");
    gamesButton_ = make("CLP\\btGames.clp");

    const float w = static_cast<float>(Width());
    auto right = [w](OButton* b) { return w - b->Width() - 2; };
    exitButton_->SetPosition(right(exitButton_), 0, 0);
    downButton_->SetPosition(exitButton_->X() - downButton_->Width() - 2, 0, 0);
    helpButton_->SetPosition(downButton_->X() - helpButton_->Width() - 2, 0, 0);
    newButton_->SetPosition(right(newButton_), 35, 0);
    optionsButton_->SetPosition(right(optionsButton_), newButton_->Height() + 40, 0);
    top10Button_->SetPosition(right(top10Button_), newButton_->Height() + 45 + optionsButton_->Height(), 0);
    gamesButton_->SetPosition(right(gamesButton_),
                              newButton_->Height() + 50 + optionsButton_->Height() + top10Button_->Height(),
                              0);
    FocusGraph(newButton_);
}

bool OGameWindow::LoadSprites() {
    background_ = new OBitmap();
    if (!background_->Load("CLP\\all.bmp")) return false;
    background_->SetKeep(true);
    digits_ = new OClip();
    if (!digits_->Load("CLP\\digits.clp")) return false;
    digits_->SetKeep(true);
    if (!LoadPrototypes()) return false;

    G().heart = std::make_unique<OHeart>();
    if (!G().heart->LoadSet(1, "CLP\\heart")) return false;
    G().heart->SetDepth(45);
    G().heart->PlaceAt(-100, -100);
    G().heart->SetCellFields(-5, -5);
    G().heart->AddTo(this);
    return true;
}

// The creatures' templates, loaded once: every creature on the pond is a clone of one of them.
bool OGameWindow::LoadPrototypes() {
    if (!LoadRipple() || !LoadFrogs() || !LoadLeaves() || !LoadFlyers()) return false;
    CollectPrototypes();
    return true;
}

bool OGameWindow::LoadRipple() {
    ripple_ = std::make_unique<OWave>();
    if (!ripple_->LoadSet(1, "CLP\\waves")) return false;
    ripple_->SetKeep(true);
    ripple_->SetTransparency(200);
    ripple_->SetDepth(60);
    return true;
}

bool OGameWindow::LoadFrogs() {
    auto loadFrog = [](std::unique_ptr<OFrog>& frog, const char* prefix) {
        frog = std::make_unique<OFrog>();
        if (!frog->LoadSet(4, prefix)) return false;
        frog->SetKeep(true);
        frog->SetDepth(10);
        frog->SetClipRates(0);
        return true;
    };
    return loadFrog(frog_, "CLP\\frog") && loadFrog(redFrog_, "CLP\\1-enemy");
}

// The four leaf kinds, their sinking pace taken from the settings, and the island.
bool OGameWindow::LoadLeaves() {
    const int32_t shortest = S().MinAniVelocLeav, longest = S().MaxAniVelocLeav;
    for (int i = 1; i <= 4; ++i) {
        auto leaf = std::make_unique<OLeave>();
        const bool loaded = leaf->LoadSet(1, "CLP\\" + std::to_string(i) + "-leave");
        leafKinds_.push_back(std::move(leaf));
        if (!loaded) return false;
        OLeave& kind = *leafKinds_.back();
        kind.SetKeep(true);
        kind.SetDepth(50);
        kind.shortestFrameTime = shortest;
        kind.longestFrameTime = longest;
        kind.SetRate(shortest == 0 || longest == 0 ? 4 : (shortest + longest) / 2);
    }
    island_ = std::make_unique<OLeave>();
    if (!island_->LoadSet(1, "CLP\\island")) return false;
    island_->state = OLeave::kIsland;
    island_->SetKeep(true);
    island_->SetDepth(50);
    return true;
}

// Four kinds of fly, each worth its own points, and two kinds of sun.
bool OGameWindow::LoadFlyers() {
    static constexpr int32_t kPoints[] = {5, 10, 15, 5};
    auto loadFlyer = [](std::vector<std::unique_ptr<OFly>>& list, const std::string& prefix, int32_t kind,
                        int32_t points) {
        auto flyer = std::make_unique<OFly>();
        const bool loaded = flyer->LoadSet(4, prefix);
        list.push_back(std::move(flyer));
        if (!loaded) return false;
        OFly& f = *list.back();
        f.SetKeep(true);
        f.SetDepth(1);
        f.SetClipRates(0);
        f.kind = kind;
        f.points = points;
        return true;
    };
    for (int i = 1; i <= 4; ++i) {
        if (!loadFlyer(flies_, "CLP\\" + std::to_string(i) + "-fly", OFly::kFly, kPoints[i - 1]))
            return false;
    }
    for (int i = 1; i <= 2; ++i) {
        if (!loadFlyer(suns_, "CLP\\" + std::to_string(i) + "-sun", OFly::kSun, 5)) return false;
    }
    return true;
}

// The pond's view of the templates the window owns.
void OGameWindow::CollectPrototypes() {
    prototypes_ = {};
    for (auto& leaf : leafKinds_) prototypes_.leafKinds.push_back(leaf.get());
    prototypes_.island = island_.get();
    prototypes_.frog = frog_.get();
    prototypes_.redFrog = redFrog_.get();
    for (auto& fly : flies_) prototypes_.flies.push_back(fly.get());
    for (auto& sun : suns_) prototypes_.suns.push_back(sun.get());
    prototypes_.ripple = ripple_.get();
}

void OGameWindow::StartGame() {
    pond::CreateIslands(prototypes_, this);
    G().restored = LoadGameState();
    // The game is set up for the skill it starts with, so the first frame step sees no change.
    if (G().restored) {
        G().appliedSkill = G().skill;
        S().startLives = StartLivesForSkill(S(), G().skill);
    } else {
        G().appliedSkill = G().skill;
        pond::PlaceIslands();
    }
    pond::ResetLeaves(&prototypes_, this);
    G().pondCount = pond::IslandCount();
    pond::PlaceLives(&prototypes_, this);
    pond::ResetRedFrogs(&prototypes_, this);
    pond::CreateFlyers(prototypes_, this);
    pond::EnterPond();
    pond::CreateRipples(prototypes_, this);
    for (int i = 0; i < 3; ++i) {
        levelDigits_[i] = static_cast<OClip*>(digits_->Clone());
        levelDigits_[i]->SetPosition(150.0f + 30.0f * static_cast<float>(i), 3, -1);
        AddGraph(levelDigits_[i]);
    }
    --S().levelNumber;
    --S().difficultyLevel;
    G().levelAdvanced = false;
    AdvanceLevel();
    for (int i = 0; i < 6; ++i) {
        scoreDigits_[i] = static_cast<OClip*>(digits_->Clone());
        scoreDigits_[i]->SetPosition(400.0f + 30.0f * static_cast<float>(i), 3, -1);
        AddGraph(scoreDigits_[i]);
    }
    ShowScore();
    MakePauseSign();
    MakeSavedGameNotice();
    PostMouseMove();
}

// "Paused" over the middle of the pond, white on a dark shadow so that it reads over water, leaves
// and islets alike; a drawable of its own in front of the pond, never drawn into its pictures.
void OGameWindow::MakePauseSign() {
    graphics::FontRecord font;
    font.height = 64;
    font.weight = 800;
    for (int i = 0; i < 2; ++i) {
        OText* sign = new OText("Paused");
        font.colour = i == 0 ? 0x00203020 : 0x00FFFFFF;
        sign->SetAutoSize(true);
        sign->SetFont(font);
        sign->SetVisible(false);
        AddGraph(sign);
        const float offset = i == 0 ? 3.0f : 0.0f;
        sign->SetPosition((650.0f - sign->Width()) / 2 + offset, (550.0f - sign->Height()) / 2 + offset,
                          i == 0 ? -51.0f : -52.0f);
        pauseSign_[i] = sign;
    }
}

void OGameWindow::ShowPauseSign(bool shown) {
    bool changed = false;
    for (OText* sign : pauseSign_) {
        if (!IsLive(sign) || sign->IsVisible() == shown) continue;
        sign->SetVisible(shown);
        changed = true;
    }
    // A paused game takes no frame step of its own to draw the change.
    if (changed) Compose();
}

// A start that resumes the saved game says so for a few seconds of play, in the pause sign's colours
// near the top of the pond; a new game (New, a change of skill) takes it away at once.
void OGameWindow::MakeSavedGameNotice() {
    if (!G().restored) return;
    graphics::FontRecord font;
    font.height = 30;
    font.weight = 700;
    for (int i = 0; i < 2; ++i) {
        OText* notice = new OText("Continuing your saved game");
        font.colour = i == 0 ? 0x00203020 : 0x00FFFFFF;
        notice->SetAutoSize(true);
        notice->SetFont(font);
        AddGraph(notice);
        const float offset = i == 0 ? 2.0f : 0.0f;
        notice->SetPosition((650.0f - notice->Width()) / 2 + offset, 70.0f + offset, i == 0 ? -51.0f : -52.0f);
        savedNotice_[i] = notice;
    }
    savedNoticeSteps_ = kSavedNoticeSteps;
}

void OGameWindow::StepSavedGameNotice() {
    if (savedNoticeSteps_ <= 0) return;
    if (G().restored) --savedNoticeSteps_;
    if (savedNoticeSteps_ > 0 && G().restored) return;
    savedNoticeSteps_ = 0;
    for (OText* notice : savedNotice_) {
        if (IsLive(notice)) notice->SetVisible(false);
    }
}

bool OGameWindow::Stop() {
    Lock();
    DestroyPrototypes();
    if (G().heart) G().heart->Destroy();
    const bool stopped = OWindow::Stop();
    // The creatures' clips went with the scene; the records that held them go now.
    G().Clear();
    Unlock();
    return stopped;
}

void OGameWindow::DestroyPrototypes() {
    auto release = [](OClipBucks* creature) {
        if (!creature) return;
        creature->SetKeep(false);
        creature->Destroy();
    };
    for (auto& leaf : leafKinds_) release(leaf.get());
    release(island_.get());
    release(frog_.get());
    release(redFrog_.get());
    for (auto& fly : flies_) release(fly.get());
    for (auto& sun : suns_) release(sun.get());
    release(ripple_.get());
    auto releaseKept = [](OGraph* graph) {
        if (!IsLive(graph)) return;
        graph->SetKeep(false);
        graph->Destroy();
    };
    releaseKept(background_);
    releaseKept(digits_);
    background_ = nullptr;
    digits_ = nullptr;
    leafKinds_.clear();
    flies_.clear();
    suns_.clear();
    prototypes_ = {};
}

void OGameWindow::Step(uint32_t t) {
    StepGame(t);
    // Every step is traced, the ones that stand still too: a reader sees the pause.
    if (trace_) trace_->Write();
}

void OGameWindow::StepGame(uint32_t t) {
    // The quit the player confirmed is carried out by the first frame step after the answer, whatever
    // else would hold the game still (a pause, another window in front, a frog fading out) and before
    // anything the pond does could replace it (the end of a level, a lost game).
    if (QuitConfirmed()) {
        CarryOutQuit();
        return;
    }
    ShowPauseSign(G().paused);
    if (G().paused) return;
    // The pond stands still while another window has the input focus.
    if (!HasInputFocus()) return;
    if (IsLive(loading_)) loading_->Destroy();
    loading_ = nullptr;
    StepSavedGameNotice();
    if (StepFade()) return;
    CheckLevel();
    if (G().skill != G().appliedSkill) ApplySkillChange();
    // Counted up to the largest value and held there: a level where no red frog ever comes (none
    // allowed, or all of them kept away) must not wrap round to a count that never reaches the arrival.
    if (G().frameCounter < INT32_MAX) ++G().frameCounter;
    pond::UpdatePond(t);
    bool landed = false;
    const bool onLastIsland = pond::UpdatePlayer(t, landed);
    if (landed && !onLastIsland && G().player) G().player->ShowCurrent();
    pond::UpdateRedFrogs(t);
    pond::UpdateFlyers();
    pond::UpdateRipples();
    pond::UpdateHeart(t);
    ShowScore();
    OWindow::Step(t);
}

// A drowned player's frog fades out while nothing else moves. True while it is fading.
bool OGameWindow::StepFade() {
    GameState& g = G();
    if (g.fadeCount < g.fadeLength) {
        if (g.fadingFrog)
            // In 64 bits: a fade of more than eight million steps (a modder's DeadTimeExtend) would
            // overflow the product.
            g.fadingFrog->SetTransparency(static_cast<uint32_t>(int64_t{g.fadeCount} * 255 / g.fadeLength));
        ++g.fadeCount;
        Compose();
        return true;
    }
    if (g.fadingFrog) {
        g.fadingFrog->SetTransparency(255);
        g.fadingFrog->SetCellFields(-1, -1);
        g.fadingFrog->PlaceAt(-100, -100);
    }
    g.fadeLength = 0;
    g.fadeCount = 0;
    g.fadingFrog = nullptr;
    return false;
}

void OGameWindow::CheckLevel() {
    GameState& g = G();
    if (g.pendingDialog == kNameOpen) NewGame();
    if (pond::LivingFrogs() == 0) {
        if (g.pendingDialog != kGameOver) {
            PlaySoundFile("WAV\\gameover.wav");
            g.pendingDialog = kGameOver;
            g.dialogAnswer = kNoAnswer;
        }
        PostMouseMove();
        return;
    }
    if (g.pendingDialog == kLevelOpen) StartLevel();
    CheckIslands();
}

void OGameWindow::CarryOutQuit() {
    SaveGameState();
    // Acted on once: the close is an event for the main thread, handled after this step.
    G().dialogAnswer = kNoAnswer;
    Close();
}

// The level ends when the player's frog stands on the only island left, or when none is left.
void OGameWindow::CheckIslands() {
    GameState& g = G();
    const int32_t islands = pond::CountIslands();
    if (islands == 1 && g.player && !g.player->IsDead()) {
        const OLeave* last = g.lastCountedIsland;
        if (last && pond::FrogAt(last->CellX(), last->CellY())) {
            FinishLevel();
        } else if (!g.bellRung) {
            PlaySoundFile("WAV\\bell.wav");
            g.bellRung = true;
        }
    } else if (islands == 0) {
        // Two islands may go under in one step, so there may be no last one to take away. Taken
        // away means off the grid as well as out of sight, as at a level start: a picture parked
        // outside the window must not leave its island standing on a cell.
        if (OLeave* last = g.lastCountedIsland) {
            last->SetCellFields(-2, -2);
            last->PlaceAt(static_cast<float>(-pond::CellX(1)), static_cast<float>(-pond::CellY(1)));
        }
        FinishLevel();
    }
}

void OGameWindow::ApplySkillChange() {
    GameState& g = G();
    g.appliedSkill = g.skill;
    S().difficultyLevel = 0;
    play_bounds::DeriveForPlay(S(), g.skill);
    S().startLives = StartLivesForSkill(S(), g.skill);
    g.restored = false;
    pond::PlaceLives(nullptr, nullptr);
    S().levelNumber = 0;
    g.score = 0;
    g.levelPoints = 0;
    g.frameCounter = 0;
    g.redArrived = 0;
    // The level was reset to 0 here: the next level must be the first.
    g.levelAdvanced = false;
    StartLevel();
}

void OGameWindow::AdvanceLevel() {
    if (G().levelAdvanced) return;
    if (S().levelNumber < 999) {
        ++S().levelNumber;
        ++S().difficultyLevel;
    }
    play_bounds::DeriveForPlay(S(), G().skill);
    ShowLevelDigits();
    G().levelAdvanced = true;
}

void OGameWindow::ShowLevelDigits() {
    const int32_t level = S().levelNumber;
    const int32_t values[] = {level / 100 % 10, level / 10 % 10, level % 10};
    for (int i = 0; i < 3; ++i) {
        if (IsLive(levelDigits_[i])) levelDigits_[i]->HoldAt(values[i]);
    }
}

void OGameWindow::ShowScore() {
    int32_t rest = G().score;
    int32_t unit = 100000;
    for (int i = 0; i < 6; ++i, unit /= 10) {
        const int32_t digit = rest / unit;
        rest %= unit;
        // A digit the clip has no frame for (a score past 999 999) is left as it was.
        OClip* clip = scoreDigits_[i];
        if (IsLive(clip) && digit >= 0 && digit < clip->FrameCount() && clip->CurrentIndex() != digit)
            clip->HoldAt(digit);
    }
}

void OGameWindow::StartLevel() {
    GameState& g = G();
    AdvanceLevel();
    OFrog* lastDead = nullptr;
    const int32_t living = pond::LivingFrogs(&lastDead);
    const int32_t frogCount = static_cast<int32_t>(g.frogs.size());
    if (pond::CountIslands() == 1 && g.lastCountedIsland &&
        pond::FrogAt(g.lastCountedIsland->CellX(), g.lastCountedIsland->CellY()) && living < frogCount &&
        lastDead) {
        pond::ResetFrog(*lastDead, 0);
        lastDead->PlaceAt(static_cast<float>(lastDead->waitX), static_cast<float>(lastDead->waitY));
    }
    if (g.player && !g.player->IsDead()) {
        g.player->SetCellFields(-1, -1);
        g.player->SetVelocity(0, 0);
        g.player->PlaceAt(static_cast<float>(g.player->waitX), static_cast<float>(g.player->waitY));
        g.player->SetCurrent(0);
        g.player->state = OFrog::kLeaping;
    }
    g.levelPoints = 0;
    for (int32_t i = 0; i < pond::IslandCount(); ++i) {
        OLeave& island = *g.pond[static_cast<size_t>(i)];
        island.SetCellFields(-2, -2);
        island.PlaceAt(static_cast<float>(-pond::CellX(1)), static_cast<float>(-pond::CellY(1)));
    }
    pond::PlaceIslands();
    for (auto& object : g.pond) object->SetFrame(0);
    g.pondStart = true;
    pond::ResetLeaves(nullptr, nullptr);
    g.pondCount = pond::IslandCount();

    g.bellRung = false;
    g.redArrived = 0;
    g.flyersLaunched = false;
    for (auto& flyer : g.flyers) {
        flyer->state = OFly::kIdle;
        flyer->HideAll();
    }
    for (auto& ripple : g.ripples) pond::ResetRipple(*ripple);
    g.pendingDialog = kNoDialog;

    g.player = pond::FirstLivingFrog();
    if (g.player) g.player->state = OFrog::kLeaping;
    pond::EnterPond();
    pond::ResetRedFrogs(nullptr, nullptr);

    g.heartsGiven = 0;
    if (g.heart) {
        g.heart->SetCellFields(-5, -5);
        g.heart->PlaceAt(-100, -100);
        g.heart->active = 0;
    }
    g.livesAtLevelStart = pond::LivingFrogs();
}

void OGameWindow::NewGame() {
    GameState& g = G();
    pond::PlaceLives(nullptr, nullptr);
    g.score = 0;
    ShowScore();
    S().levelNumber = 0;
    S().difficultyLevel = 0;
    g.redArrived = 0;
    g.fadingFrog = nullptr;
    g.fadeCount = 0;
    g.fadeLength = 0;
    g.frameCounter = 0;
    g.restored = false;
    g.savedLives = S().MaxFrogNumber;
    g.pendingDialog = kNoDialog;
    // The level was reset to 0 here: the next level must be the first.
    g.levelAdvanced = false;
    pond::PlaceLives(nullptr, nullptr);
    StartLevel();
    // Drawn now: a paused game takes no frame step until the pause ends, and the old pond would stay
    // on screen as if New had done nothing.
    Compose();
}

void OGameWindow::FinishLevel() {
    G().pendingDialog = kLevelCompleted;
    PostMouseMove();
    Compose();
}

bool OGameWindow::PrepareLevelDialog() {
    GameState& g = G();
    const int32_t living = pond::LivingFrogs();
    if (pond::CountIslands() != 1 || !g.lastCountedIsland) return false;
    OLeave* last = g.lastCountedIsland;
    for (int32_t i = 0; i < pond::IslandCount(); ++i) {
        OLeave& island = *g.pond[static_cast<size_t>(i)];
        if (&island == last) continue;
        island.SetCellFields(-1, -1);
        island.PlaceAt(-100, -100);
    }
    Compose();
    return pond::FrogAt(last->CellX(), last->CellY()) && living < static_cast<int32_t>(g.frogs.size());
}

void OGameWindow::OnMouseMove(int x, int y) {
    if (G().pendingDialog == kLevelCompleted) {
        OpenLevelDialog();
    } else if (G().pendingDialog == kGameOver) {
        OpenNameDialog();
    }
    OWindow::OnMouseMove(x, y);
}

bool OGameWindow::QuitConfirmed() {
    return G().pendingDialog == kQuitOpen && G().dialogAnswer == kAnswerYes;
}

void OGameWindow::OnPress(int code, int x, int y) {
    GameState& g = G();
    // The quit dialog has let go of the window, which closes at its next frame step: a key or click
    // that arrives meanwhile (a button's new game or dialog, a pause that would hold the step) must not
    // undo what the player confirmed.
    if (QuitConfirmed()) return;
    // A press that a button takes is the button's alone: Help stands left of the pond's right edge,
    // and its click must neither hop the frog nor end a pause.
    const bool leftClick = code == vk::kLeftButton;
    const bool pondClick = leftClick && x < Width() - 100 && !ControlAt(x, y);
    if (g.paused && code != vk::kSpace && code != kPauseKey) {
        if (!leftClick || pondClick) g.paused = false;
    }
    OFrog* frog = g.player;
    if (frog && frog->state == OFrog::kResting) {
        switch (code) {
            case vk::kLeft:
                pond::Hop(*frog, pond::kLeft);
                break;
            case vk::kUp:
                pond::Hop(*frog, pond::kUp);
                break;
            case vk::kRight:
                pond::Hop(*frog, pond::kRight);
                break;
            case vk::kDown:
                pond::Hop(*frog, pond::kDown);
                break;
            default:
                break;
        }
    }
    if (code == vk::kSpace || code == kPauseKey) g.paused = !g.paused;
    if (pondClick) ClickToward(x, y);
    OWindow::OnPress(code, x, y);
}

// A click hops the frog one cell toward it: along the axis with the larger distance, horizontally on a
// tie, and to the left when the click is exactly on the frog's centre.
void OGameWindow::ClickToward(int x, int y) {
    OFrog* frog = G().player;
    // A dead frog fading out, or one still in the panel, has no cell to hop from.
    if (!frog || frog->IsDead() || !pond::InGrid(frog->CellX(), frog->CellY())) return;
    const int cx = frog->X() + frog->Width() / 2;
    const int cy = frog->Y() + frog->Height() / 2;
    const int dx = x - cx, dy = y - cy;
    if (std::abs(dx) >= std::abs(dy)) {
        pond::Hop(*frog, x > cx ? pond::kRight : pond::kLeft);
    } else {
        pond::Hop(*frog, y > cy ? pond::kDown : pond::kUp);
    }
}

void OGameWindow::OnCommand(int source, int event) {
    if (event != ControlEvent::Click || QuitConfirmed()) return;
    auto is = [source](const OButton* b) { return b && source == b->CommandId(); };
    if (is(downButton_)) {
        ShowRestored(false);
    } else if (is(exitButton_)) {
        OpenQuitDialog();
    } else if (is(newButton_)) {
        NewGame();
    } else if (is(optionsButton_)) {
        OpenOptions();
    } else if (is(top10Button_)) {
        OpenScores();
    } else if (is(helpButton_)) {
        OpenHelp();
    } else if (is(gamesButton_)) {
        OpenGamesPage();
    }
}

void OGameWindow::OpenGamesPage() {
    IniFile file;
    file.Load(SettingsFilePath());
    const std::string page = file.GetString("Links", "GamesPage", publish::kDefaultGamesPage);
    if (!platform::IsWebLink(page)) {
        std::fprintf(stderr, "marshwade: [Links] GamesPage \"%s\" is not an http or https address; not opened\n",
                     page.c_str());
        return;
    }
    if (!engine::GetPlatform().OpenWithShell(page + publish::kGamesQuery))
        std::fprintf(stderr, "marshwade: could not start a browser for %s\n", page.c_str());
}
