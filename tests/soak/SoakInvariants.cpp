#include "tests/soak/SoakInvariants.h"

#include <algorithm>
#include <sstream>
#include <typeinfo>
#include <unordered_set>

#include "engine/OWindow.h"
#include "engine/WindowRegistry.h"
#include "game/GameSettings.h"
#include "game/GameState.h"
#include "windows/OGameWindow.h"
#include "game/PlayBounds.h"
#include "game/PondGrid.h"
#include "game/PondRules.h"
#include "graphics/LiveSet.h"
#include "graphics/OClip.h"
#include "graphics/OGraph.h"
#include "graphics/OGraphNotify.h"
#include "graphics/OffscreenPicture.h"
#include "platform/NativeWindow.h"
#include "windows/OWndInsert.h"
#include "windows/ONewLevel.h"

namespace {

GameState& G() {
    return TheGameState();
}

template <typename... Parts>
std::string Say(const Parts&... parts) {
    std::ostringstream out;
    (out << ... << parts);
    return out.str();
}

std::string Where(const OClipBucks& c) {
    return Say("cell (", c.CellX(), ",", c.CellY(), ") drawn at (", c.X(), ",", c.Y(), ")");
}

bool AtItsCell(const OClipBucks& c) {
    return pond::InGrid(c.CellX(), c.CellY()) && c.X() == pond::CellX(c.CellX()) &&
           c.Y() == pond::CellY(c.CellY());
}

bool OutOfSight(const OClipBucks& c) {
    return c.X() < 0 && c.Y() < 0;
}

bool ParkedOn(const OClipBucks& c, int32_t cell) {
    return c.CellX() == cell && c.CellY() == cell && OutOfSight(c);
}

// The walk over everything the windows hold: their lists, every clip's frames and every copy's
// template, and the creature prototypes the game window keeps outside its lists.
class SceneWalk {
  public:
    explicit SceneWalk(std::vector<std::string>& out) : out_(out), live_(live_set::Snapshot()) {}

    bool Live(const OGraph* g) const { return std::binary_search(live_.begin(), live_.end(), g); }

    void FromWindow(const OWindow& w, size_t windowIndex) {
        auto list = [&](const std::vector<OGraph*>& items, int firstIndex, const char* name) {
            for (size_t i = 0; i < items.size(); ++i) {
                const OGraph* g = items[i];
                if (!Live(g)) {
                    out_.push_back(Say("window ", windowIndex,
                                       " lists a drawable that no longer exists in its ", name, " list at ",
                                       i));
                    continue;
                }
                if (g->Window() != &w)
                    out_.push_back(Say("window ", windowIndex, "'s ", name, " entry ", i, " (",
                                       typeid(*g).name(), ") names another window"));
                if (g->OrderIndex() != firstIndex + static_cast<int>(i))
                    out_.push_back(Say("window ", windowIndex, "'s ", name, " entry ", i, " has order index ",
                                       g->OrderIndex()));
                if (!listed_.insert(g).second)
                    out_.push_back(
                        Say("a ", typeid(*g).name(), " is listed twice (window ", windowIndex, ")"));
                Visit(g);
            }
        };
        list(w.Graphics(), 1, "graphics");
        list(w.Controls(), 10001, "control");
        for (const OGraph* g : {w.Focus(), w.Capture()}) {
            if (g && (!Live(g) || g->Window() != &w))
                out_.push_back(
                    Say("window ", windowIndex, "'s focus or capture names a drawable it does not hold"));
        }
        // What the next composition will ask to draw.
        for (const OGraphNotify& entry : const_cast<OWindow&>(w).Scene().SortedScene()) {
            if (!Live(entry.drawable) || (entry.owner && !Live(entry.owner)))
                out_.push_back(
                    Say("window ", windowIndex, "'s scene holds a drawable that no longer exists"));
        }
    }

