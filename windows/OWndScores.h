#pragma once
#include <array>
#include <atomic>
#include <string>

#include "engine/OWindow.h"
#include "storage/TScoresTable.h"

class OButton;
class OClip;
class OText;

// The high-score window (the game's Top10 button): the ten best results of the current skill, and
// Close, Publish (the best result to the score page, in the web browser) and Clear (the skill's
// results, after a confirmation). Enter and Escape close it.
//
// Opened by the game window on the main thread as a dialog over it (the game stands still); it
// closes itself and is torn down by its own game thread. The game state (skill) is read only on the
// main thread, by Start and the handlers, while the game window is paused by this one.
class OWndScores : public OWindow {
  public:
    static constexpr int kRows = 10;
    // The size its opener gives it.
    static constexpr int kWidth = 355;
    static constexpr int kHeight = 550;

    explicit OWndScores(OWindow* parent);

    bool Start() override;
    void Step(uint32_t timeMs) override;
    void OnPress(int code, int x, int y) override;
    void OnCommand(int source, int event) override;

    // Removes the window's skill's results from the file at once, then from this window and its
    // rows before anything reads them again (its next frame step, key or click). A file that cannot
    // be read, or a save that fails, leaves everything as it was (said on standard error); the
    // result tells the dialog which. The clear dialog calls it from its own handler, on the main
    // thread, when it is answered yes: it takes no lock of this window, whose own lock is never
    // taken while a lock of the dialog is held.
    TableUpdate ClearSkill();
    // Sends the best result of the current skill to the score page and closes; with no result at
    // the skill, or when no browser could be started (said on standard error), the window stays.
    void Publish();

    OButton* CloseButton() const { return closeButton_; }
    OButton* PublishButton() const { return publishButton_; }
    OButton* ClearButton() const { return clearButton_; }
    OClip* Title() const { return title_; }
    // The skill's name beside the title ("Novice", "Expert", "Master").
    OText* SkillName() const { return skillName_; }
    OButton* NameRow(int i) const { return nameRows_[static_cast<size_t>(i)]; }
    OButton* ScoreRow(int i) const { return scoreRows_[static_cast<size_t>(i)]; }
    const TScoresTable& Table() const { return table_; }

  protected:
    ~OWndScores() override = default;

  private:
    void BuildFrame();
    void BuildButtons();
    void BuildTitle();
    void BuildSkillName();
    void BuildRows();
    void FillRows();
    void OpenClearDialog();
    void CloseWindow();
    // Carries out a clear the file has already had. Under this window's lock.
    void ApplyPendingClear();

    OButton* closeButton_ = nullptr;
    OButton* publishButton_ = nullptr;
    OButton* clearButton_ = nullptr;
    OClip* title_ = nullptr;
    OText* skillName_ = nullptr;
    std::array<OButton*, kRows> nameRows_{};
    std::array<OButton*, kRows> scoreRows_{};
    // The results as the window shows them; Publish sends from it and Clear removes from it too.
    TScoresTable table_;
    // The skill the window shows ("1" Novice ... "3" Master); the game's skill cannot change while the
    // window is open over it.
    std::string skill_;
    // The file has lost the skill's results; the window's table and rows follow under its lock.
    std::atomic<bool> pendingClear_{false};
    // Enter or Escape closed the window, or a button did: the key's release still reaches the
    // focused button, and its click must not open the clear dialog over a window that is going.
    bool closing_ = false;
};
