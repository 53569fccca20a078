#include "tools/assetgen/UiArt.h"

#include <cmath>
#include <string>
#include <vector>

#include "tools/assetgen/ArtKit.h"
#include "tools/assetgen/PondArt.h"

namespace assetgen {
namespace {

enum Look { kNormal, kHighlight, kPressed };

struct ButtonSpec {
    const char* file;
    const char* word;
    int width, height;
    double textSize;
    Rgb standOn;
};

// Panel buttons fit the 100-pixel panel, top-row buttons the 50-pixel bar (under the panel's
// first button at y 35), dialog buttons three in a row in the 355-pixel score window.
const ButtonSpec kButtons[] = {
    {"btNew", "New", 92, 30, 16, kPanel},        {"btOptions", "Options", 92, 30, 16, kPanel},
    {"btTop10", "Top 10", 92, 30, 16, kPanel},   {"btGames", "Games", 92, 30, 16, kPanel},
    {"btHelp", "Help", 58, 30, 15, kPanel},      {"btDown", "", 30, 30, 15, kPanel},
    {"btExit", "Exit", 58, 30, 15, kPanel},      {"btYes", "Yes", 90, 34, 18, kWindowBackground},
    {"btNo", "No", 90, 34, 18, kWindowBackground}, {"btPlay", "Play", 90, 34, 18, kWindowBackground},
    {"btOK", "OK", 90, 34, 18, kWindowBackground}, {"btCancel", "Cancel", 90, 34, 18, kWindowBackground},
    {"btClose", "Close", 90, 34, 18, kWindowBackground}, {"btPublish", "Publish", 90, 34, 18, kWindowBackground},
    {"btClear", "Clear", 90, 34, 18, kWindowBackground}, {"def_btn", "", 90, 34, 18, kWindowBackground},
};

void ButtonFace(cairo_t* cr, double w, double h, Look look) {
    const Rgb top[] = {{108, 174, 76}, {146, 210, 100}, {46, 102, 38}};
    const Rgb bottom[] = {{50, 114, 40}, {72, 146, 54}, {84, 150, 62}};
    RoundedRect(cr, 0.5, 0.5, w - 1, h - 1, std::min(8.0, h / 3));
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, h);
    AddStop(g, 0, top[look]);
    AddStop(g, 1, bottom[look]);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    SetRgb(cr, Rgb{22, 56, 20});
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    if (look == kPressed) {
        RoundedRect(cr, 2, 2, w - 4, h - 4, std::min(6.5, h / 3 - 1));
        SetRgb(cr, Rgb{10, 30, 10}, 0.35);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
    } else {
        cairo_move_to(cr, 7, 2.2);
        cairo_line_to(cr, w - 7, 2.2);
        SetRgb(cr, Rgb{255, 255, 255}, look == kHighlight ? 0.55 : 0.35);
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
    }
    if (look == kHighlight) {
        RoundedRect(cr, 1.8, 1.8, w - 3.6, h - 3.6, std::min(6.5, h / 3 - 1));
        SetRgb(cr, Rgb{255, 236, 120}, 0.7);
        cairo_set_line_width(cr, 1.4);
        cairo_stroke(cr);
    }
}

void ButtonWord(cairo_t* cr, const ButtonSpec& button, Look look) {
    const double shift = look == kPressed ? 1 : 0;
    const double cx = button.width / 2.0 + shift, cy = button.height / 2.0 + shift;
    const Rgb ink = look == kHighlight ? Rgb{255, 248, 176} : kCream;
    if (std::string(button.file) == "btDown") {
        // Minimise: a bar along the bottom.
        RoundedRect(cr, cx - 7, cy + 4, 14, 4, 1.5);
        SetRgb(cr, Rgb{20, 50, 20}, 0.6);
        cairo_set_line_width(cr, 2);
        cairo_stroke_preserve(cr);
        SetRgb(cr, ink);
        cairo_fill(cr);
        return;
    }
    if (!*button.word) return;
    CenteredText(cr, button.word, cx, cy, button.textSize, true);
    SetRgb(cr, Rgb{16, 46, 16}, 0.75);
    cairo_set_line_width(cr, 2.4);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
    SetRgb(cr, ink);
    cairo_fill(cr);
}

Picture ButtonPicture(const ButtonSpec& button, Look look) {
    Canvas canvas(button.width, button.height);
    ButtonFace(canvas.cr(), button.width, button.height, look);
    ButtonWord(canvas.cr(), button, look);
    return canvas.ToSprite(kSpriteKey, button.standOn);
}

// A pale rounded field (edit fields and score cells).
Picture Field(int w, int h, Rgb fill, Look look) {
    Canvas canvas(w, h);
    cairo_t* cr = canvas.cr();
    RoundedRect(cr, 1, 1, w - 2, h - 2, 6);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, h);
    AddStop(g, 0, Mix(fill, Rgb{255, 255, 255}, 0.4));
    AddStop(g, 1, fill);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    SetRgb(cr, look == kNormal ? Rgb{120, 104, 70} : Rgb{222, 150, 30});
    cairo_set_line_width(cr, look == kNormal ? 1.2 : 2.2);
    cairo_stroke(cr);
    return canvas.ToSprite(kSpriteKey, kWindowBackground);
}

