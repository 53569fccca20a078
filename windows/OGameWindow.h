#pragma once
#include <cstdint>
#include <memory>

#include "engine/OWindow.h"
#include "game/PondRules.h"

class OBitmap;
class OButton;
class OText;
class OClip;
class StateTrace;

// The program's main window: the pond and its creatures, the digit bar, the panel with the buttons
// and the waiting frogs. It builds the whole game at Start, runs the game's frame step at 50 steps
// per second, turns keys and clicks into hops, and decides when a level is completed or the game is
// over. It never opens a dialog from its frame step: it sets the pending dialog and posts a mouse
// move, and its mouse-move handler (main thread) opens it.
//
// Threads: as every OWindow. The game state and the settings are touched only under this window's
// lock (frame steps, handlers, and dialogs' handlers while it is paused by them).
class OGameWindow : public OWindow {
  public:
    OGameWindow();
    // Sets the window defaults to the game's own (size, style, background colour): every game
    // window, the program's and a headless one alike, is created after this.
    static void UseGameWindowDefaults();

    bool Start() override;
    bool Stop() override;
    void Step(uint32_t timeMs) override;
    void OnMouseMove(int x, int y) override;
    void OnPress(int code, int x, int y) override;
    void OnCommand(int source, int event) override;

    // The flow, also called by the dialogs' answers through the frame step.
    void NewGame();
    void StartLevel();
    void AdvanceLevel();
    void ShowScore();
    void FinishLevel();

    // The buttons, for tests and dialogs: New, Options, Top10, Games, Help, Down, Exit.
    OButton* NewButton() const { return newButton_; }
    OButton* OptionsButton() const { return optionsButton_; }
    OButton* Top10Button() const { return top10Button_; }
    OButton* GamesButton() const { return gamesButton_; }
    OButton* HelpButton() const { return helpButton_; }
    OButton* DownButton() const { return downButton_; }
    OButton* ExitButton() const { return exitButton_; }
    // "Continuing your saved game": shown at a start that resumes the saved game, for this many frame
    // steps of play (four seconds at fifty a second; a pause or another window in front holds it).
    static constexpr int kSavedNoticeSteps = 200;
    OText* SavedGameNotice() const { return savedNotice_[1]; }
    const pond::Prototypes& Prototypes() const { return prototypes_; }
    // The loading picture until the first frame step has run.
    OBitmap* LoadingPicture() const { return loading_; }

  protected:
    ~OGameWindow() override;

  private:
    bool LoadSprites();
    bool LoadPrototypes();
    // The steps of LoadPrototypes; each false when a clip could not be read.
    bool LoadRipple();
    bool LoadFrogs();
    bool LoadLeaves();
    bool LoadFlyers();
    void CollectPrototypes();
    void CreateButtons();
    void StartGame();
    void CheckLevel();
    void CheckIslands();
    // Saves the game state and closes the window.
    void CarryOutQuit();
    void ApplySkillChange();
    void StepGame(uint32_t t);
    bool StepFade();
    // The quit dialog was answered yes and the frame step has not closed the window yet.
    static bool QuitConfirmed();
    void ShowLevelDigits();
    void ClickToward(int x, int y);
    void MakePauseSign();
    void ShowPauseSign(bool shown);
    void MakeSavedGameNotice();
    void StepSavedGameNotice();
    void DestroyPrototypes();

    // Before the level-completed dialog opens: the islands but the last taken out of sight, the
    // window composed. Returns whether a bonus frog is awarded.
    bool PrepareLevelDialog();

    // The dialogs (GameDialogs.cpp, ScoreDialogs.cpp). Each opener checks CanOpenDialog, sets what the
    // flow needs (pending dialog, answer 0, the window size) and opens the dialog over this window.
    // One dialog at a time; the buttons' dialogs wait while a level or game end is pending, until the
    // frame step has acted on its dialog's answer.
    bool CanOpenDialog(bool fromButton) const;
    void OpenLevelDialog();
    void OpenQuitDialog();
    void OpenOptions();
    void OpenHelp();
    void OpenNameDialog();
    void OpenScores();
    void OpenGamesPage();

    OButton* newButton_ = nullptr;
    OButton* optionsButton_ = nullptr;
    OButton* top10Button_ = nullptr;
    OButton* gamesButton_ = nullptr;
    OButton* helpButton_ = nullptr;
    OButton* downButton_ = nullptr;
    OButton* exitButton_ = nullptr;

    OBitmap* loading_ = nullptr;
    OBitmap* background_ = nullptr;
    OClip* digits_ = nullptr;
    OClip* levelDigits_[3] = {};
    OText* pauseSign_[2] = {};  // its shadow, then the sign
    OText* savedNotice_[2] = {};  // its shadow, then the words
    int savedNoticeSteps_ = 0;    // frame steps of play it still stands
    OClip* scoreDigits_[6] = {};

    // The prototypes are kept objects: this window owns them and destroys them at Stop.
    std::vector<std::unique_ptr<OLeave>> leafKinds_;
    std::unique_ptr<OLeave> island_;
    std::unique_ptr<OFrog> frog_;
    std::unique_ptr<OFrog> redFrog_;
    std::vector<std::unique_ptr<OFly>> flies_;
    std::vector<std::unique_ptr<OFly>> suns_;
    std::unique_ptr<OWave> ripple_;
    pond::Prototypes prototypes_;

    // The state log MARSHWADE_STATE_LOG asks for (a line per frame step); none by default.
    std::unique_ptr<StateTrace> trace_;
};
