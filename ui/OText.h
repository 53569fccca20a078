#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "graphics/FontRecord.h"
#include "graphics/OBitmap.h"

// One line of text in one font: button captions, edit-field contents, labels and the words of a
// text block. It has no pixels of its own; its Draw writes the text straight into the window's
// picture inside Compose. The size follows the measured text while autoSize is set.
//
// Measuring needs the window's fonts: unattached, the measured extent is simply the current size, so
// a new text takes its measured size when it is attached. Character geometry is measured on whole
// prefixes of the text. Ownership and threads as for every OGraph (Destroy, the window's lock).
class OText : public OBitmap {
  public:
    struct CharBox {
        int startX = 0;  // relative to the first visible character
        int endX = 0;
        int top = 0;
        int bottom = 0;
    };

    explicit OText(const std::string& text = "");

    void SetText(const std::string& text);
    const std::string& GetText() const { return text_; }
    // textWidth and textHeight from the window's fonts; the current size when not attached.
    void Measure();

    void Reset() override;
    void AttachToWindow(GraphHost* window) override;
    OGraph* Clone() override;
    // With autoSize the requested size is replaced by the measured one.
    void SetSize(float width, float height, float depthExtent) override;
    void Draw(const ORect* rect) override;
    // The text is written over what lies below it, never hiding all of an area.
    bool IsOpaqueOver(const ORect&, int32_t) const override { return false; }

    // Makes this a copy of `source` (pixels as OBitmap, plus text, font, measured size and autoSize).
    bool CopyFrom(OGraph* source);

    // Start and end x of character `index`; see the class comment for how they are measured.
    CharBox CharGeometry(int index);
    // The first character from the first visible one whose span holds x; the length when none does.
    int CharAt(int x);
    void SetFirstVisible(int index);
    // The last character, from the first visible one on, that ends inside the object's width.
    int LastVisible();

    int FirstVisible() const { return firstVisible_; }
    float TextWidth() const { return textWidth_; }
    float TextHeight() const { return textHeight_; }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on) { autoSize_ = on; }
    int SelStart() const { return selStart_; }
    int SelEnd() const { return selEnd_; }
    // The range drawn inverted; a == b shows none.
    void SetSelection(int a, int b);
    const graphics::FontRecord& Font() const { return font_; }
    // Takes a new font and measures again (the size follows it with autoSize).
    void SetFont(const graphics::FontRecord& font);

  protected:
    ~OText() override = default;

  private:
    // Widths of every prefix of the text, 0 to the whole (length + 1 values); empty when unattached.
    std::vector<int> PrefixWidths();
    void FitToText();
    void Report();

    std::string text_;
    float textWidth_ = 0;
    float textHeight_ = 0;
    int selStart_ = 0;
    int selEnd_ = 0;
    int firstVisible_ = 0;
    graphics::FontRecord font_;
    bool autoSize_ = true;
};