    void FromPrototypes(const pond::Prototypes& p) {
        auto creature = [&](const OClipBucks* c) {
            if (!c) return;
            for (const OClip* clip : c->Clips()) Visit(clip);
        };
        for (const OLeave* leaf : p.leafKinds) creature(leaf);
        creature(p.island);
        creature(p.frog);
        creature(p.redFrog);
        for (const OFly* fly : p.flies) creature(fly);
        for (const OFly* sun : p.suns) creature(sun);
        creature(p.ripple);
    }

    // Drawables that exist but that nothing reaches: leaked, or kept alive by a pointer no one follows.
    void ReportUnreached() {
        size_t unreached = 0;
        std::string example;
        for (const OGraph* g : live_) {
            if (seen_.count(g)) continue;
            if (unreached++ == 0)
                example = Say(typeid(*g).name(), " at (", g->X(), ",", g->Y(), ") keep ", g->Keep(),
                              " copies ", g->CopyCount(), " window ", g->Window() ? "set" : "none");
        }
        if (unreached)
            out_.push_back(Say(unreached, " drawables exist that no window reaches (of ", live_.size(),
                               "), e.g. ", example));
    }

  private:
    void Visit(const OGraph* root) {
        std::vector<const OGraph*> todo{root};
        while (!todo.empty()) {
            const OGraph* g = todo.back();
            todo.pop_back();
            if (!g || !seen_.insert(g).second) continue;
            if (!Live(g)) {
                out_.push_back(Say("a drawable reached from a window no longer exists"));
                continue;
            }
            if (const OGraph* t = g->Template()) {
                if (!Live(t))
                    out_.push_back(
                        Say("a ", typeid(*g).name(), " outlives the template it shares pixels with"));
                else
                    todo.push_back(t);
            }
            const auto* clip = dynamic_cast<const OClip*>(g);
            if (!clip) continue;
            for (const OGraph* child : clip->Children()) {
                if (!Live(child)) {
                    out_.push_back(Say("a ", typeid(*clip).name(), " holds a frame that no longer exists"));
                    continue;
                }
                if (child->Parent() != clip)
                    out_.push_back(Say("a frame of a ", typeid(*clip).name(), " names another parent"));
                todo.push_back(child);
            }
        }
    }

