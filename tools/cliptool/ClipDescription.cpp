#include "tools/cliptool/ClipDescription.h"

#include <cairo.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

namespace cliptool {
namespace {

bool ParseInt(const std::string& s, long long lo, long long hi, long long& out) {
    if (s.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(s.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || v < lo || v > hi) return false;
    out = v;
    return true;
}

bool ParseDouble(const std::string& s, double& out) {
    if (s.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(s.c_str(), &end);
    if (errno != 0 || *end != '\0' || !std::isfinite(v)) return false;
    out = v;
    return true;
}

// "#RRGGBB" or a number in the picture record's own order (blue + green*256 + red*65536).
bool ParseColour(const std::string& s, uint32_t& value) {
    long long v = 0;
    if (s.size() == 7 && s[0] == '#') {
        if (!ParseInt("0x" + s.substr(1), 0, 0xFFFFFF, v)) return false;
        value = assetgen::KeyValue(assetgen::Rgb{static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8),
                                                 static_cast<uint8_t>(v)});
        return true;
    }
    if (!ParseInt(s, 0, 0xFFFFFF, v)) return false;
    value = static_cast<uint32_t>(v);
    return true;
}

bool ParseFrame(std::istringstream& words, assetgen::ClipFrame& frame, std::string& what) {
    std::string word;
    long long index = 0;
    if (!(words >> word) || !ParseInt(word, 0, std::numeric_limits<int16_t>::max(), index)) {
        what = "frame needs a picture number";
        return false;
    }
    frame.picture = static_cast<int16_t>(index);
    while (words >> word) {
        const auto eq = word.find('=');
        const std::string name = word.substr(0, eq), value = eq == std::string::npos ? "" : word.substr(eq + 1);
        long long n = 0;
        bool ok = true;
        if (name == "x") ok = ParseDouble(value, frame.x);
        else if (name == "y") ok = ParseDouble(value, frame.y);
        else if (name == "depth") ok = ParseDouble(value, frame.depth);
        else if (word == "hold") frame.commands.push_back(assetgen::kHold);
        else if (word == "destroy") frame.commands.push_back(assetgen::kDestroy);
        else if (name == "play" || name == "holdat") {
            ok = ParseInt(value, 0, std::numeric_limits<int32_t>::max(), n);
            frame.commands.push_back(name == "play" ? assetgen::kPlayFrom : assetgen::kHoldAt);
            frame.commands.push_back(static_cast<int32_t>(n));
        } else if (name == "cmd") {
            std::istringstream values(value);
            std::string v;
            while (ok && std::getline(values, v, ',')) {
                ok = ParseInt(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), n);
                frame.commands.push_back(static_cast<int32_t>(n));
            }
        } else {
            what = "unknown frame field '" + word + "'";
            return false;
        }
        if (!ok) {
            what = "bad value in '" + word + "'";
            return false;
        }
    }
    return true;
}

}  // namespace

bool ParseClipDescription(const std::string& text, const std::string& baseFolder, ClipDescription& out,
                          std::string& error) {
    out = ClipDescription{};
    uint32_t key = assetgen::KeyValue(assetgen::Rgb{255, 0, 255});
    uint32_t ground = assetgen::KeyValue(assetgen::Rgb{48, 128, 160});
    std::vector<std::pair<int, assetgen::ClipFrame>> frames;  // with their line, checked at the end
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    auto fail = [&](const std::string& what) {
        error = "line " + std::to_string(number) + ": " + what;
        return false;
    };
    while (std::getline(lines, line)) {
        ++number;
        const auto hash = line.find('#');
        std::istringstream words(line);
        std::string command;
        if (!(words >> command) || command[0] == '#') continue;
        std::string arg;
        if (command == "frame") {
            assetgen::ClipFrame frame;
            std::string what;
            if (!ParseFrame(words, frame, what)) return fail(what);
            frames.emplace_back(number, frame);
            continue;
        }
        if (!(words >> arg)) return fail(command + " needs a value");
        std::string rest;
        if (command != "picture" && (words >> rest) && rest[0] != '#') return fail("unexpected '" + rest + "'");
        if (command == "rate") {
            double rate = 0;
            if (!ParseDouble(arg, rate) || rate < 0 || rate > 1000) return fail("rate must be 0 to 1000");
            out.frameRate = static_cast<float>(rate);
        } else if (command == "key") {
            if (!ParseColour(arg, key)) return fail("bad colour '" + arg + "'");
        } else if (command == "ground") {
            if (!ParseColour(arg, ground)) return fail("bad colour '" + arg + "'");
        } else if (command == "picture") {
            // The path is the rest of the line, so it may hold spaces (but no '#').
            const size_t start = line.find_first_not_of(" \t", line.find(command) + command.size());
            std::string path = line.substr(start, hash == std::string::npos ? std::string::npos : hash - start);
            while (!path.empty() && std::isspace(static_cast<unsigned char>(path.back()))) path.pop_back();
            const std::filesystem::path p(path);
            out.pictures.push_back({p.is_absolute() ? path : (std::filesystem::path(baseFolder) / p).string(), key,
                                    assetgen::FromKeyValue(ground)});
        } else {
            return fail("unknown command '" + command + "'");
        }
    }
    if (out.pictures.empty()) {
        error = "the description names no picture";
        return false;
    }
    for (const auto& [line_number, frame] : frames) {
        if (static_cast<size_t>(frame.picture) >= out.pictures.size()) {
            number = line_number;
            return fail("frame names picture " + std::to_string(frame.picture) + " but there are " +
                        std::to_string(out.pictures.size()));
        }
        out.frames.push_back(frame);
    }
    return true;
}

bool LoadPngPicture(const PictureSource& source, assetgen::Picture& out, std::string& error) {
    cairo_surface_t* png = cairo_image_surface_create_from_png(source.path.c_str());
    if (cairo_surface_status(png) != CAIRO_STATUS_SUCCESS) {
        error = source.path + ": " + cairo_status_to_string(cairo_surface_status(png));
        cairo_surface_destroy(png);
        return false;
    }
    const int w = cairo_image_surface_get_width(png), h = cairo_image_surface_get_height(png);
    // Draw it onto an ARGB surface of our own, whatever format the PNG was read in.
    cairo_surface_t* argb = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(argb);
    cairo_set_source_surface(cr, png, 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(png);
    cairo_surface_flush(argb);

    out = assetgen::Picture(w, h, source.key);
    const unsigned char* data = cairo_image_surface_get_data(argb);
    const int stride = cairo_image_surface_get_stride(argb);
    const assetgen::Rgb key = assetgen::FromKeyValue(source.key), g = source.ground;
    for (int y = 0; y < h; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < w; ++x) {
            const uint32_t px = row[x], a = px >> 24;
            if (a < 128) {
                out.Set(x, y, key);
                continue;
            }
            auto over = [a](uint32_t c, uint8_t under) {
                return static_cast<uint8_t>(std::min<uint32_t>(255, c + ((255 - a) * under + 127) / 255));
            };
            assetgen::Rgb c{over((px >> 16) & 255, g.r), over((px >> 8) & 255, g.g), over(px & 255, g.b)};
            if (a < 255 && assetgen::KeyValue(c) == source.key) c.b ^= 1;  // a blend never vanishes
            out.Set(x, y, c);
        }
    }
    cairo_surface_destroy(argb);
    if (w <= 0 || h <= 0) {
        error = source.path + ": the picture is empty";
        return false;
    }
    return true;
}

bool PackClip(const std::string& descriptionPath, std::vector<uint8_t>& out, std::string& error) {
    std::ifstream in(descriptionPath);
    if (!in) {
        error = "cannot read " + descriptionPath;
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    ClipDescription description;
    const std::string base = std::filesystem::path(descriptionPath).parent_path().string();
    if (!ParseClipDescription(text.str(), base.empty() ? "." : base, description, error)) {
        error = descriptionPath + ": " + error;
        return false;
    }
    assetgen::ClipData clip;
    clip.frameRate = description.frameRate;
    for (const PictureSource& source : description.pictures) {
        clip.pictures.emplace_back();
        if (!LoadPngPicture(source, clip.pictures.back(), error)) return false;
    }
    if (description.frames.empty()) {
        for (size_t i = 0; i < clip.pictures.size(); ++i) {
            assetgen::ClipFrame f;
            f.picture = static_cast<int16_t>(i);
            clip.frames.push_back(f);
        }
    } else {
        clip.frames = description.frames;
    }
    return assetgen::EncodeClip(clip, out, &error);
}

}  // namespace cliptool