Picture CheckBox(Look look, bool checked) {
    Canvas canvas(40, 40);
    cairo_t* cr = canvas.cr();
    RoundedRect(cr, 5, 5, 30, 30, 5);
    SetRgb(cr, look == kPressed ? Rgb{214, 214, 196} : Rgb{248, 246, 232});
    cairo_fill_preserve(cr);
    SetRgb(cr, look == kHighlight ? Rgb{222, 150, 30} : Rgb{34, 80, 30});
    cairo_set_line_width(cr, look == kHighlight ? 2.4 : 1.6);
    cairo_stroke(cr);
    if (checked) {
        cairo_move_to(cr, 11, 20);
        cairo_line_to(cr, 18, 28);
        cairo_line_to(cr, 30, 11);
        SetRgb(cr, Rgb{40, 130, 40});
        cairo_set_line_width(cr, 4.2);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(cr);
    }
    return canvas.ToSprite(kSpriteKey, kWindowBackground);
}

// The option switches: a small leaf (off) or a small frog on its leaf (on); the highlight adds a
// light ring.
Picture SmallSwitch(bool frog, bool highlight) {
    Canvas canvas(44, 44);
    cairo_t* cr = canvas.cr();
    cairo_translate(cr, 22, 22);
    if (highlight) {
        cairo_arc(cr, 0, 0, 20, 0, 2 * kPi);
        SetRgb(cr, Rgb{255, 244, 150});
        cairo_set_line_width(cr, 3);
        cairo_stroke(cr);
    }
    DrawLeaf(cr, 0, 0.58);
    if (frog) {
        cairo_scale(cr, 0.62, 0.62);
        DrawSmallFrog(cr, false);
    }
    return canvas.ToSprite(kSpriteKey, kWindowBackground);
}

Picture TitleSign() {
    Canvas canvas(200, 44);
    cairo_t* cr = canvas.cr();
    RoundedRect(cr, 1, 1, 198, 42, 10);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, 44);
    AddStop(g, 0, Rgb{140, 100, 58});
    AddStop(g, 1, Rgb{92, 62, 34});
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    SetRgb(cr, Rgb{56, 36, 18});
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    for (int i = 0; i < 3; ++i) {
        cairo_move_to(cr, 12, 12 + i * 10);
        cairo_line_to(cr, 188, 12 + i * 10 + (i - 1) * 1.5);
        SetRgb(cr, Rgb{70, 46, 24}, 0.35);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
    CenteredText(cr, "Top 10", 100, 22, 26, true);
    SetRgb(cr, Rgb{40, 24, 10});
    cairo_set_line_width(cr, 3);
    cairo_stroke_preserve(cr);
    SetRgb(cr, Rgb{255, 232, 150});
    cairo_fill(cr);
    return canvas.ToSprite(kSpriteKey, kWindowBackground);
}

Picture Rule(int w, int h) {
    Canvas canvas(w, h);
    RoundedRect(canvas.cr(), 0.5, 0.5, w - 1, h - 1, h / 2.0 - 0.5);
    SetRgb(canvas.cr(), Rgb{40, 96, 36});
    cairo_fill(canvas.cr());
    return canvas.ToSprite(kSpriteKey, kWindowBackground);
}

// Grass down to a wavy water line; `edge` gives the distance of the water line from the grass side
// at position t along the piece.
double Wave(double t, double base, double seed) {
    return base + 2.6 * std::sin(t / 23.0 + seed) + 1.6 * std::sin(t / 7.3 + 2 * seed);
}

void Grass(cairo_t* cr, double w, double h, uint32_t seed) {
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, w, h);
    AddStop(g, 0, Rgb{94, 150, 64});
    AddStop(g, 1, Rgb{74, 128, 52});
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    cairo_save(cr);
    cairo_clip(cr);
    Lcg rng(seed);
    cairo_set_line_width(cr, 1.1);
    for (int i = 0; i < static_cast<int>(w * h / 18); ++i) {
        const double x = rng.Range(0, w), y = rng.Range(0, h);
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + rng.Range(-2.5, 2.5), y - rng.Range(2, 6));
        SetRgb(cr, rng.Next() < 0.5 ? Rgb{130, 190, 90} : Rgb{46, 96, 38}, 0.55);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

