#include "windows/OOptionsWindow.h"

#include "engine/VirtualKey.h"
#include "game/GameState.h"
#include "graphics/LiveSet.h"
#include "ui/ControlEvents.h"
#include "ui/FramePiece.h"
#include "ui/OButton.h"
#include "ui/OCheckbox.h"
#include "ui/OText.h"

namespace {
constexpr float kHeadingHeight = 33;
// Colours as 0x00BBGGRR: a pale cream title over a shadow darker than the shore.
constexpr uint32_t kTitleColour = 0x00D8F4FA;
constexpr uint32_t kShadowColour = 0x00102010;
constexpr const char* kSkillNames[] = {"Novice", "Expert", "Master"};

// A button of the window's own: empty caption, looks from `clipFile`, the dialogs' sounds.
OButton* MakeButton(const char* clipFile, int normal, int highlight, int pressed, bool focusable) {
    auto* button = new OButton("", clipFile, normal, highlight, pressed, focusable);
    button->SetSounds("WAV\\over.wav", "WAV\\over.wav");
    return button;
}
}  // namespace

OOptionsWindow::OOptionsWindow(OWindow* parent) : OWindow(parent) {}

bool OOptionsWindow::Start() {
    // Without a native window there is nothing to show and no parent held: the opener disposes of it.
    if (CreationFailed()) return false;
    const GameState& game = TheGameState();
    savedSkill = game.skill;
    savedSound = game.soundOn ? 1 : 0;
    savedAutoSave = game.autoSave ? 1 : 0;

    BuildFrame();
    Compose();
    BuildButtons();
    Compose();
    const float w = ClientWidth();
    // The title stands on the dark-green shore: light letters on a dark shadow read there, where black
    // ones were lost. "Skills" stands on the water and stays black.
    BuildHeading("Options", w / 2 - 50 + 2, 2, kShadowColour);
    BuildHeading("Options", w / 2 - 50, 0, kTitleColour);
    BuildHeading("Skills", w / 2 - 28, 172, 0);

    // Frame 0 is the switch at rest, frame 1 both its highlighted and its pressed look. Not
    // focusable: the switches never take the focus from OK, so Enter keeps meaning OK.
    leafTemplate = MakeButton("CLP\\smleav.clp", 0, 1, 1, false);
    frogTemplate = MakeButton("CLP\\smfrog.clp", 0, 1, 1, false);
    soundBox = BuildSwitch(30, 50, "Sound On", game.soundOn);
    autoSaveBox = BuildSwitch(30, 100, "AutoSave", game.autoSave);
    for (int i = 0; i < 3; ++i)
        skillBoxes.push_back(
            BuildSwitch(30, 227 + 50.0f * static_cast<float>(i), kSkillNames[i], game.skill == i));

    FocusGraph(okButton);
    return OWindow::Start();
}

void OOptionsWindow::BuildFrame() {
    const float w = ClientWidth(), h = ClientHeight();
    // The shore pieces keep their own colour key here (the key of the clip is left 0).
    AddFramePiece(*this, "CLP\\ShoreLeft.clp", 0, 0, 10, 0);
    AddFramePiece(*this, "CLP\\VerBord.clp", 0, 0, 0, 0);
    AddFramePiece(*this, "CLP\\ShoreUp.clp", 0, -10, 10, 0);
    AddFramePiece(*this, "CLP\\HorBord.clp", 0, 0, 0, 0);
    // Between the switches and the skills.
    AddFramePiece(*this, "CLP\\ShoreMiddle.clp", 0, 158, 10, 0);
    AddFramePiece(*this, "CLP\\ShoreDown.clp", 0, 0, 10, 0, true);
    AddFramePiece(*this, "CLP\\HorBord.clp", 0, h - 2, 0, 0);
    AddFramePiece(*this, "CLP\\ShoreRight.clp", w - 25, 0, 10, 0);
    AddFramePiece(*this, "CLP\\VerBord.clp", w - 2, 0, 0, 0);
}

void OOptionsWindow::BuildButtons() {
    const float w = ClientWidth(), h = ClientHeight();
    okButton = MakeButton("CLP\\btOK.clp", 0, 1, 2, true);
    cancelButton = MakeButton("CLP\\btCancel.clp", 0, 1, 2, true);
    okButton->SetPosition(w / 2 - okButton->Width() - 10, h - okButton->Height() - 10, 0);
    cancelButton->SetPosition(w / 2 + 10, h - cancelButton->Height() - 10, 0);
    AddGraph(okButton);
    AddGraph(cancelButton);
}

