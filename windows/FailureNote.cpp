#include "windows/FailureNote.h"

#include "engine/OWindow.h"
#include "ui/OLongText.h"
#include "ui/OText.h"

namespace {

std::string Reason(TableUpdate update) {
    switch (update) {
        case TableUpdate::Unreadable:
            return "the score file could not be read.";
        case TableUpdate::NotWritten:
            return "the score file could not be written.";
        case TableUpdate::Saved:
            break;
    }
    return {};
}

}  // namespace

void FailureNote::Show(OWindow& window, const std::string& lead, TableUpdate update, int32_t top,
                       int32_t margin) {
    const std::string text = lead + ": " + Reason(update);
    if (text == text_) return;
    for (OText* word : words_) word->Destroy();
    words_.clear();
    text_ = text;
    OLongText layout(&window);
    layout.y = top;
    layout.left = margin;
    layout.x = margin;
    layout.right = static_cast<int32_t>(window.ClientWidth()) - margin;
    layout.align = 3;
    layout.font.height = kFontHeight;
    layout.font.colour = kColour;
    // Each part on lines of its own: the flow keeps a text's last word on its line even past the
    // band's edge, which a single long text would hit in these narrow dialogs.
    words_ = layout.LayOut(lead + ":");
    for (OText* word : layout.LayOut(Reason(update))) words_.push_back(word);
}
