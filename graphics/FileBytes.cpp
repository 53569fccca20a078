#include "graphics/FileBytes.h"

#include <fstream>

namespace graphics {

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& reason,
                   uint64_t maxBytes) {
    bytes.clear();
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        reason = "cannot open " + path;
        return false;
    }
    std::streamoff size = in.tellg();
    if (size < 0) {
        reason = "cannot tell the size of " + path;
        return false;
    }
    if (static_cast<uint64_t>(size) > maxBytes) {
        reason = path + " is " + std::to_string(size) + " bytes, more than the " + std::to_string(maxBytes) +
                 " accepted";
        return false;
    }
    bytes.resize(static_cast<size_t>(size));
    in.seekg(0);
    if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size)) {
        bytes.clear();
        reason = "cannot read " + path;
        return false;
    }
    return true;
}

}  // namespace graphics
