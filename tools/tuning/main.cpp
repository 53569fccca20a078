// marshwade-tuning [SETTINGS.ini]: prints what the game reads from its settings file (or the one
// named) and the values it derives for every skill and the first 25 levels.
#include <cstdio>
#include <iostream>

#include "game/GameSettings.h"
#include "storage/IniFile.h"
#include "tools/tuning/TuningTable.h"

int main(int argc, char** argv) {
    if (argc > 2) {
        std::fprintf(stderr, "usage: marshwade-tuning [SETTINGS.ini]\n");
        return 2;
    }
    IniFile file;
    const std::string path = argc == 2 ? argv[1] : SettingsFilePath();
    // A missing file is no error: the game then plays with the defaults, and so does the table.
    if (!file.Load(path) && argc == 2)
        std::fprintf(stderr, "marshwade-tuning: %s not read, showing the defaults\n", path.c_str());
    WriteTuningTable(file, std::cout);
    return 0;
}
