#pragma once
#include <cstdint>
#include <string>

#include "ui/OButton.h"

class OClip;

// An edit field: a button whose caption is the editable text, with a blinking caret (a 3-pixel bar
// shown for 250 ms and hidden for 250 ms) while it has the focus. The text scrolls sideways so that
// the caret stays in the box. Keys: Home, End, Left, Right, Backspace, Delete; characters from 32 up
// are typed in; a click places the caret. No length limit of its own.
//
// Owns its caret (its fifth child). Released with Destroy; main thread for input, the window's lock
// for everything.
class OEdit : public OButton {
  public:
    static constexpr const char* kDefaultClip = "CLP\\def_edit.clp";

    OEdit(const std::string& text, const std::string& clipFile, int normal, int highlight, int pressed,
          bool focusable, const std::string& defaultClipFile = kDefaultClip);

    void AttachToWindow(GraphHost* window) override;
    OGraph* Clone() override;
    void UpdateState() override;
    void OnPress(int code, int x, int y) override;
    void OnChar(uint8_t character) override;

    bool CopyFrom(OGraph* source);

    // Moves the caret to `index` (held to 0 ... length) and scrolls the text to keep it in view.
    void SetCursor(int index);
    // Removes character `index` (nothing outside the text); a caret after it moves back with it.
    void DeleteChar(int index);

    int Cursor() const { return cursor_; }
    bool Dirty() const { return dirty_; }
    OClip* Caret() const { return caret_; }

  protected:
    ~OEdit() override = default;

    explicit OEdit(Empty);

  private:
    void BuildCaret(int height);

    int cursor_ = 0;
    bool dirty_ = true;
    OClip* caret_ = nullptr;
};
