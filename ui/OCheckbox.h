#pragma once
#include <string>

#include "ui/OControl.h"

// A switch made of two controls (normally buttons): the unchecked one and the checked one, of which
// one is shown. Every input goes to the shown one; each of its Clicks shows the next, and the focus
// and the capture follow to it. The events of the shown control are raised again as the check box's
// own, before the look changes, so the owner sees a Click while the old child still shows.
//
// The clip's current index is the index of the shown child. Owns its children. Released with
// Destroy; main thread for input, the window's lock for everything.
class OCheckbox : public OControl {
  public:
    static constexpr const char* kDefaultClip = "CLP\\def_cbox.clp";

    // From two controls: `unchecked` shown, `checked` hidden. The clip file is not used by this form;
    // it is taken for the sake of the callers, who pass the default.
    OCheckbox(OControl* unchecked, OControl* checked, bool focusable,
              const std::string& clipFile = kDefaultClip);
    // From one clip file of 6 frames (or the default): frames 0 to 2 are the looks of the unchecked
    // button, 3 to 5 those of the checked one, both with `caption`.
    OCheckbox(const std::string& caption, const std::string& clipFile, bool focusable,
              const std::string& defaultClipFile = kDefaultClip);

    bool HitTest(int x, int y) override;
    void OnMouseMove(int x, int y) override;
    void OnPress(int code, int x, int y) override;
    void OnRelease(int code, int x, int y) override;
    void OnChar(uint8_t character) override;
    void OnCaptureChanged(OGraph* control) override;
    void OnFocusChanged(OGraph* control) override;
    void Notify(OControl* source, int event) override;
    void SetText(const std::string& text) override;
    std::string GetText() override;

    // The index of the shown child: 0 unchecked, 1 checked.
    int Index() const { return CurrentIndex(); }
    // Shows child `index` (nothing for an index outside the children); focus and capture stay.
    void SetIndex(int index);
    // Hides the shown child and shows the next one (wrapping); the focus and the capture move to it.
    void ShowNext();
    // The shown child when it is a control; none otherwise.
    OControl* ShownControl() const;

  protected:
    ~OCheckbox() override = default;

  private:
    OGraph* ShownChild() const;
    bool IsChild(const OGraph* graph) const;
};
