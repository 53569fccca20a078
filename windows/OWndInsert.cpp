#include "windows/OWndInsert.h"

#include <ctime>

#include "game/GameState.h"
#include "storage/DataFilePath.h"
#include "game/ScoreSkill.h"
#include "storage/TScoresTable.h"
#include "ui/ControlEvents.h"
#include "ui/OButton.h"
#include "ui/OEdit.h"
#include "ui/OLongText.h"
#include "windows/GameAnswer.h"

namespace {

constexpr const char* kAnonymous = "Anonymous";

// The local date as the table writes it: year, month and day without leading zeros.
std::string Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return std::to_string(local.tm_year + 1900) + "-" + std::to_string(local.tm_mon + 1) + "-" +
           std::to_string(local.tm_mday);
}

// The name as the table records it: at most kMaxRecordedName characters, none that would end a
// field or a line.
std::string RecordedName(const std::string& name) {
    std::string recorded = name.substr(0, OWndInsert::kMaxRecordedName);
    for (char& c : recorded)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return recorded;
}

}  // namespace

OWndInsert::OWndInsert(OWindow* parent) : OWndYesNo(parent) { AnswerIntoGameState(*this); }

std::string& OWndInsert::PlayerName() {
    static std::string name;
    return name;
}

void OWndInsert::BuildContents() {
    score_ = TheGameState().score;
    skill_ = TheGameState().skill;

    AddYesNoButtons();
    OLongText text = QuestionText(25);
    text.LayOut("Congratulation");
    text.LayOut("Your score is : ");
    text.LayOut(std::to_string(score_));
    text.LayOut("Enter your name:");

    nameEdit_ = new OEdit(OfferedName(), "CLP\\ScoreName.clp", 0, 1, 2, true);
    nameEdit_->SetPosition((ClientWidth() - nameEdit_->Width()) / 2, static_cast<float>(text.y), 0);
    AddGraph(nameEdit_);
}

std::string OWndInsert::OfferedName() const {
    if (!PlayerName().empty()) return PlayerName();
    TScoresTable table;
    table.LoadTable(DataFilePath(kTableFile));
    const std::string skill = std::to_string(skill_ + 1);
    for (auto it = table.records.rbegin(); it != table.records.rend(); ++it)
        if (it->second.skill == skill) return it->second.name;
    return kAnonymous;
}

void OWndInsert::OnCommand(int source, int event) {
    // Once answered (Escape, No, Yes) the window is closing: a Yes handled before the close is
    // carried out records nothing.
    if (event == ControlEvent::Click && !Answered() && yesButton && source == yesButton->CommandId()) {
        const TableUpdate update = Insert();
        if (update != TableUpdate::Saved) {
            // Between the name field and the buttons, where the window has room for two lines.
            const int32_t top = static_cast<int32_t>(nameEdit_ ? nameEdit_->Y() + nameEdit_->Height() : 150);
            note_.Show(*this, "Your result could not be recorded", update, top + 4, 14);
            return;
        }
    }
    OWndYesNo::OnCommand(source, event);
}

TableUpdate OWndInsert::Insert() {
    PlayerName() = nameEdit_ ? nameEdit_->GetText() : kAnonymous;
    const std::string line = Today() + "\t" + RecordedName(PlayerName()) + "\t" + std::to_string(skill_ + 1) +
                             "\t" + std::to_string(score_);
    return UpdateTableFile(DataFilePath(kTableFile), [&](TScoresTable& table) { table.AddLine(line); });
}