    std::vector<std::string>& out_;
    std::vector<const OGraph*> live_;
    std::unordered_set<const OGraph*> seen_;
    std::unordered_set<const OGraph*> listed_;
};

void CheckPondList(std::vector<std::string>& out) {
    const GameState& g = G();
    const int32_t islands = pond::IslandCount();
    std::vector<const OLeave*> afloat(
        static_cast<size_t>(pond::TheGeometry().columns * pond::TheGeometry().rows));
    for (size_t i = 0; i < g.pond.size(); ++i) {
        const OLeave& p = *g.pond[i];
        const bool island = static_cast<int32_t>(i) < islands;
        const char* what = island ? "island" : "leaf";
        if (p.IsIsland() != island)
            out.push_back(Say("pond entry ", i, " is not a ", what, " (state ", p.state, ")"));
        if (pond::InGrid(p.CellX(), p.CellY())) {
            if (!AtItsCell(p)) out.push_back(Say(what, " ", i, " is on ", Where(p)));
            if (!p.IsGone()) {
                const size_t cell = static_cast<size_t>(p.CellY() * pond::TheGeometry().columns + p.CellX());
                if (afloat[cell])
                    out.push_back(
                        Say(what, " ", i, " is afloat on the cell of another pond object: ", Where(p)));
                afloat[cell] = &p;
            }
        } else if (!ParkedOn(p, -1) && !ParkedOn(p, -2)) {
            out.push_back(Say(what, " ", i, " is neither on the grid nor parked: ", Where(p)));
        }
        if (island) continue;
        const bool out_ = static_cast<int32_t>(i) < g.pondCount;
        if (out_ && p.state != OLeave::kLeaf)
            out.push_back(Say("leaf ", i, " is out but in state ", p.state));
        if (!out_ && p.state != OLeave::kWaiting)
            out.push_back(Say("leaf ", i, " is not out but in state ", p.state));
        if (!out_ && !pond::InGrid(p.CellX(), p.CellY())) continue;
        if (!out_) out.push_back(Say("waiting leaf ", i, " stands on the grid: ", Where(p)));
    }
}

void CheckCreatures(std::vector<std::string>& out) {
    const GameState& g = G();
    if (const OHeart* heart = g.heart.get()) {
        if (heart->active && !AtItsCell(*heart)) out.push_back(Say("the active heart is on ", Where(*heart)));
        if (!heart->active && !ParkedOn(*heart, -5))
            out.push_back(Say("the idle heart is on ", Where(*heart)));
    }
    for (size_t i = 0; i < g.ripples.size(); ++i) {
        const OWave& r = *g.ripples[i];
        if (r.IsShown() && !AtItsCell(r) && !OutOfSight(r))
            out.push_back(Say("shown ripple ", i, " is on ", Where(r)));
        if (!r.IsShown() && !ParkedOn(r, -5)) out.push_back(Say("hidden ripple ", i, " is on ", Where(r)));
    }
    auto frogs = [&](const std::vector<std::unique_ptr<OFrog>>& list, const char* what) {
        for (size_t i = 0; i < list.size(); ++i) {
            const OFrog& f = *list[i];
            if (f.state < OFrog::kMoving || f.state > OFrog::kPushed)
                out.push_back(Say(what, " ", i, " is in state ", f.state));
            if (f.state == OFrog::kResting && !AtItsCell(f))
                out.push_back(Say("resting ", what, " ", i, " is on ", Where(f)));
        }
    };
    frogs(g.frogs, "frog");
    frogs(g.redFrogs, "red frog");
    for (size_t i = 0; i < g.frogs.size(); ++i) {
        const OFrog& f = *g.frogs[i];
        // The lives wait at their places in the panel; a drowned frog is seen only while it fades.
        if (!f.IsDead() && &f != g.player && (f.X() != f.waitX || f.Y() != f.waitY))
            out.push_back(Say("waiting frog ", i, " is at (", f.X(), ",", f.Y(), "), its place is (", f.waitX,
                              ",", f.waitY, ")"));
        if (f.IsDead() && &f != g.fadingFrog && f.IsShown())
            out.push_back(Say("drowned frog ", i, " is seen"));
        if (!f.IsDead() && !f.IsShown()) out.push_back(Say("living frog ", i, " is not seen"));
    }
    for (size_t i = 0; i < g.redFrogs.size(); ++i) {
        if (g.redFrogs[i]->IsDead() && g.redFrogs[i]->IsShown())
            out.push_back(Say("drowned red frog ", i, " is seen"));
    }
    for (size_t i = 0; i < g.flyers.size(); ++i) {
        const OFly& f = *g.flyers[i];
        if (f.state == OFly::kResting && !AtItsCell(f))
            out.push_back(Say("resting flyer ", i, " is on ", Where(f)));
        if (f.state == OFly::kIdle && f.IsShown()) out.push_back(Say("idle flyer ", i, " is seen"));
    }
    if (pond::LivingFrogs() > 0 && (!g.player || g.player->IsDead()))
        out.push_back("frogs are alive but the player's frog is none or dead");
    if (g.player &&
        std::none_of(g.frogs.begin(), g.frogs.end(), [&](const auto& f) { return f.get() == g.player; }))
        out.push_back("the player's frog is not one of the player's frogs");
}

// The digit bar: the level in three digits from x 150, the score in six from x 400, each 30 apart.
void CheckDigits(const OGameWindow& game, std::vector<std::string>& out) {
    const int32_t level = TheGameSettings().levelNumber, score = G().score;
    for (const OGraph* g : game.Graphics()) {
        const auto* digit = dynamic_cast<const OClip*>(g);
        if (!digit || digit->Y() != 3 || digit->Depth() != -1) continue;
        const int x = static_cast<int>(digit->X());
        int32_t expected = -1;
        if (x >= 150 && x <= 210 && (x - 150) % 30 == 0) {
            static constexpr int32_t kPlaces[] = {100, 10, 1};
            expected = level / kPlaces[(x - 150) / 30] % 10;
        } else if (x >= 400 && x <= 550 && (x - 400) % 30 == 0) {
            static constexpr int32_t kPlaces[] = {100000, 10000, 1000, 100, 10, 1};
            expected = score / kPlaces[(x - 400) / 30] % 10;
        }
        if (expected >= 0 && digit->CurrentIndex() != expected)
            out.push_back(Say("the digit at x ", x, " shows ", digit->CurrentIndex(), " for level ", level,
                              " and score ", score));
    }
}

// What a new game looks like at its first step: nothing scored, the first level, every life back.
bool LooksLikeANewGame() {
    const int32_t lives = std::clamp(TheGameSettings().startLives, 1,
                                     static_cast<int32_t>(std::max<size_t>(G().frogs.size(), 1)));
    return G().score == 0 && TheGameSettings().levelNumber == 1 && pond::LivingFrogs() == lives;
}

void Within(std::vector<std::string>& out, const char* what, int64_t value, int64_t low, int64_t high) {
    if (value < low || value > high) out.push_back(Say(what, " is ", value, ", outside ", low, " to ", high));
}

}  // namespace

