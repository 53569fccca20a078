#pragma once
#include <optional>
#include <string>
#include <string_view>

// Where the saved files ("table.dat", "state.dat") live.
//
// A game run from its build folder keeps them beside the program, as it always has. An installed
// game (its data in <prefix>/share/games/marshwade) or one whose folder cannot be written keeps them
// in the user's data folder: $XDG_DATA_HOME/marshwade when XDG_DATA_HOME is an absolute path, else
// ~/.local/share/marshwade.
// That folder is made on the first save, not when a file is looked up, so a game that only reads
// leaves no trace.
//
// Names are converted like every data-file name: backslashes become '/', a leading backslash is
// dropped; names holding a colon or two consecutive backslashes, and absolute names, are used as
// given; a name of one character or less is returned unchanged. Safe from any thread once the
// program folder is known.
std::string DataFilePath(std::string_view name);

// The folder relative data-file names are resolved in (with a trailing '/'): the program folder
// when the game runs from its build folder and can write it, else the user's data folder.
std::string SavedFilesFolder();

// $XDG_DATA_HOME/marshwade or ~/.local/share/marshwade, without a trailing '/'; empty when no home
// folder is known at all.
std::string UserDataFolder();

// Before a save: makes the user's data folder (and its parents, private to the user) when `path`
// lies directly in it and it is missing. Any other path is left alone, so a save into a folder that
// does not exist still fails as it should. False only when the folder was needed and not made.
bool PrepareFolderFor(const std::string& path);

// Sends every saved file of this process to `folder` (nullopt: back to the rule above). The replay
// tool plays with a folder of its own, so a game saved by a player never changes a replay.
void OverrideSavedFilesFolder(std::optional<std::string> folder);

// Root may write into any folder, so tests decide whether the program folder counts as writable;
// nullopt asks the file system again.
void SetProgramFolderWritableForTesting(std::optional<bool> writable);
