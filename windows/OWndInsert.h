#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "windows/FailureNote.h"
#include "ui/OWndYesNo.h"

class OEdit;

// The enter-name window the game opens after every game over: "Congratulation", the score, and an
// edit field with a name to offer. Yes records the result in the score table with today's date;
// No and Escape record nothing. Either way the game then starts a new game.
//
// The name offered is the last name entered in this run, else the best name at the current skill
// in the table, else "Anonymous"; it is held whole, however long. A name offered but not recorded
// (No, Escape) is not taken for an entered one. A name is cut to kMaxRecordedName characters when
// it is recorded, so the table stays readable.
//
// Opened by the game window on the main thread, as a dialog over it. The game state (score, skill)
// is read while the game window is paused by this one.
class OWndInsert : public OWndYesNo {
  public:
    static constexpr int kWidth = 280;
    static constexpr int kHeight = 280;
    static constexpr size_t kMaxRecordedName = 40;

    explicit OWndInsert(OWindow* parent);

    void BuildContents() override;
    void OnCommand(int source, int event) override;

    OEdit* NameEdit() const { return nameEdit_; }
    const FailureNote& Note() const { return note_; }

    // The last name entered in this run (empty until the first Yes, and after a Yes with an empty
    // field). Main thread.
    static std::string& PlayerName();

  protected:
    ~OWndInsert() override = default;

  private:
    std::string OfferedName() const;
    TableUpdate Insert();

    OEdit* nameEdit_ = nullptr;
    int32_t score_ = 0;  // the score shown, which is the score recorded
    int32_t skill_ = 0;
    FailureNote note_;
};