void SoakInvariants::BeginRun() {
    stalled_ = 0;
    dialogs_.clear();
    completedLevel_ = -1;
    livedSinceGameOver_ = true;
    started_ = false;
    quitConfirmed_ = false;
    gameGraphics_ = 0;
    gameControls_ = 0;
}

std::vector<std::string> SoakInvariants::Check(const std::vector<OWindow*>& windows,
                                               const OGameWindow* game) {
    std::vector<std::string> out;
    CheckScene(windows, game, out);
    if (!game) return out;
    CheckCounts(windows, game, out);
    std::vector<std::string> pond = CheckPond();
    out.insert(out.end(), pond.begin(), pond.end());
    CheckDialogFlow(windows, game, out);
    // The digits follow the score and the level in every frame step the game runs.
    if (game->HasInputFocus() && !G().paused && !game->IsModalPaused() && game->LoadingPicture() == nullptr)
        CheckDigits(*game, out);
    CheckProgress(*game, out);
    return out;
}

std::vector<std::string> SoakInvariants::CheckPond() {
    std::vector<std::string> out;
    CheckPondList(out);
    CheckCreatures(out);
    return out;
}

void SoakInvariants::CheckScene(const std::vector<OWindow*>& windows, const OGameWindow* game,
                                std::vector<std::string>& out) {
    if (window_registry::Count() != windows.size())
        out.push_back(Say(window_registry::Count(), " windows exist, ", windows.size(), " known"));
    SceneWalk walk(out);
    for (size_t i = 0; i < windows.size(); ++i) {
        walk.FromWindow(*windows[i], i);
        // A window held by a dialog takes no input: its native window says so too.
        const platform::NativeWindow* native = windows[i]->Native();
        if (native && native->IsEnabled() == windows[i]->IsModalPaused())
            out.push_back(Say("window ", i, " is ", native->IsEnabled() ? "enabled" : "disabled", " while ",
                              windows[i]->IsModalPaused() ? "" : "not ", "held by a dialog"));
    }
    if (game) walk.FromPrototypes(game->Prototypes());
    walk.ReportUnreached();
}