// One shore piece; `side` 0 grass on top (water below), 1 grass below, 2 grass left, 3 grass right.
Picture Shore(int w, int h, int side, double base, uint32_t seed) {
    Canvas canvas(w, h);
    cairo_t* cr = canvas.cr();
    const bool horizontal = side < 2;
    const int length = horizontal ? w : h;
    auto point = [&](int t, double d) {
        switch (side) {
            case 0: cairo_line_to(cr, t, d); break;
            case 1: cairo_line_to(cr, t, h - d); break;
            case 2: cairo_line_to(cr, d, t); break;
            default: cairo_line_to(cr, w - d, t); break;
        }
    };
    auto outline = [&](double extra) {
        cairo_new_path(cr);
        point(0, 0);
        for (int t = 0; t <= length; t += 2) point(t, Wave(t, base, seed) + extra);
        point(length, 0);
        cairo_close_path(cr);
    };
    outline(0);
    SetRgb(cr, Rgb{222, 204, 150});  // a sandy rim at the water line
    cairo_fill(cr);
    outline(-2.5);
    Grass(cr, w, h, seed);
    return canvas.ToSprite(kShoreKey, kWindowBackground);
}

// The options window lays this strip at y 158, between its switches (down to y 144) and the
// "Skills" heading at y 172: a narrow grass bank with a sandy rim on both sides.
Picture MiddleShore() {
    Canvas canvas(600, 12);
    cairo_t* cr = canvas.cr();
    auto band = [&](double halfWidth) {
        cairo_new_path(cr);
        for (int t = 0; t <= 600; t += 2) cairo_line_to(cr, t, 6 - halfWidth - 0.4 * Wave(t, 0, 1));
        for (int t = 600; t >= 0; t -= 2) cairo_line_to(cr, t, 6 + halfWidth + 0.4 * Wave(t, 0, 2.3));
        cairo_close_path(cr);
    };
    band(3.6);
    SetRgb(cr, Rgb{222, 204, 150});
    cairo_fill(cr);
    band(2.2);
    Grass(cr, 600, 12, 77);
    return canvas.ToSprite(kShoreKey, kWindowBackground);
}

Picture Line(int w, int h) {
    w *= DrawingScale();
    h *= DrawingScale();
    Picture p(w, h, KeyValue(kSpriteKey));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p.Set(x, y, Rgb{28, 52, 28});
    return p;
}

}  // namespace

void AddButtons(AssetSet& assets) {
    for (const ButtonSpec& button : kButtons) {
        std::vector<Picture> looks;
        for (Look look : {kNormal, kHighlight, kPressed}) looks.push_back(ButtonPicture(button, look));
        assets.AddClip(button.file, ClipData::Sequence(std::move(looks), 10));
    }
}

void AddControls(AssetSet& assets) {
    std::vector<Picture> box;
    for (bool checked : {false, true})
        for (Look look : {kNormal, kHighlight, kPressed}) box.push_back(CheckBox(look, checked));
    assets.AddClip("def_cbox", ClipData::Sequence(std::move(box), 10));

    const Rgb paper{246, 238, 212};
    std::vector<Picture> edit, name;
    for (Look look : {kNormal, kHighlight, kPressed}) {
        edit.push_back(Field(200, 36, Rgb{250, 250, 244}, look));
        name.push_back(Field(200, 40, paper, look));
    }
    assets.AddClip("def_edit", ClipData::Sequence(std::move(edit), 10));
    assets.AddClip("ScoreName", ClipData::Sequence(std::move(name), 10));
    assets.AddClip("ScoreVal", ClipData::Sequence({Field(100, 40, Rgb{236, 224, 190}, kNormal)}, 10));

    assets.AddClip("smleav", ClipData::Sequence({SmallSwitch(false, false), SmallSwitch(false, true)}, 10));
    assets.AddClip("smfrog", ClipData::Sequence({SmallSwitch(true, false), SmallSwitch(true, true)}, 10));
    assets.AddClip("top", ClipData::Sequence({TitleSign()}, 10));
    assets.AddClip("bar", ClipData::Sequence({Rule(240, 6)}, 10));
}

void AddDialogFrames(AssetSet& assets) {
    // Long enough for the widest (the help window, 640) and tallest (550) windows; a piece is placed
    // once, never repeated, and what passes the window's edge is cut off.
    assets.AddClip("ShoreUp", ClipData::Sequence({Shore(660, 48, 0, 36, 11)}, 10));
    assets.AddClip("ShoreDown", ClipData::Sequence({Shore(660, 24, 1, 14, 12)}, 10));
    assets.AddClip("ShoreLeft", ClipData::Sequence({Shore(25, 560, 2, 15, 13)}, 10));
    assets.AddClip("ShoreRight", ClipData::Sequence({Shore(25, 560, 3, 15, 14)}, 10));
    assets.AddClip("ShoreMiddle", ClipData::Sequence({MiddleShore()}, 10));
    assets.AddClip("VerBord", ClipData::Sequence({Line(2, 560)}, 10));
    assets.AddClip("HorBord", ClipData::Sequence({Line(660, 2)}, 10));
}

}  // namespace assetgen
