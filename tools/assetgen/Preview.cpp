#include "tools/assetgen/Preview.h"

#include <algorithm>
#include <filesystem>

#include "tools/assetgen/ArtKit.h"
#include "tools/assetgen/ContactSheet.h"

namespace assetgen {
namespace {

// The game's blend: key pixels leave the destination, others become s + t * (d - s) / 256.
void Blit(Picture& dst, const Picture& src, int x0, int y0, int t) {
    for (int y = 0; y < src.height; ++y) {
        for (int x = 0; x < src.width; ++x) {
            const int dx = x0 + x, dy = y0 + y;
            if (dx < 0 || dy < 0 || dx >= dst.width || dy >= dst.height || src.IsKey(x, y)) continue;
            const Rgb s = src.At(x, y), d = dst.At(dx, dy);
            auto ch = [t](int sc, int dc) { return static_cast<uint8_t>(sc + (t * (dc - sc)) / 256 - ((t * (dc - sc)) % 256 < 0 ? 1 : 0)); };
            dst.Set(dx, dy, t == 0 ? s : Rgb{ch(s.r, d.r), ch(s.g, d.g), ch(s.b, d.b)});
        }
    }
}

const Picture& FramePicture(const AssetSet& assets, const std::string& clip, int frame) {
    const ClipData& c = assets.Clip(clip);
    return c.pictures[static_cast<size_t>(c.frames[static_cast<size_t>(frame)].picture)];
}

int CellX(int c) { return c * 630 / 8 + 20; }
int CellY(int r) { return r * 480 / 6 + 50; }

bool SavePicture(const Picture& p, const std::string& path) {
    cairo_surface_t* s = PictureToSurface(p, false);
    const bool ok = cairo_surface_write_to_png(s, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(s);
    return ok;
}

void PlaceButtons(const AssetSet& assets, Picture& scene, int highlighted) {
    auto w = [&](const char* n) { return FramePicture(assets, n, 0).width; };
    auto h = [&](const char* n) { return FramePicture(assets, n, 0).height; };
    const int W = kWindowW;
    const int exitX = W - w("btExit") - 2, downX = exitX - w("btDown") - 2, helpX = downX - w("btHelp") - 2;
    Blit(scene, FramePicture(assets, "btExit", 0), exitX, 0, 0);
    Blit(scene, FramePicture(assets, "btDown", 0), downX, 0, 0);
    Blit(scene, FramePicture(assets, "btHelp", highlighted == 0 ? 1 : 0), helpX, 0, 0);
    const int ys[] = {35, h("btNew") + 40, h("btNew") + 45 + h("btOptions"),
                      h("btNew") + 50 + h("btOptions") + h("btTop10")};
    const char* names[] = {"btNew", "btOptions", "btTop10", "btGames"};
    for (int i = 0; i < 4; ++i)
        Blit(scene, FramePicture(assets, names[i], i == 0 ? 2 : (i == 1 ? 1 : 0)), W - w(names[i]) - 2, ys[i], 0);
}

}  // namespace

bool WritePondScene(const AssetSet& assets, const std::string& path) {
    Picture scene = assets.Bitmap("CLP/all.bmp");
    auto put = [&](const std::string& clip, int frame, int c, int r, int t = 0) {
        Blit(scene, FramePicture(assets, clip, frame), CellX(c), CellY(r), t);
    };
    // Islands at several stages, leaves of every kind at several frames.
    put("island0", 0, 4, 3);
    put("island0", 0, 1, 1);
    put("island0", 4, 6, 1);
    put("island0", 8, 2, 4);
    put("island0", 10, 5, 0);
    const int leaves[][4] = {{0, 2, 0, 0}, {1, 2, 1, 0}, {2, 2, 2, 0}, {3, 2, 3, 0}, {0, 0, 0, 2}, {1, 1, 1, 2},
                             {2, 5, 2, 2}, {3, 8, 3, 2}, {0, 11, 5, 2}, {1, 13, 6, 2}, {2, 14, 7, 2}, {3, 15, 7, 3},
                             {0, 4, 0, 4}, {1, 6, 1, 4}, {2, 3, 3, 4}, {3, 2, 4, 4}, {0, 2, 5, 4}, {1, 2, 6, 4},
                             {2, 9, 0, 5}, {3, 5, 1, 5}, {0, 7, 3, 5}, {1, 3, 5, 5}, {2, 2, 6, 5}, {3, 12, 7, 5},
                             {0, 2, 6, 3}, {1, 4, 0, 3}, {2, 2, 2, 3}, {3, 3, 4, 0}};
    for (const auto& l : leaves) put(std::to_string(l[0] + 1) + "-leave0", l[1], l[2], l[3]);
    put("heart0", 1, 1, 1);
    put("frog1", 0, 4, 3);
    put("1-enemy3", 0, 6, 4);
    put("1-enemy0", 5, 2, 3);
    put("1-fly0", 0, 1, 0);
    put("2-fly1", 1, 3, 0);
    put("3-fly2", 0, 5, 4);
    put("4-fly3", 2, 0, 4);
    put("1-sun1", 0, 6, 5);
    put("2-sun3", 1, 3, 4);
    put("waves0", 2, 7, 3, 200);
    put("waves0", 5, 2, 2, 200);
    put("waves0", 7, 3, 1, 200);
    // Waiting frogs in the panel, as the game lines them up.
    const Picture& waiting = FramePicture(assets, "frog0", 0);
    for (int n = 0; n < 7; ++n) {
        const int row = n / 2, col = n % 2;
        Blit(scene, waiting, kWindowW - 100 + 35 * col,
             static_cast<int>(kWindowH - waiting.height * 0.65 * (row + 1) - 20), 0);
    }
    const int digits[] = {0, 0, 7, 0, 0, 1, 2, 3, 5};
    for (int i = 0; i < 3; ++i) Blit(scene, FramePicture(assets, "digits", digits[i]), 150 + 30 * i, 3, 0);
    for (int i = 0; i < 6; ++i) Blit(scene, FramePicture(assets, "digits", digits[3 + i]), 400 + 30 * i, 3, 0);
    PlaceButtons(assets, scene, 0);
    return SavePicture(scene, path);
}

bool WriteDialogScene(const AssetSet& assets, const std::string& path) {
    // The quit dialog (280 x 185) and the options window (260 x 480) side by side, and the score
    // table (355 x 550), each on the window background with its frame.
    Picture scene(930, 560, 0);
    for (int y = 0; y < scene.height; ++y)
        for (int x = 0; x < scene.width; ++x) scene.Set(x, y, y < 5 || x % 310 < 5 ? Rgb{30, 30, 30} : kWindowBackground);
    auto frame = [&](int ox, int oy, int W, int H, int upY) {
        Blit(scene, FramePicture(assets, "ShoreLeft", 0), ox, oy, 0);
        Blit(scene, FramePicture(assets, "ShoreUp", 0), ox, oy + upY, 0);
        Blit(scene, FramePicture(assets, "ShoreRight", 0), ox + W - 25, oy, 0);
        const Picture& down = FramePicture(assets, "ShoreDown", 0);
        Blit(scene, down, ox, oy + H - down.height, 0);
        Blit(scene, FramePicture(assets, "VerBord", 0), ox, oy, 0);
        Blit(scene, FramePicture(assets, "HorBord", 0), ox, oy, 0);
        Blit(scene, FramePicture(assets, "VerBord", 0), ox + W - 2, oy, 0);
        Blit(scene, FramePicture(assets, "HorBord", 0), ox, oy + H - 2, 0);
    };
    // Cut every frame to its window by drawing into a window-sized picture first.
    auto window = [&](int ox, int oy, int W, int H, int upY, auto&& contents) {
        Picture w(W, H, 0);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) w.Set(x, y, kWindowBackground);
        std::swap(scene, w);
        frame(0, 0, W, H, upY);
        contents();
        std::swap(scene, w);
        Blit(scene, w, ox, oy, 0);
    };
    window(10, 10, 280, 185, -30, [&] {
        const Picture& yes = FramePicture(assets, "btYes", 1);
        Blit(scene, yes, 140 - yes.width - 10, 185 - yes.height - 10, 0);
        Blit(scene, FramePicture(assets, "btNo", 0), 150, 185 - yes.height - 10, 0);
    });
    window(10, 210, 260, 340, -10, [&] {
        Blit(scene, FramePicture(assets, "ShoreMiddle", 0), 0, 158, 0);
        Blit(scene, FramePicture(assets, "smleav", 0), 30, 50, 0);
        Blit(scene, FramePicture(assets, "smfrog", 1), 30, 100, 0);
        Blit(scene, FramePicture(assets, "smfrog", 0), 30, 227, 0);
        Blit(scene, FramePicture(assets, "smleav", 1), 30, 277, 0);
        Blit(scene, FramePicture(assets, "def_cbox", 4), 100, 50, 0);
    });
    window(320, 5, 355, 550, -10, [&] {
        Blit(scene, FramePicture(assets, "top", 0), (355 - 200) / 2, 0, 0);
        const Picture& name = FramePicture(assets, "ScoreName", 0);
        for (int i = 0; i < 10; ++i) {
            Blit(scene, FramePicture(assets, "ScoreName", i == 2 ? 1 : 0), 25, i * (name.height - 2) + 47, 0);
            Blit(scene, FramePicture(assets, "ScoreVal", 0), 25 + name.width, i * (name.height - 2) + 47, 0);
        }
        const Picture& pub = FramePicture(assets, "btPublish", 0);
        const int px = (355 - pub.width) / 2, y = 550 - pub.height - 10;
        Blit(scene, pub, px, y, 0);
        Blit(scene, FramePicture(assets, "btClose", 2), px - 90 - 10, y, 0);
        Blit(scene, FramePicture(assets, "btClear", 0), px + pub.width + 10, y, 0);
    });
    window(690, 10, 230, 200, -30, [&] {
        Blit(scene, FramePicture(assets, "def_edit", 1), 15, 60, 0);
        Blit(scene, FramePicture(assets, "btPlay", 0), 70, 150, 0);
    });
    return SavePicture(scene, path);
}

bool WritePreviews(const AssetSet& assets, const std::string& folder) {
    std::filesystem::create_directories(folder);
    std::vector<std::pair<std::string, const ClipData*>> creatures, pond, buttons, interface;
    for (const auto& [name, clip] : assets.clips()) {
        const bool isButton = name.rfind("bt", 0) == 0 || name.rfind("def_", 0) == 0;
        const bool isPond = name.find("leave") != std::string::npos || name == "island0" || name == "digits";
        const bool isCreature = name.find("frog") != std::string::npos || name.find("enemy") != std::string::npos ||
                                name.find("fly") != std::string::npos || name.find("sun") != std::string::npos ||
                                name == "heart0" || name == "waves0";
        auto& list = isButton ? buttons : isPond ? pond : isCreature ? creatures : interface;
        list.emplace_back(name, &clip);
    }
    bool ok = WriteContactSheet(creatures, folder + "/creatures.png");
    ok = WriteContactSheet(pond, folder + "/pond.png") && ok;
    ok = WriteContactSheet(buttons, folder + "/buttons.png", 2.0) && ok;
    ok = WriteContactSheet(interface, folder + "/interface.png") && ok;
    ok = WritePondScene(assets, folder + "/scene.png") && ok;
    ok = WriteDialogScene(assets, folder + "/dialogs.png") && ok;
    return ok;
}

}  // namespace assetgen

