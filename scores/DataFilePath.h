#pragma once
#include <string>
#include <string_view>

// The path of a data file ("table.dat", "state.dat"): the name is taken relative to the folder of
// the program file, not the current directory, with backslashes turned into '/'. Names holding a
// colon or two consecutive backslashes, and absolute names, are used as given; a leading backslash
// is dropped. A name of one character or less is returned unchanged.
std::string DataFilePath(std::string_view name);
