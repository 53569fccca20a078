#pragma once
#include <string>
#include <string_view>

namespace platform {

// The folder of the running program file, with a trailing '/'. Files the program keeps beside
// itself (table.dat, state.dat, the games page) are found there whatever the current directory.
// Read once from /proc/self/exe; safe from any thread.
const std::string& ProgramDirectory();

// The folder that holds the read-only game data (CLP/ with CLP@2x/ and the like beside it, WAV/,
// INI/), with a trailing '/':
// - the program's own folder when it has CLP/ (a build folder, where the build writes the data);
// - else the installed data folder, found from the program's own folder (<prefix>/bin or
//   <prefix>/games gives <prefix>/share/games/marshwade), when that has CLP/. It is derived from
//   where the program is now, not where it was configured to go, so an installed tree still works
//   after it has been moved (a DESTDIR tree, a relocated prefix);
// - else the program's own folder, so that missing files are reported there.
// Decided once for the whole run: a folder holding only part of the data never mixes with another.
const std::string& DataDirectory();

// Tests point the program folder elsewhere (a temporary folder with their own files); the data
// folder is decided again for it. Not for use while other threads resolve names.
void SetProgramDirectoryForTesting(std::string directory);

// Turns a data-file name as the game writes it ("CLP\frog0.clp") into a path to open:
// - backslashes become '/';
// - a name that is absolute ('/' first), holds a colon or two consecutive backslashes is used as given;
// - a name under CLP\, WAV\ or INI\ is taken relative to DataDirectory(), any other name (the saved
//   files, "..\html\Games.html") relative to ProgramDirectory(); a leading backslash is dropped first.
// An empty name stays empty (no file of that name can be opened).
std::string ResolveDataPath(std::string_view name);

}  // namespace platform
