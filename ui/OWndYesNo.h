#pragma once
#include <functional>
#include <utility>
#include <string>

#include "engine/OWindow.h"
#include "ui/DialogAnswer.h"
#include "ui/OLongText.h"

class OButton;

// The base of the small dialogs over the game window: a frame of shore and border pictures, a Yes
// (or OK/Play) button and usually a No button, and an answer (DialogAnswer: yes, or no for No and
// Escape) handed on when it closes to whoever set the answer sink; the toolkit keeps none of it. Subclasses build their buttons and texts in BuildContents, store
// them in yesButton/noButton, add them and focus one.
//
// Created by its opener on the main thread with the game window as parent (which the dialog pauses
// while it is open), started at once; it closes itself and is torn down by its own game thread. The
// answer is written by its input handlers on the main thread while the game window stands still.
class OWndYesNo : public OWindow {
  public:
    explicit OWndYesNo(OWindow* parent);

    // Frame, composition, contents, 12 frames a second, then the window's own Start. False, with
    // nothing built, for a dialog whose native window could not be created.
    bool Start() override;
    void OnPress(int code, int x, int y) override;
    void OnCommand(int source, int event) override;

    virtual void BuildContents();
    virtual void BuildFrame();

    // Where the answer goes when the dialog closes: called once, on the main thread.
    using AnswerSink = std::function<void(int answer)>;
    void SetAnswerSink(AnswerSink sink) { answerSink_ = std::move(sink); }

    OButton* YesButton() const { return yesButton; }
    OButton* NoButton() const { return noButton; }

    // The shore pieces' colour key: their sky-blue surround is not drawn.
    static constexpr uint32_t kShoreKey = 120034;
    static constexpr int kFrameRate = 12;

  protected:
    ~OWndYesNo() override = default;

    // Hands the answer to the sink and asks the window to close. A dialog answers once: a key or click
    // handled before the close has been carried out changes nothing.
    void Answer(int answer);
    // Whether Answer has been called.
    bool Answered() const { return answered_; }
    // A dialog button: empty caption, looks 0/1/2 of `clipFile` (default "CLP\def_btn.clp"), the hover
    // and click sound "WAV\over.wav", focusable. Not yet added.
    static OButton* MakeButton(const std::string& clipFile);
    // Yes left of the centre line and No right of it, 10 pixels from it and from the bottom.
    void PlaceTwoButtons(OButton* yes, OButton* no);
    // The Yes and No buttons of the yes/no dialogs ("CLP\btYes.clp", "CLP\btNo.clp"), placed, added,
    // Yes focused so that Enter answers yes at once.
    void AddYesNoButtons();
    // The record with which the yes/no dialogs lay out their question: centred in the window's width
    // from `y`, 28 pixels high, black.
    OLongText QuestionText(int32_t y);
    // Loads a frame piece and adds it at (x, y, depth); a piece that does not load is left out.
    // With `fromBottom`, y counts from the bottom edge up to the piece's bottom.
    void AddFramePiece(const std::string& clipFile, float x, float y, float depth, uint32_t key,
                       bool fromBottom = false);

    OButton* yesButton = nullptr;
    OButton* noButton = nullptr;

  private:
    bool answered_ = false;
    AnswerSink answerSink_;
};