namespace assetgen {
namespace {

// Sheet layout, in the sheet's pixels.
constexpr int kSheetLabel = 150, kSheetGap = 6, kSheetMaxWidth = 2800;

struct SheetRow {
    std::string label;
    std::vector<const Picture*> pictures;
    Rgb ground;  // shown where a picture is see-through
};

void AddRows(std::vector<SheetRow>& rows, const AssetSet& normal, const AssetSet& doubled,
             const std::string& clip, Rgb ground) {
    for (const AssetSet* set : {&normal, &doubled}) {
        SheetRow row{clip + " " + std::to_string(set->scale()) + "x", {}, ground};
        for (const Picture& p : set->Clip(clip).pictures) row.pictures.push_back(&p);
        rows.push_back(std::move(row));
    }
}

// The part of a picture at (x, y, w, h) in the game's pixels, from a set drawn at `scale`.
Picture Crop(const Picture& source, int scale, int x, int y, int w, int h) {
    Picture out(w * scale, h * scale, source.key);
    for (int j = 0; j < out.height; ++j)
        for (int i = 0; i < out.width; ++i) out.Set(i, j, source.At(x * scale + i, y * scale + j));
    return out;
}

// Where each picture of a row goes, wrapping at the sheet's width; returns the rows' total height.
int LayOut(const SheetRow& row, std::vector<std::pair<int, int>>* places) {
    int x = kSheetLabel, y = 0, lineH = 0;
    for (const Picture* p : row.pictures) {
        if (x > kSheetLabel && x + p->width > kSheetMaxWidth) {
            y += lineH + kSheetGap;
            x = kSheetLabel;
            lineH = 0;
        }
        if (places) places->emplace_back(x, y);
        x += p->width + kSheetGap;
        lineH = std::max(lineH, p->height);
    }
    return y + lineH;
}

}  // namespace

bool WritePreviewSheet(const AssetSet& normal, const AssetSet& doubled, const std::string& path) {
    std::vector<SheetRow> rows;
    for (const char* clip : {"1-leave0", "2-leave0", "3-leave0", "4-leave0", "island0", "1-sun0", "2-sun0",
                             "frog0", "1-enemy0", "1-fly0", "2-fly0", "3-fly0", "4-fly0", "heart0", "waves0"})
        AddRows(rows, normal, doubled, clip, kWater);
    for (const char* clip : {"smleav", "smfrog"}) AddRows(rows, normal, doubled, clip, kWindowBackground);
    // The level corner of the bar, where the small frog sits, and the window icon.
    const Picture corner1 = Crop(normal.Bitmap("CLP/all.bmp"), 1, 0, 0, 140, 50);
    const Picture corner2 = Crop(doubled.Bitmap("CLP/all.bmp"), 2, 0, 0, 140, 50);
    rows.push_back({"bar corner 1x", {&corner1}, kBarBottom});
    rows.push_back({"bar corner 2x", {&corner2}, kBarBottom});
    rows.push_back({"icon 1x, 2x", {&normal.Bitmap("CLP/icon.bmp"), &doubled.Bitmap("CLP/icon.bmp")}, kWater});

    int width = kSheetLabel, height = kSheetGap;
    for (const SheetRow& row : rows) {
        std::vector<std::pair<int, int>> places;
        height += LayOut(row, &places) + kSheetGap * 2;
        for (size_t i = 0; i < places.size(); ++i)
            width = std::max(width, places[i].first + row.pictures[i]->width + kSheetGap);
    }
    Canvas sheet(width, height);
    cairo_t* cr = sheet.cr();
    SetRgb(cr, Rgb{250, 250, 250});
    cairo_paint(cr);
    int y = kSheetGap;
    for (const SheetRow& row : rows) {
        TextAt(cr, row.label, 6, y + 16, 13, true);
        SetRgb(cr, Rgb{20, 20, 20});
        cairo_fill(cr);
        std::vector<std::pair<int, int>> places;
        const int rowH = LayOut(row, &places);
        for (size_t i = 0; i < places.size(); ++i) {
            const Picture& p = *row.pictures[i];
            const int px = places[i].first, py = y + places[i].second;
            cairo_rectangle(cr, px, py, p.width, p.height);
            SetRgb(cr, row.ground);
            cairo_fill(cr);
            cairo_surface_t* s = PictureToSurface(p, true);
            cairo_set_source_surface(cr, s, px, py);
            cairo_paint(cr);
            cairo_surface_destroy(s);
        }
        y += rowH + kSheetGap * 2;
    }
    return sheet.WritePng(path);
}

}  // namespace assetgen