void SoakInvariants::CheckCounts(const std::vector<OWindow*>& windows, const OGameWindow* game,
                                 std::vector<std::string>& out) {
    using namespace play_bounds;
    const GameState& g = G();
    const GameSettings& s = TheGameSettings();
    // The game window, a dialog over it, and the clear confirmation over the score table.
    Within(out, "the number of windows", static_cast<int64_t>(windows.size()), 1, 3);
    if (game->IsModalPaused() != (windows.size() > 1))
        out.push_back(Say("the game window is ", game->IsModalPaused() ? "" : "not ",
                          "held by a dialog with ", windows.size() - 1, " dialogs open"));
    if (gameGraphics_ == 0 && game->LoadingPicture() == nullptr) {
        gameGraphics_ = game->Graphics().size();
        gameControls_ = game->Controls().size();
    }
    if (gameGraphics_ != 0) {
        Within(out, "the game window's graphics", static_cast<int64_t>(game->Graphics().size()), 0,
               static_cast<int64_t>(gameGraphics_));
        Within(out, "the game window's controls", static_cast<int64_t>(game->Controls().size()), 0,
               static_cast<int64_t>(gameControls_));
    }
    Within(out, "the islands", g.islandCount, kMinIslands, kMaxIslands);
    Within(out, "the pond objects", static_cast<int64_t>(g.pond.size()), g.islandCount, kMaxPondObjects);
    Within(out, "the pond objects out", g.pondCount, g.islandCount, static_cast<int64_t>(g.pond.size()));
    Within(out, "the frogs", static_cast<int64_t>(g.frogs.size()), 1, kMaxFrogs);
    Within(out, "the living frogs", pond::LivingFrogs(), 0, static_cast<int64_t>(g.frogs.size()));
    Within(out, "the lives at level start", g.livesAtLevelStart, 0, static_cast<int64_t>(g.frogs.size()));
    Within(out, "the red frogs", static_cast<int64_t>(g.redFrogs.size()), 0, kMaxRedFrogs);
    Within(out, "the red frogs arrived", g.redArrived, 0, 3);
    Within(out, "the flyers", static_cast<int64_t>(g.flyers.size()), 0, kMaxFlies + kMaxSuns);
    Within(out, "the suns", g.sunCount, 0,
           std::min<int64_t>(kMaxSuns, static_cast<int64_t>(g.flyers.size())));
    Within(out, "the ripples", static_cast<int64_t>(g.ripples.size()), 48, 48);
    Within(out, "the hearts given", g.heartsGiven, 0, 5);
    Within(out, "the skill", g.skill, 0, 2);
    Within(out, "the applied skill", g.appliedSkill, 0, 2);
    Within(out, "the dialog answer", g.dialogAnswer, kNoAnswer, kAnswerNo);
    Within(out, "the fade count", g.fadeCount, 0, std::max(g.fadeLength, 0));
    Within(out, "the level", s.levelNumber, 1, 999);
    Within(out, "the difficulty level", s.difficultyLevel, s.levelNumber, INT32_MAX);
}

void SoakInvariants::CheckDialogFlow(const std::vector<OWindow*>& windows, const OGameWindow* game,
                                     std::vector<std::string>& out) {
    const GameState& g = G();
    const bool dialogOpen = windows.size() > 1;
    if (g.pendingDialog == kQuitOpen && g.dialogAnswer != kAnswerYes && !dialogOpen)
        out.push_back(Say("the game waits for the quit dialog's answer, but no dialog is open"));
    // The others are acted on (a dialog opened, a new game or level started) by the next frame step
    // the game runs, or by the mouse move it posts.
    const bool waits = g.pendingDialog != kNoDialog && g.pendingDialog != kQuitOpen;
    const bool couldStep = game->HasInputFocus() && !g.paused && !game->IsModalPaused();
    stalled_ = waits && !dialogOpen && couldStep ? stalled_ + 1 : 0;
    if (stalled_ > 3)
        out.push_back(Say("the game has waited ", stalled_,
                          " steps for a dialog that is not open (pending dialog ", g.pendingDialog, ")"));

    const int32_t level = TheGameSettings().levelNumber;
    if (pond::LivingFrogs() > 0) livedSinceGameOver_ = true;
    std::erase_if(dialogs_, [](const OWindow* w) { return !OWindow::Exists(w); });
    for (const OWindow* w : windows) {
        if (w == game || std::find(dialogs_.begin(), dialogs_.end(), w) != dialogs_.end()) continue;
        dialogs_.push_back(w);
        if (dynamic_cast<const ONewLevel*>(w)) {
            // The level number stays capped at 999, which may be completed again and again.
            if (level == completedLevel_ && level < 999)
                out.push_back(
                    Say("level ", level, " was completed a second time (its bonus credited again)"));
            completedLevel_ = level;
        } else if (dynamic_cast<const OWndInsert*>(w)) {
            if (!livedSinceGameOver_) out.push_back("a lost game asked for a name a second time");
            livedSinceGameOver_ = false;
        }
    }
}

