#pragma once
#include <string>

#include "ui/OControl.h"

class OClip;
class OText;

// A button: three looks cut from clip files (normal, highlighted, pressed) and a caption centred on
// them. The looks and the caption are the button's first children, in that order; any change inside
// the button redraws the whole button.
//
// Owns its looks and caption (as children). Released with Destroy; main thread for input, the
// window's lock for everything.
class OButton : public OControl {
  public:
    // The looks from one clip file (or `defaultClipFile` when that is absent or fails to load): the
    // normal look from frame `normal` up to the highlight frame, the highlighted look up to the
    // pressed frame, the pressed look to the end (see button_looks::Ranges for short clips).
    OButton(const std::string& caption, const std::string& clipFile, int normal, int highlight, int pressed,
            bool focusable, const std::string& defaultClipFile = kDefaultClip);
    // Each look from its own clip file; a look whose file fails to load takes one frame of the
    // default clip instead (an absent highlight or pressed file leaves that look empty).
    OButton(const std::string& caption, const std::string& normalFile, const std::string& highlightFile,
            const std::string& pressedFile, bool focusable,
            const std::string& defaultClipFile = kDefaultClip);

    // Each look one frame of an already loaded clip (a check box cut from one clip file); a frame the
    // clip lacks leaves that look empty. Caption height 36, as for the buttons built from files.
    OButton(const std::string& caption, OClip& frames, int normal, int highlight, int pressed,
            bool focusable);

    static constexpr const char* kDefaultClip = "CLP\\def_btn.clp";

    void SetText(const std::string& text) override;
    std::string GetText() override;
    void Reset() override;
    OGraph* Clone() override;
    void UpdateState() override;
    void NotifyChange(OGraph* drawable, bool& handled, uint8_t kind, const ORect* rect) override;

    // Makes this a copy of `source` and finds its looks and caption among the copied children.
    bool CopyFrom(OGraph* source);

    OClip* NormalLook() const { return normalLook_; }
    OClip* HoverLook() const { return hoverLook_; }
    OClip* PressedLook() const { return pressedLook_; }
    OText* Caption() const { return caption_; }
    // The look on show: 0 normal, 1 highlighted, 2 pressed; -1 when none is.
    int ShownLook() const;

  protected:
    ~OButton() override = default;

    // Building a copy: no looks loaded, the parts come with CopyFrom.
    struct Empty {};
    explicit OButton(Empty);

  private:
    void AddCaption(const std::string& text, int height);
    void ShowLook(OClip* look);
    void FinishLayout();

    OClip* normalLook_ = nullptr;
    OClip* hoverLook_ = nullptr;
    OClip* pressedLook_ = nullptr;
    OText* caption_ = nullptr;
};
