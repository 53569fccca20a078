#include "windows/OWndScores.h"

#include <cstdio>

#include "engine/Engine.h"
#include "engine/VirtualKey.h"
#include "game/GameSettings.h"
#include "game/GameState.h"
#include "graphics/OClip.h"
#include "platform/Platform.h"
#include "storage/DataFilePath.h"
#include "windows/OWndScoresClear.h"
#include "storage/PublishLink.h"
#include "game/ScoreSkill.h"
#include "ui/ControlEvents.h"
#include "ui/DialogSize.h"
#include "ui/FramePiece.h"
#include "ui/OButton.h"
#include "ui/OText.h"
#include "ui/OWndYesNo.h"

namespace {

constexpr const char* kButtonSound = "WAV\\over.wav";
// Row captions: dark blue, the score in bold, centred vertically in their cells (alignment bits 4
// and 8 together). Sideways they stand a few pixels in from the cell's border, which they would
// otherwise cover: names from the left, scores from the right.
constexpr uint32_t kRowColour = 0xC80000;
constexpr int32_t kRowFontHeight = 24;
constexpr uint8_t kCentredVertically = 4 | 8;
constexpr float kCellInset = 6;

OButton* MakeButton(const std::string& clipFile) {
    auto* button = new OButton("", clipFile, 0, 1, 2, true);
    button->SetSounds(kButtonSound, kButtonSound);
    return button;
}

void StyleCaption(OButton& cell, int32_t weight) {
    OText* caption = cell.Caption();
    if (!caption) return;
    graphics::FontRecord font = caption->Font();
    font.height = kRowFontHeight;
    font.weight = weight;
    font.colour = kRowColour;
    caption->SetFont(font);
    caption->SetAlignFlags(kCentredVertically);
    caption->Align();
}

// A row's text in its cell. Text wider than the cell (a long name from an old table) is cut at the
// cell's edge rather than drawn over the next cell.
void ShowInCell(OButton& cell, const std::string& text, bool fromRight) {
    OText* caption = cell.Caption();
    if (!caption) return;
    caption->SetAutoSize(true);
    caption->SetText(text);
    const float room = cell.Width() - 2 * kCellInset;
    float x = fromRight ? cell.Width() - kCellInset - caption->Width() : kCellInset;
    if (caption->Width() > room) {
        caption->SetAutoSize(false);
        caption->SetSize(room, caption->Height(), 0);
        x = kCellInset;
    }
    caption->SetPosition(x, caption->LocalY(), caption->LocalDepth());
}

}  // namespace

OWndScores::OWndScores(OWindow* parent) : OWindow(parent) {}

bool OWndScores::Start() {
    // Without a native window there is nothing to show and no parent held: the opener disposes of it.
    if (CreationFailed()) return false;
    BuildFrame();
    Compose();
    BuildButtons();
    Compose();
    BuildTitle();
    BuildRows();
    skill_ = CurrentSkillText();
    table_.LoadTable(DataFilePath(kTableFile));
    FillRows();
    TheGameState().dialogAnswer = kNoAnswer;
    SetFrameRate(12);
    return OWindow::Start();
}

void OWndScores::Step(uint32_t timeMs) {
    ApplyPendingClear();
    OWindow::Step(timeMs);
}

void OWndScores::OnPress(int code, int x, int y) {
    ApplyPendingClear();
    if (code == vk::kEnter || code == vk::kEscape) CloseWindow();
    OWindow::OnPress(code, x, y);
}

void OWndScores::OnCommand(int source, int event) {
    ApplyPendingClear();
    if (event != ControlEvent::Click || closing_) return;
    if (closeButton_ && source == closeButton_->CommandId()) {
        CloseWindow();
    } else if (publishButton_ && source == publishButton_->CommandId()) {
        Publish();
    } else if (clearButton_ && source == clearButton_->CommandId()) {
        OpenClearDialog();
    }
}

void OWndScores::BuildFrame() {
    // The dialogs' frame pieces, placed for this window's own height and title.
    const float w = ClientWidth();
    const uint32_t shore = OWndYesNo::kShoreKey;
    AddFramePiece(*this, "CLP\\ShoreLeft.clp", 0, 10, 10, shore);
    AddFramePiece(*this, "CLP\\VerBord.clp", 0, 0, 0, 0);
    AddFramePiece(*this, "CLP\\ShoreUp.clp", 0, -10, 10, shore);
    AddFramePiece(*this, "CLP\\HorBord.clp", 0, 0, 0, 0);
    AddFramePiece(*this, "CLP\\ShoreRight.clp", w - 25, 25, 10, shore);
    AddFramePiece(*this, "CLP\\VerBord.clp", w - 2, 0, 0, 0);
    AddFramePiece(*this, "CLP\\ShoreDown.clp", 0, 0, 10, shore, true);
    AddFramePiece(*this, "CLP\\HorBord.clp", 0, ClientHeight() - 2, 0, 0);
}

void OWndScores::BuildButtons() {
    const float w = ClientWidth(), h = ClientHeight();
    closeButton_ = MakeButton("CLP\\btClose.clp");
    publishButton_ = MakeButton("CLP\\btPublish.clp");
    clearButton_ = MakeButton("CLP\\btClear.clp");
    const float publishX = (w - publishButton_->Width()) / 2;
    publishButton_->SetPosition(publishX, h - publishButton_->Height() - 10, 0);
    closeButton_->SetPosition(publishX - closeButton_->Width() - 10, h - closeButton_->Height() - 10, 0);
    clearButton_->SetPosition(publishX + publishButton_->Width() + 10, h - publishButton_->Height() - 10, 0);
    AddGraph(closeButton_);
    AddGraph(publishButton_);
    AddGraph(clearButton_);
    FocusGraph(closeButton_);
}