std::vector<std::string> SoakInvariants::CheckPicture(OWindow& window) {
    std::vector<std::string> out;
    const OffscreenPicture* picture = window.GetPicture();
    if (!picture || window.IsStopping()) return out;
    const int w = std::min(window.Width(), picture->Width()),
              h = std::min(window.Height(), picture->Height());
    // What the last steps reported and not yet drew goes first; then the picture as it stands.
    window.Compose();
    std::vector<uint8_t> before;
    for (int y = 0; y < h; ++y) before.insert(before.end(), picture->Row(y), picture->Row(y) + w * 3);
    window.AddDirtyRect({0, 0, w, h});
    window.Compose();
    for (int y = 0; y < h; ++y) {
        const uint8_t* row = picture->Row(y);
        for (int x = 0; x < w; ++x) {
            const uint8_t* was = &before[static_cast<size_t>(y * w + x) * 3];
            if (was[0] == row[x * 3] && was[1] == row[x * 3 + 1] && was[2] == row[x * 3 + 2]) continue;
            out.push_back(Say(typeid(window).name(), " shows stale pixels: at (", x, ",", y,
                              ") the picture differs from a full redraw"));
            return out;
        }
    }
    return out;
}

void SoakInvariants::CheckProgress(const OGameWindow& game, std::vector<std::string>& out) {
    const GameState& g = G();
    const int32_t level = TheGameSettings().levelNumber;
    Within(out, "the pending dialog", g.pendingDialog, kNoDialog, kLevelOpen);
    Within(out, "the score", g.score, 0, INT32_MAX);
    Within(out, "the level points", g.levelPoints, 0, INT32_MAX);
    if (started_ && (g.score < lastScore_ || level < lastLevel_)) {
        // Only a new game starts the count again.
        if (!LooksLikeANewGame())
            out.push_back(Say("score ", lastScore_, " at level ", lastLevel_, " fell to ", g.score,
                              " at level ", level, " with ", pond::LivingFrogs(), " lives, not a new game"));
        completedLevel_ = -1;
    } else if (started_ && level > lastLevel_ + 1) {
        out.push_back(Say("the level jumped from ", lastLevel_, " to ", level));
    }
    // A new game may begin where the last one stood, at the first level with nothing scored: after the
    // name dialog, or by New while the closed level dialog waited for the next level. The first level
    // may then be completed once more.
    if (started_ && lastPending_ == kNameOpen && g.pendingDialog != kNameOpen) completedLevel_ = -1;
    if (started_ && lastPending_ == kLevelOpen && g.pendingDialog != kLevelOpen && level == lastLevel_ &&
        level < 999) {
        // The new game's frog is on its way to the entry island; the completed level's stays put.
        const bool arriving = g.player && g.player->state == OFrog::kLeaping;
        if (LooksLikeANewGame() && arriving)
            completedLevel_ = -1;
        else if (g.pendingDialog != kGameOver)  // the last frog drowned before the next level began
            out.push_back(Say("the level dialog closed, but level ", level, " was not followed by the next",
                              " (pending dialog ", g.pendingDialog, ")"));
    }
    const bool quitConfirmed = g.pendingDialog == kQuitOpen && g.dialogAnswer == kAnswerYes;
    // The next frame step acts on it and closes the window: a game still here after it has let the
    // answer go, or has not acted on it.
    if (quitConfirmed_ && !quitConfirmed)
        out.push_back(Say("the quit was confirmed but the game goes on (pending dialog ", g.pendingDialog,
                          ", answer ", g.dialogAnswer, ")"));
    if (quitConfirmed_ && quitConfirmed)
        out.push_back(Say("the quit was confirmed, yet the game is still here a frame step later",
                          g.paused ? " (paused)" : "", game.HasInputFocus() ? "" : " (in the background)",
                          g.fadeCount < g.fadeLength ? " (a frog fading)" : ""));
    quitConfirmed_ = quitConfirmed;
    started_ = true;
    lastScore_ = g.score;
    lastLevel_ = level;
    lastPending_ = g.pendingDialog;
}
