#pragma once
#include <iosfwd>

class IniFile;

// What the game reads from a settings file and derives from it, for modders: one line per key as
// read (`read SECTION KEY VALUE`), then for each skill (0 Novice, 1 Expert, 2 Master) and levels 1 to
// 25 of a new game the level's values, then a comment naming every value the game will hold to its
// playable range. Lines starting with '#' are comments.
void WriteTuningTable(const IniFile& file, std::ostream& out);
