#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace graphics {

// Reads a whole file into `bytes`. Files larger than `maxBytes` are refused before anything is read,
// so a huge or endless file never becomes a huge allocation. False with one line in `reason` when the
// file cannot be opened, is too large or cannot be read; `bytes` is then empty.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& reason,
                   uint64_t maxBytes);

}  // namespace graphics
