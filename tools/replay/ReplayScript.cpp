#include "tools/replay/ReplayScript.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <utility>

#include "engine/VirtualKey.h"

namespace {

int KeyCode(std::string_view name) {
    static const std::pair<const char*, int> kKeys[] = {
        {"Left", vk::kLeft},     {"Right", vk::kRight}, {"Up", vk::kUp},
        {"Down", vk::kDown},     {"Space", vk::kSpace}, {"P", 'P'},
        {"Escape", vk::kEscape}, {"Enter", vk::kEnter}, {"Tab", vk::kTab}};
    for (const auto& [key, code] : kKeys) {
        if (name == key) return code;
    }
    int code = 0;
    for (char c : name) {
        if (c < '0' || c > '9' || code > 9999) return -1;
        code = code * 10 + (c - '0');
    }
    return name.empty() ? -1 : code;
}

// A frame number of digits only, within what the tool plays; strtol alone would take "+5", " 5" and
// wrap a number too long for an int into a frame the script never named.
bool ReadFrame(const std::string& word, int& frame) {
    if (word.empty() || word.size() > 9 ||
        !std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    const long value = std::strtol(word.c_str(), nullptr, 10);
    if (value > kLastScriptFrame) return false;
    frame = static_cast<int>(value);
    return true;
}

}  // namespace

bool ParseScript(std::string_view text, std::vector<ScriptInput>& inputs, std::string& error) {
    std::istringstream in{std::string(text)};
    std::vector<ScriptInput> read;
    std::string raw;
    for (int number = 1; std::getline(in, raw); ++number) {
        std::istringstream words(raw);
        std::string first;
        if (!(words >> first) || first[0] == '#') continue;
        ScriptInput input;
        std::string verb, a, b, rest;
        const bool frameOk = ReadFrame(first, input.frame);
        words >> verb >> a;
        std::getline(words >> std::ws, b);
        auto fail = [&](const std::string& why) {
            error = "line " + std::to_string(number) + ": " + why;
            return false;
        };
        if (!frameOk) return fail("the frame must be a number");
        if (verb == "key") {
            input.kind = ScriptInput::Kind::Key;
            input.code = KeyCode(a);
            if (input.code < 0 || !b.empty()) return fail("unknown key '" + a + "'");
        } else if (verb == "click" || verb == "rclick") {
            input.kind = verb == "click" ? ScriptInput::Kind::Click : ScriptInput::Kind::RightClick;
            std::istringstream xy(a + " " + b);
            if (!(xy >> input.x >> input.y) || (xy >> rest)) return fail("a click needs X and Y");
        } else if (verb == "shot" && !a.empty() && b.empty()) {
            input.kind = ScriptInput::Kind::Shot;
            input.file = a;
        } else if (verb == "focus" && (a == "on" || a == "off") && b.empty()) {
            input.kind = ScriptInput::Kind::Focus;
            input.code = a == "on" ? 1 : 0;
        } else {
            return fail("expected key, click, rclick, focus or shot");
        }
        read.push_back(input);
    }
    inputs.insert(inputs.end(), read.begin(), read.end());
    std::stable_sort(inputs.begin(), inputs.end(),
                     [](const ScriptInput& l, const ScriptInput& r) { return l.frame < r.frame; });
    return true;
}
