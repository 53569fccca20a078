#include "tests/soak/SoakDriver.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "engine/OWindow.h"
#include "engine/VirtualKey.h"
#include "game/GameSettings.h"
#include "game/GameState.h"
#include "windows/OGameWindow.h"
#include "graphics/OffscreenPicture.h"
#include "windows/OWndInsert.h"
#include "game/SavedGame.h"
#include "tests/soak/SoakInput.h"
#include "tests/soak/SoakPilot.h"
#include "tests/soak/SoakProfiles.h"
#include "tools/replay/ReplaySession.h"
#include "ui/OCheckbox.h"
#include "windows/OOptionsWindow.h"

namespace {

// The window's picture as a binary PPM file, for looking at what the soak saw.
void WritePicture(const OWindow& window, const std::string& path) {
    const OffscreenPicture* picture = window.GetPicture();
    if (!picture) return;
    const int w = std::min(window.Width(), picture->Width()),
              h = std::min(window.Height(), picture->Height());
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << w << ' ' << h << "\n255\n";
    for (int y = 0; y < h; ++y) {
        const uint8_t* row = picture->Row(y);
        for (int x = 0; x < w; ++x)
            out.put(static_cast<char>(row[x * 3 + 2]))
                .put(static_cast<char>(row[x * 3 + 1]))
                .put(static_cast<char>(row[x * 3]));
    }
}

}  // namespace

void SoakFigures::Add(const SoakFigures& o) {
    steps += o.steps;
    runs += o.runs;
    games += o.games;
    levels += o.levels;
    gamesLost += o.gamesLost;
    restored += o.restored;
    inputs += o.inputs;
    dialogs += o.dialogs;
    for (const auto& [kind, n] : o.dialogsByKind) dialogsByKind[kind] += n;
    for (const auto& [name, n] : o.runsByProfile) runsByProfile[name] += n;
    bestLevel = std::max(bestLevel, o.bestLevel);
    bestScore = std::max(bestScore, o.bestScore);
    seconds += o.seconds;
}

std::string SoakFigures::Text() const {
    std::ostringstream out;
    out << steps << " frame steps, " << runs << " program starts (" << restored
        << " continuing a saved game), " << games << " games (" << gamesLost << " lost), " << levels
        << " levels completed (highest level " << bestLevel << ", best score " << bestScore << "), " << inputs
        << " input events, " << dialogs << " dialogs (";
    const char* separator = "";
    for (const auto& [kind, n] : dialogsByKind) {
        out << separator << kind << " " << n;
        separator = ", ";
    }
    out << "), settings per start (";
    separator = "";
    for (const auto& [name, n] : runsByProfile) {
        out << separator << name << " " << n;
        separator = ", ";
    }
    out << "), " << seconds << " s";
    return out.str();
}

SoakDriver::SoakDriver(uint32_t seed)
    : seed_(seed), random_(seed), trace_(std::getenv("MARSHWADE_SOAK_TRACE") != nullptr) {
    if (const char* shots = std::getenv("MARSHWADE_SOAK_SHOTS")) shots_ = shots;
}

SoakDriver::~SoakDriver() {
    EndRun();
}

OGameWindow* SoakDriver::Game() const {
    OGameWindow* game = session_ ? session_->Window() : nullptr;
    return game && OWindow::Exists(game) ? game : nullptr;
}

bool SoakDriver::StartRun(std::string& failure) {
    // A settings file for this start: the first start of a seed takes the seed's turn through them
    // all (so a few short soaks see every one), the later ones are chosen by weight.
    const auto profiles = SoakProfiles();
    uint32_t total = 0;
    for (const SoakProfile& p : profiles) total += p.weight;
    uint32_t pick = static_cast<uint32_t>(random_() % total);
    const SoakProfile* profile = &profiles[(seed_ - 1) % profiles.size()];
    for (const SoakProfile& p : profiles) {
        if (figures_.runs == 0) break;
        if (pick < p.weight) {
            profile = &p;
            break;
        }
        pick -= p.weight;
    }
    program_.UseSettings(profile->settings);
    ++figures_.runsByProfile[profile->name];

    // A new run of the program: it may save once again when the player quits, and what a program
    // keeps for its whole run starts afresh (so a seed plays alike whatever ran before it).
    ForgetSaveOfThisRunForTesting();
    TheGameState().meltOrder = true;
    OWndInsert::PlayerName().clear();
    session_ = std::make_unique<ReplaySession>(static_cast<uint32_t>(random_()));
    // The millisecond clock wraps after 49 days; some runs start minutes before it does.
    if (Chance(0.25)) session_->Os().Manual().Set(0u - static_cast<uint32_t>(1000 + Below(600000)));
    if (!session_->Start()) {
        failure = "soak seed " + std::to_string(seed_) + ": the game could not start";
        return false;
    }
    startBroken_ = savedGame_.CheckStart();
    input_ = std::make_unique<SoakInput>(session_->Windows(), random_);
    input_->Trace(trace_);
    invariants_.BeginRun();
    seenDialogs_.clear();
    runStep_ = 0;
    lastPending_ = TheGameState().pendingDialog;
    lastScore_ = TheGameState().score;
    lastLevel_ = TheGameSettings().levelNumber;
    ++figures_.runs;
    ++figures_.games;
    if (TheGameState().restored) ++figures_.restored;
    RefreshWindows();
    return true;
}

