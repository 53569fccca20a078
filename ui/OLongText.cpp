#include "ui/OLongText.h"

#include "engine/OWindow.h"
#include "ui/OText.h"
#include "ui/WordFlow.h"

OLongText::OLongText(OWindow* targetWindow) : window(targetWindow) {
    font.height = 18;
    if (window) {
        right = static_cast<int32_t>(window->ClientWidth());
        bottom = static_cast<int32_t>(window->ClientHeight());
    }
}

void OLongText::ApplyFont(OText& text) const {
    text.SetFont(font);
}

std::vector<OText*> OLongText::LayOut(const std::string& text) {
    std::vector<OText*> placed;
    if (text.empty() || !window || !OWindow::Exists(window)) return placed;
    window->Lock();
    // Each word is measured in the window when it is added; the flow then needs only the sizes.
    std::vector<word_flow::Word> sizes;
    for (const std::string& word : word_flow::SplitWords(text)) {
        auto* t = new OText();
        ApplyFont(*t);
        t->SetText(word);
        t->SetPosition(static_cast<float>(x), static_cast<float>(y), 0);
        window->AddGraph(t);
        placed.push_back(t);
        sizes.push_back({t->Width(), t->Height()});
    }
    word_flow::Band band{x, y, left, right, align};
    const std::vector<word_flow::Point> at = word_flow::Flow(band, sizes);
    for (size_t i = 0; i < placed.size(); ++i)
        placed[i]->SetPosition(static_cast<float>(at[i].x), static_cast<float>(at[i].y), 0);
    x = band.x;
    y = band.y;
    window->Unlock();
    return placed;
}
