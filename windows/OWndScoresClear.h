#pragma once
#include <cstdint>

#include "windows/FailureNote.h"
#include "ui/OWndYesNo.h"

class OWndScores;

// "All records will be deleted!" "Are you sure?": the confirmation the score window asks before it
// clears the current skill's results. Yes clears them at once, through the score window that opened
// it; No and Escape leave everything as it was. When the clear cannot be saved (the file cannot be
// read, or not written) nothing is deleted and the dialog stays open with a note saying so: Yes
// tries again, No and Escape leave.
//
// Opened by the score window on the main thread, as a dialog over it.
class OWndScoresClear : public OWndYesNo {
  public:
    static constexpr int kWidth = 345;
    static constexpr int kHeight = 180;

    explicit OWndScoresClear(OWndScores* owner);

    void BuildContents() override;
    void OnPress(int code, int x, int y) override;
    void OnCommand(int source, int event) override;

    const FailureNote& Note() const { return note_; }

  protected:
    ~OWndScoresClear() override = default;

  private:
    OWndScores* owner_;
    // Answered and closing: a Yes handled after No or Escape, before the close is carried out,
    // clears nothing.
    bool answered_ = false;
    // Where the note goes: below the question.
    int32_t noteTop_ = 0;
    FailureNote note_;
};