void OOptionsWindow::BuildHeading(const char* words, float x, float y, uint32_t colour) {
    auto* heading = new OText(words);
    graphics::FontRecord font = heading->Font();
    font.height = static_cast<int32_t>(kHeadingHeight);
    font.colour = colour;
    heading->SetFont(font);
    heading->SetPosition(x, y, 0);
    AddGraph(heading);
}

OCheckbox* OOptionsWindow::BuildSwitch(float x, float y, const char* label, bool on) {
    auto* off = dynamic_cast<OControl*>(leafTemplate->Clone());
    auto* checked = dynamic_cast<OControl*>(frogTemplate->Clone());
    auto* box = new OCheckbox(off, checked, true, OCheckbox::kDefaultClip);
    box->SetPosition(x, y, 0);
    box->SetSounds("WAV\\over.wav", "WAV\\over.wav");
    AddGraph(box);
    // Made focusable as every check box is, then taken out of the Tab order: only OK and Cancel.
    box->SetFocusable(false);
    auto* text = new OText(label);
    text->SetPosition(box->X() + box->Width() + 10, box->Y() + 7, 0);
    AddGraph(text);
    if (on) box->SetIndex(1);
    return box;
}

// The templates were never added to the window: they go with the last of their copies, the looks of
// the switches, when the window's own Stop destroys those.
bool OOptionsWindow::Stop() {
    Lock();
    for (OButton** button : {&okButton, &cancelButton}) {
        if (IsLive(*button)) (*button)->Destroy();
        *button = nullptr;
    }
    leafTemplate = nullptr;
    frogTemplate = nullptr;
    skillBoxes.clear();
    soundBox = nullptr;
    autoSaveBox = nullptr;
    Unlock();
    return OWindow::Stop();
}

void OOptionsWindow::Restore() {
    GameState& game = TheGameState();
    game.skill = savedSkill;
    game.soundOn = savedSound != 0;
    game.autoSave = savedAutoSave != 0;
}

void OOptionsWindow::OnPress(int code, int x, int y) {
    if (code == vk::kEscape) {
        Restore();
        Close();
    }
    // A switch that changes its look hides the old one, which clears the window's focus: Enter still
    // means OK.
    if (code == vk::kEnter && !Focus()) FocusGraph(okButton);
    // Up and Down (a pad's d-pad too) move the skill one step, so the options need no mouse; the
    // switches take no focus, so that Enter always means OK.
    if (code == vk::kUp || code == vk::kDown) ChooseSkill(TheGameState().skill + (code == vk::kDown ? 1 : -1));
    OWindow::OnPress(code, x, y);
}

void OOptionsWindow::ChooseSkill(int skill) {
    GameState& game = TheGameState();
    const int count = static_cast<int>(skillBoxes.size());
    if (skill < 0 || skill >= count || skill == game.skill) return;
    if (game.skill >= 0 && game.skill < count) skillBoxes[static_cast<size_t>(game.skill)]->SetIndex(0);
    skillBoxes[static_cast<size_t>(skill)]->SetIndex(1);
    game.skill = skill;
}

void OOptionsWindow::OnCommand(int source, int event) {
    if (event != ControlEvent::Click) return;
    GameState& game = TheGameState();
    auto is = [source](const OControl* control) { return control && source == control->CommandId(); };
    if (is(okButton)) {
        Close();
    } else if (is(cancelButton)) {
        Restore();
        Close();
    } else if (is(soundBox)) {
        game.soundOn = !game.soundOn;
    } else if (is(autoSaveBox)) {
        game.autoSave = !game.autoSave;
    } else {
        for (int i = 0; i < static_cast<int>(skillBoxes.size()); ++i) {
            if (!is(skillBoxes[static_cast<size_t>(i)])) continue;
            // The clicked box shows its next look after this, so the current one is unchecked first:
            // clicking the checked box leaves it checked.
            if (game.skill >= 0 && game.skill < static_cast<int>(skillBoxes.size()))
                skillBoxes[static_cast<size_t>(game.skill)]->SetIndex(0);
            game.skill = i;
            break;
        }
    }
}