void SoakDriver::TallyInputs() {
    if (!input_) return;
    figures_.inputs += input_->Count() - inputsTallied_;
    inputsTallied_ = input_->Count();
}

void SoakDriver::EndRun() {
    TallyInputs();
    input_.reset();
    inputsTallied_ = 0;
    session_.reset();
}

void SoakDriver::RefreshWindows() {
    if (session_) session_->Windows().Refresh(Game());
}

const std::vector<OWindow*>& SoakDriver::Windows() const {
    static const std::vector<OWindow*> kNone;
    return session_ ? session_->Windows().All() : kNone;
}

void SoakDriver::ChangeMood() {
    static constexpr Mood kMoods[] = {Mood::Quiet, Mood::Pilot, Mood::Pilot,
                                      Mood::Pilot, Mood::Busy,  Mood::Storm};
    mood_ = kMoods[Below(6)];
    moodLeft_ = mood_ == Mood::Storm ? 20 + Below(200) : 100 + Below(3000);
}

void SoakDriver::ActOnDialog(OWindow& dialog) {
    // The options are where the skill changes: a skill box first, now and then.
    if (auto* options = dynamic_cast<OOptionsWindow*>(&dialog); options && Chance(0.5)) {
        const auto& boxes = options->SkillBoxes();
        if (!boxes.empty()) {
            const OGraph* box = boxes[static_cast<size_t>(Below(static_cast<int>(boxes.size())))];
            const auto& controls = dialog.Controls();
            const auto at = std::find(controls.begin(), controls.end(), box);
            if (at != controls.end())
                input_->ClickControl(dialog, static_cast<size_t>(at - controls.begin()));
        }
        return;
    }
    if (dynamic_cast<OWndInsert*>(&dialog) && Chance(0.3)) {
        input_->Type(dialog, 1 + Below(10));
        return;
    }
    input_->Answer(dialog);
}

void SoakDriver::Act() {
    OGameWindow* game = Game();
    if (!game) return;
    const GameState& g = TheGameState();
    // The rates of each kind of input in this mood, per step.
    double anything = 0.002, pilot = 0.0, answer = 0.01, button = 0.0005;
    switch (mood_) {
        case Mood::Quiet:
            break;
        case Mood::Pilot:
            anything = 0.01, pilot = 0.5, answer = 0.03, button = 0.001;
            break;
        case Mood::Busy:
            anything = 0.3, pilot = 0.1, answer = 0.1, button = 0.01;
            break;
        case Mood::Storm:
            anything = 1.0, pilot = 0.0, answer = 0.5, button = 0.05;
            break;
    }
    // The pond stands still while paused or in the background: a player comes back to it.
    if (!game->IsModalPaused()) {
        if (!game->HasInputFocus() && Chance(mood_ == Mood::Storm ? 0.05 : 0.02)) input_->Focus(*game, true);
        if (g.paused && Chance(mood_ == Mood::Storm ? 0.05 : 0.01))
            input_->Key(*game, Below(2) ? vk::kSpace : 'P');
        if (Chance(pilot))
            if (const int key = soak_pilot::NextKey(random_)) input_->Key(*game, key);
        // The panel's buttons: New, Options, Top10, Games, Help, Down and Exit.
        if (Chance(button) && !game->Controls().empty())
            input_->ClickControl(*game,
                                 static_cast<size_t>(Below(static_cast<int>(game->Controls().size()))));
    }
    RefreshWindows();
    OWindow* front = session_->Windows().Front();
    if (front && front != game && Chance(answer)) {
        OWindow* dialog = front;
        ActOnDialog(*dialog);
        // A hasty player goes on before the game has taken its next step: the focus elsewhere on
        // the desktop now and then, and a button of the game.
        if (OWindow::Exists(dialog) && dialog->IsStopping() && Chance(0.2)) {
            if (Chance(0.3)) input_->Focus(*game, false);
            if (!game->IsModalPaused() && !game->Controls().empty())
                input_->ClickControl(*game,
                                     static_cast<size_t>(Below(static_cast<int>(game->Controls().size()))));
        }
    }
    for (int n = mood_ == Mood::Storm ? 1 + Below(4) : 1; n > 0; --n) {
        RefreshWindows();
        if (Windows().empty() || !Chance(anything)) break;
        // Mostly the window in front; sometimes one under it, which must take no input.
        OWindow* target = session_->Windows().Front();
        if (!target || Below(4) == 0)
            target = Windows()[static_cast<size_t>(Below(static_cast<int>(Windows().size())))];
        input_->Anything(*target);
    }
    RefreshWindows();
}

