#pragma once
// A strict reading of clip files for the tests: every field, every offset checked against the bytes.

#include <cstdint>
#include <string>
#include <vector>

namespace assettest {

struct RecordView {
    int32_t width = 0, height = 0;
    uint32_t key = 0;
    int bits = 0;
    size_t offset = 0, size = 0;  // of the whole record within the file
};

struct FrameView {
    double x = 0, y = 0, depth = 0;
    int picture = 0;
    std::vector<int32_t> commands;
};

struct ClipView {
    float frameRate = 0;
    uint32_t tableSize = 0;
    std::vector<RecordView> pictures;
    std::vector<FrameView> frames;
};

// Reads the clip; returns an empty string or what is wrong with it.
std::string ReadClip(const std::vector<uint8_t>& bytes, ClipView& out);

uint32_t U32(const std::vector<uint8_t>& b, size_t at);
uint16_t U16(const std::vector<uint8_t>& b, size_t at);
std::vector<uint8_t> ReadFile(const std::string& path);

}  // namespace assettest
