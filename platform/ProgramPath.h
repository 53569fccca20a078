#pragma once
#include <string>
#include <string_view>

namespace platform {

// The folder of the running program file, with a trailing '/'. Data files (CLP/, WAV/, INI/,
// table.dat, state.dat) live beside the program, so they are found whatever the current directory.
// Read once from /proc/self/exe; safe from any thread.
const std::string& ProgramDirectory();

// Tests point the program folder elsewhere (a temporary folder with their own files). Not for use
// while other threads resolve names.
void SetProgramDirectoryForTesting(std::string directory);

// Turns a data-file name as the game writes it ("CLP\frog0.clp") into a path to open:
// - backslashes become '/';
// - a name that is absolute ('/' first), holds a colon or two consecutive backslashes is used as given;
// - any other name is taken relative to ProgramDirectory(), a leading backslash dropped first.
// An empty name stays empty (no file of that name can be opened).
std::string ResolveDataPath(std::string_view name);

}  // namespace platform
