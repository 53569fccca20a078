#include "windows/OWndHelp.h"

#include <string>

#include "graphics/OClip.h"
#include "ui/OButton.h"
#include "ui/OLongText.h"
#include "windows/GameAnswer.h"

namespace {
struct Sample {
    const char* file;
    float x, y;
};

// The red creatures in the first row, the eatable ones in the second, over their point labels.
constexpr Sample kSamples[] = {
    {"CLP\\1-enemy0.clp", 110, 160}, {"CLP\\1-sun0.clp", 240, 160}, {"CLP\\2-sun1.clp", 370, 160},
    {"CLP\\3-fly1.clp", 20, 287},    {"CLP\\2-fly0.clp", 120, 287}, {"CLP\\1-fly0.clp", 220, 287},
    {"CLP\\4-fly1.clp", 320, 287},   {"CLP\\heart0.clp", 420, 287},
};
constexpr const char* kHeart = "CLP\\heart0.clp";

// Under the second row: each "+" below its picture.
std::string PointLabels() {
    auto spaces = [](size_t n) { return std::string(n, ' '); };
    return spaces(14) + "+ 15" + spaces(18) + "+ 10" + spaces(18) + "+ 5" + spaces(23) + "+ 5" + spaces(19) +
           "+ life";
}
}  // namespace

OWndHelp::OWndHelp(OWindow* parent) : OWndYesNo(parent) { AnswerIntoGameState(*this); }

void OWndHelp::BuildContents() {
    const float w = ClientWidth(), h = ClientHeight();
    noButton = MakeButton("CLP\\btPlay.clp");
    noButton->SetPosition(w - noButton->Width() - 40, h - noButton->Height() - 10, 0);
    AddGraph(noButton);
    AddSamples();
    AddText();
    // Enter or Escape closes the window at once.
    FocusGraph(noButton);
}

void OWndHelp::AddSamples() {
    for (const Sample& sample : kSamples) {
        auto* clip = new OClip();
        if (!clip->Load(sample.file)) {  // leaves a gap
            clip->Destroy();
            continue;
        }
        clip->SetPosition(sample.x, sample.y, 0);
        if (std::string(sample.file) == kHeart) clip->HoldAt(0);
        AddGraph(clip);
    }
}

// Each text is laid out by its own call, so each starts a line; leading spaces indent by a space's
// width each, and a text of two spaces makes an empty line.
void OWndHelp::AddText() {
    OLongText text(this);
    text.x = 30;
    text.y = 27;
    text.left = 30;
    text.align = 1;
    text.font.height = 18;
    text.font.colour = 0;
    const char* before[] = {
        "  Now, how do you like playing a little green frog? Your lovely home pond has ",
        "become quite a dangerous place lately. Leaves are sinking, bad neighbors ",
        "are trying to topple you over, and all that when you even cannot swim! So, you ",
        "have to keep afloat jumping from leaf to leaf. And, thankfully, there are ",
        "yellow islets - nobody will touch you while you are resting there.",
        "  Please use the Arrow Keys to move the frog; hitting the Space-bar will  ",
        "pause the game.",
        "  There are some red creatures in the pond, and none of them is your friend: ",
        "  ",
        "  ",
        "  ",
        "Beware of red frogs, they grow more and more canny and pushy with every ",
        "level you complete.",
        "  All the other flying and crawling things are not only quite eatable,  but are",
        "very nourishing indeed, as you can gain lots of points for them up:",
        "  ",
    };
    for (const char* line : before) text.LayOut(line);
    text.LayOut(PointLabels());
    text.LayOut("  ");
    // Below the pictures, whatever height the lines above took.
    text.y = 357;
    const char* after[] = {
        "  One more important thing. The islets will slowly sink too, one by one. When only ",
        "one is left, try and leap upon it - then you will obtain a bonus frog life.",
        "  When you feel the game is getting too simple for you, just go into Options ",
        "and pick the level that matches your skill.",
    };
    for (const char* line : after) text.LayOut(line);
}
