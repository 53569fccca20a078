#pragma once
#include <cstdint>
#include <vector>

#include "engine/OWindow.h"

class OButton;
class OCheckbox;

// The options: two switches ("Sound On", "AutoSave") and a choice of skill (Novice, Expert, Master),
// each a small leaf (off) or a small frog (on). A click changes the game's setting at once; OK keeps
// the settings, Cancel and Escape put back those found when the window opened. The game window starts
// a new game when it finds the skill changed after the window has closed.
//
// A window of its own (not a yes/no dialog): its own frame of nine pictures and the window's frame
// rate of 50. Created by the game window on the main thread as a dialog over it; torn down by its own
// game thread. The settings are changed by its handlers on the main thread while the game window
// stands still.
class OOptionsWindow final : public OWindow {
  public:
    explicit OOptionsWindow(OWindow* parent);

    bool Start() override;
    bool Stop() override;
    void OnPress(int code, int x, int y) override;
    void OnCommand(int source, int event) override;

    OButton* OkButton() const { return okButton; }
    OButton* CancelButton() const { return cancelButton; }
    OCheckbox* SoundBox() const { return soundBox; }
    OCheckbox* AutoSaveBox() const { return autoSaveBox; }
    const std::vector<OCheckbox*>& SkillBoxes() const { return skillBoxes; }

  protected:
    ~OOptionsWindow() override = default;

  private:
    void BuildFrame();
    void BuildButtons();
    void BuildHeading(const char* words, float x, float y, uint32_t colour);
    // A switch of a leaf and a frog at (x, y) with its label beside it, checked when `on`.
    OCheckbox* BuildSwitch(float x, float y, const char* label, bool on);
    // Puts back the settings found at opening.
    void Restore();
    // Checks the switch of `skill` and unchecks the current one; a skill outside the list is ignored.
    void ChooseSkill(int skill);

    OButton* okButton = nullptr;
    OButton* cancelButton = nullptr;
    // Never shown: only copied to make the looks of every switch; each goes with its last copy.
    OButton* leafTemplate = nullptr;
    OButton* frogTemplate = nullptr;
    std::vector<OCheckbox*> skillBoxes;  // Novice, Expert, Master
    OCheckbox* soundBox = nullptr;
    OCheckbox* autoSaveBox = nullptr;
    int32_t savedSkill = 0;
    int32_t savedSound = 0;
    int32_t savedAutoSave = 0;
};