void SoakDriver::StepWindows() {
    // Now and then the machine is busy and a frame step comes late.
    if (Chance(0.002)) session_->Os().Manual().Advance(static_cast<uint32_t>(1 + Below(2000)));
    if (OGameWindow* game = Game(); game && !game->IsStopping()) session_->StepFrame();
    RefreshWindows();
    // The dialogs' own game threads.
    session_->StepDialogs();
}

void SoakDriver::Count() {
    const GameState& g = TheGameState();
    for (OWindow* w : Windows()) {
        if (w == Game() || std::find(seenDialogs_.begin(), seenDialogs_.end(), w) != seenDialogs_.end())
            continue;
        seenDialogs_.push_back(w);
        ++figures_.dialogs;
        const std::string kind = HeadlessWindows::DialogName(w);
        ++figures_.dialogsByKind[kind];
        if (kind == "level") ++figures_.levels;
        if (kind == "name") ++figures_.gamesLost;
    }
    // Dialogs are gone once torn down; their addresses may come again for new ones.
    std::erase_if(seenDialogs_, [](const OWindow* w) { return !OWindow::Exists(w); });
    if (!Game()) return;
    // A new game starts the score and the level again (the invariants see to it that nothing else does).
    const int32_t level = TheGameSettings().levelNumber;
    if ((lastPending_ == kNameOpen && g.pendingDialog != kNameOpen) || level < lastLevel_ ||
        g.score < lastScore_)
        ++figures_.games;
    lastPending_ = g.pendingDialog;
    lastScore_ = g.score;
    lastLevel_ = level;
    figures_.bestLevel = std::max(figures_.bestLevel, TheGameSettings().levelNumber);
    figures_.bestScore = std::max(figures_.bestScore, g.score);
}

bool SoakDriver::Run(int64_t steps, std::string& failure) {
    const auto started = std::chrono::steady_clock::now();
    bool ok = true;
    for (int64_t i = 0; i < steps && ok; ++i) {
        if (!Game()) {
            EndRun();
            if (!StartRun(failure)) return false;
        }
        if (--moodLeft_ <= 0) ChangeMood();
        Act();
        // What a save would write now, in case this step acts on a confirmed quit.
        const bool quitConfirmed =
            Game() && TheGameState().pendingDialog == kQuitOpen && TheGameState().dialogAnswer == kAnswerYes;
        if (quitConfirmed) savedGame_.Snapshot();
        if (trace_)
            std::fprintf(stderr, "step %lld: %s\n", static_cast<long long>(figures_.steps + 1),
                         Game() ? session_->StateLine().c_str() : "no game");
        StepWindows();
        ++figures_.steps;
        ++runStep_;
        if (OGameWindow* game = Game(); game && game->IsStopping()) {
            // The step that acted on the quit saved and took the answer back.
            const bool saved = quitConfirmed && TheGameState().dialogAnswer == kNoAnswer;
            if (saved)
                savedGame_.Saved();
            else
                savedGame_.NotSaved();
            if (trace_) std::fprintf(stderr, "the game closed, %s\n", saved ? "saved" : "not saved");
            EndRun();
        }
        std::vector<std::string> broken = invariants_.Check(Windows(), Game());
        broken.insert(broken.begin(), startBroken_.begin(), startBroken_.end());
        startBroken_.clear();
        // A full redraw of every window now and then: a few times a second of game time is plenty.
        if (figures_.steps % 97 == 0) {
            for (OWindow* w : Windows()) {
                const std::vector<std::string> stale = SoakInvariants::CheckPicture(*w);
                broken.insert(broken.end(), stale.begin(), stale.end());
            }
        }
        if (!broken.empty()) {
            std::ostringstream out;
            out << "soak seed " << seed_ << ", step " << figures_.steps << " (run " << figures_.runs
                << ", its step " << runStep_ << "):";
            for (size_t k = 0; k < broken.size() && k < 8; ++k) out << "\n  " << broken[k];
            if (Game()) out << "\n  the game: " << session_->StateLine();
            out << "\nplay it again: make soak SOAK_SEED=" << seed_ << " SOAK_STEPS=" << figures_.steps
                << " (MARSHWADE_SOAK_TRACE=1 shows every step and input)";
            failure = out.str();
            ok = false;
        }
        Count();
        // MARSHWADE_SOAK_SHOTS=FOLDER: every window's picture now and then.
        if (!shots_.empty() && figures_.steps % 2500 == 0) {
            for (size_t k = 0; k < Windows().size(); ++k)
                WritePicture(*Windows()[k], shots_ + "/seed" + std::to_string(seed_) + "-step" +
                                                std::to_string(figures_.steps) + "-" + std::to_string(k) +
                                                ".ppm");
        }
    }
    TallyInputs();
    figures_.seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return ok;
}