void OWndScores::BuildTitle() {
    auto* title = new OClip();
    float y = 0;
    if (!title->Load("CLP\\top.clp")) {
        title->Destroy();
        title = new OClip();
        y = 50;
        if (!title->Load("CLP\\bar.clp")) {
            title->Destroy();
            return;
        }
    }
    title->HoldAt(0);
    title->SetPosition((ClientWidth() - title->Width()) / 2, y, 0);
    AddGraph(title);
    title_ = title;
    BuildSkillName();
}

// The table shows one skill's results; its name stands at the right of the title picture, pale on a
// dark shadow so that it reads on the dark-green shore as the Options title does.
void OWndScores::BuildSkillName() {
    const int skill = TheGameState().skill;
    if (skill < 0 || skill > 2) return;
    static const char* const kNames[] = {"Novice", "Expert", "Master"};
    graphics::FontRecord font;
    font.height = 20;
    font.weight = 700;
    for (int i = 0; i < 2; ++i) {
        auto* name = new OText(kNames[skill]);
        font.colour = i == 0 ? 0x00102010 : 0x00D8F4FA;
        name->SetAutoSize(true);
        name->SetFont(font);
        AddGraph(name);
        // Centred in the shore between the plaque and the window's right edge.
        const float right = title_->X() + title_->Width();
        const float x = right + (ClientWidth() - right - name->Width()) / 2;
        const float y = title_->Y() + (title_->Height() - name->Height()) / 2;
        const float offset = i == 0 ? 2.0f : 0.0f;
        name->SetPosition(x + offset, y + offset, 0);
        if (i == 1) skillName_ = name;
    }
}

void OWndScores::BuildRows() {
    // Every row is a copy of one template cell of each kind; the templates themselves are never
    // shown and go once their copies are made (a copy keeps the pixels it shares with them).
    auto* nameCell = new OButton("", "CLP\\ScoreName.clp", 0, 1, 2, false);
    auto* scoreCell = new OButton("", "CLP\\ScoreVal.clp", 0, 1, 2, false);
    for (int i = 0; i < kRows; ++i) {
        auto* name = static_cast<OButton*>(nameCell->Clone());
        auto* score = static_cast<OButton*>(scoreCell->Clone());
        const float y = static_cast<float>(i) * (name->Height() - 2) + 47;
        name->SetPosition(25, y, 0);
        score->SetPosition(25 + name->Width(), y, 0);
        StyleCaption(*name, 400);
        StyleCaption(*score, 800);
        AddGraph(name);
        AddGraph(score);
        nameRows_[static_cast<size_t>(i)] = name;
        scoreRows_[static_cast<size_t>(i)] = score;
    }
    nameCell->Destroy();
    scoreCell->Destroy();
}

void OWndScores::FillRows() {
    int shown = 0;
    for (auto it = table_.records.rbegin(); it != table_.records.rend() && shown < kRows; ++it) {
        if (it->second.skill != skill_) continue;
        ShowInCell(*nameRows_[static_cast<size_t>(shown)], it->second.name, false);
        ShowInCell(*scoreRows_[static_cast<size_t>(shown)], std::to_string(it->first), true);
        ++shown;
    }
}

void OWndScores::CloseWindow() {
    closing_ = true;
    Close();
}

void OWndScores::OpenClearDialog() {
    TheGameState().dialogAnswer = kNoAnswer;
    OWndScoresClear* dialog = nullptr;
    {
        DialogSize size(OWndScoresClear::kWidth, OWndScoresClear::kHeight);
        dialog = new OWndScoresClear(this);
    }
    StartDialog(dialog);
}

TableUpdate OWndScores::ClearSkill() {
    // The file may hold results this window never loaded (another skill written meanwhile): it is
    // read again, and only this skill's results leave it.
    const TableUpdate update =
        UpdateTableFile(DataFilePath(kTableFile), [&](TScoresTable& file) { file.RemoveSkill(skill_); });
    if (update == TableUpdate::Saved) pendingClear_.store(true);
    return update;
}

void OWndScores::ApplyPendingClear() {
    if (!pendingClear_.exchange(false)) return;
    Lock();
    table_.RemoveSkill(skill_);
    for (int i = 0; i < kRows; ++i) {
        ShowInCell(*nameRows_[static_cast<size_t>(i)], "", false);
        ShowInCell(*scoreRows_[static_cast<size_t>(i)], "", true);
    }
    Unlock();
}

void OWndScores::Publish() {
    for (auto it = table_.records.rbegin(); it != table_.records.rend(); ++it) {
        if (it->second.skill != skill_) continue;
        const std::string text = publish::RecordText(it->first, skill_, it->second.name);
        const std::string link =
            publish::Link(publish::ScoresPageHost(SettingsFilePath()), publish::Encode(text));
        if (engine::GetPlatform().OpenWithShell(link)) {
            CloseWindow();
        } else {
            std::fprintf(
                stderr,
                "Publish: the web browser could not be started (xdg-open); the result was not sent\n");
        }
        return;
    }
}
