#pragma once
#include <cstdint>
#include <string>

#include "graphics/ControlInput.h"
#include "ui/ControlEvents.h"
#include "ui/OGroup.h"

class OWindow;

// Base of every interactive element: a group that keeps the state bits (ControlState) fed by the
// window's mouse and keyboard routing, turns their changes into events (ControlEvent), plays the
// hover and click sounds, and hands each event to the control it belongs to or, at the top, to the
// window's OnCommand.
//
// OnCommand's source is a number: a control's CommandId, unique for the process. A window compares
// it with the ids of its own controls, or finds the control with FromCommandId.
//
// Input operations run on the main thread with the window locked; a Compose started from
// UpdateState takes the same re-entrant lock. Released with Destroy like every OGraph.
class OControl : public OGroup, public ControlInput {
  public:
    OControl();

    // The control's own operations, in slot order. Coordinates are relative to the control.
    bool HitTest(int x, int y) override;
    virtual void SetText(const std::string& text);
    virtual std::string GetText();
    virtual void UpdateState();
    void OnCaptureChanged(OGraph* control) override;
    void OnMouseMove(int x, int y) override;
    void OnFocusChanged(OGraph* control) override;
    void OnPress(int code, int x, int y) override;
    void OnRelease(int code, int x, int y) override;
    void OnChar(uint8_t character) override;
    virtual void Notify(OControl* source, int event);

    void Reset() override;
    OGraph* Clone() override;
    void SetVisible(bool visible) override;

    GraphKind Kind() const override { return GraphKind::Control; }
    ControlInput* AsControl() override { return this; }
    bool IsFocusable() const override { return focusable_; }
    void SetFocusable(bool on) { focusable_ = on; }

    // Both sounds at once (an empty name plays nothing), copied into the control. Dialogs give their
    // buttons "WAV\\over.wav" for both.
    void SetSounds(const std::string& hover, const std::string& click);
    const std::string& HoverSound() const { return hoverSound_; }
    const std::string& ClickSound() const { return clickSound_; }

    uint32_t State() const { return state_; }
    uint32_t PrevState() const { return prevState_; }
    int CommandId() const { return commandId_; }
    // The live control with this id, or none.
    static OControl* FromCommandId(int id);

    // Makes this a copy of `source`: the group, both sounds and the focusable flag.
    bool CopyFrom(OGraph* source);

  protected:
    ~OControl() override;

    void SetStateBits(uint32_t bits) { state_ |= bits; }
    void ClearStateBits(uint32_t bits) { state_ &= ~bits; }
    // The check box mirrors its shown child: both words at once, so no event is raised for it.
    void CopyStateFrom(const OControl& other) {
        state_ = other.state_;
        prevState_ = other.state_;
    }
    bool StateChanged() const { return state_ != prevState_; }
    // True when the control is attached to a window that still exists.
    OWindow* LiveWindow() const;

  private:
    void PlaySound(const std::string& name) const;

    uint32_t prevState_ = 0;
    std::string hoverSound_;
    std::string clickSound_;
    uint32_t state_ = 0;
    bool focusable_ = false;
    int commandId_;
};
