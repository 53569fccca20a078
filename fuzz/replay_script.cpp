// The replay tool's script reader on arbitrary bytes. What it accepts must be what the player of the
// script relies on: inputs in frame order, frames within what the tool plays, key codes and focus
// values it can send, a file for every shot; what it refuses names a line.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "tools/replay/ReplayScript.h"

namespace {
void Require(bool holds) {
    if (!holds) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<ScriptInput> inputs;
    std::string error;
    if (!ParseScript(text, inputs, error)) {
        Require(error.rfind("line ", 0) == 0);
        Require(inputs.empty());
        return 0;
    }
    Require(error.empty());
    for (size_t i = 0; i < inputs.size(); ++i) {
        const ScriptInput& in = inputs[i];
        Require(in.frame >= 0 && in.frame <= kLastScriptFrame);
        Require(i == 0 || inputs[i - 1].frame <= in.frame);
        switch (in.kind) {
            case ScriptInput::Kind::Key:
                Require(in.code >= 0 && in.code <= 99999);
                break;
            case ScriptInput::Kind::Focus:
                Require(in.code == 0 || in.code == 1);
                break;
            case ScriptInput::Kind::Shot:
                Require(!in.file.empty());
                break;
            case ScriptInput::Kind::Click:
            case ScriptInput::Kind::RightClick:
                break;
        }
    }
    // Read again, the same bytes give the same inputs.
    std::vector<ScriptInput> again;
    Require(ParseScript(text, again, error) && again.size() == inputs.size());
    return 0;
}
