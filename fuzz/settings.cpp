// The settings reader on arbitrary bytes, then every key read and the level scaling applied for
// every skill at a few levels, so out-of-range values go through each conversion and bound.
#include <cstdint>
#include <string_view>

#include "game/GameSettings.h"
#include "storage/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    IniFile file;
    file.LoadFromText(std::string_view(reinterpret_cast<const char*>(data), size));
    for (int skill = -1; skill <= 3; ++skill) {
        for (int32_t level : {1, 2, 8, 100, 2147483647, -5}) {
            GameSettings settings;
            settings.levelNumber = level;
            DeriveLevelSettings(settings, skill, file);
            StartLivesForSkill(settings, skill);
        }
    }
    return 0;
}
