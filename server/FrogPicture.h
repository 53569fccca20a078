#pragma once
#include <string>

namespace scores_server {

// The first picture of the game's frog clip ("frog0.clp" among the generated pictures in
// `clipFolder`) as a BMP file in memory, its key colour painted in the pages' header green.
// Empty (with a line on standard error) when the clip cannot be read: the pages then go without.
std::string FrogBmp(const std::string& clipFolder);

}  // namespace scores_server
