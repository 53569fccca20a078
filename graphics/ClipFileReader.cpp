#include "graphics/ClipFileReader.h"

#include <cmath>
#include <limits>

#include "graphics/ClipFormat.h"
#include "graphics/FileBytes.h"
#include "graphics/PictureRecord.h"
#include "platform/ByteSpan.h"

namespace graphics {

using platform::ByteSpan;
namespace {

using namespace clip_format;

// Above one frame per millisecond the clip timing cannot tell rates apart; clamping keeps the later
// integer arithmetic (elapsed ms x rate) far from overflow.
constexpr float kMaxFrameRate = 1000.0f;

bool Fail(ClipFile& out, std::string& reason, std::string why) {
    out = ClipFile{};
    reason = std::move(why);
    return false;
}

int TruncatedFrameRate(float rate) {
    if (!(rate > 0.0f)) return 0;  // negative, zero and NaN
    if (rate > kMaxFrameRate) rate = kMaxFrameRate;
    return static_cast<int>(rate);
}

bool UsableOffset(double v) {
    return std::isfinite(v) && std::fabs(v) <= kMaxFrameOffset;
}

bool ReadPictures(const ByteSpan& in, uint64_t count, ClipFile& clip, std::string& reason) {
    for (uint64_t i = 0; i < count; ++i) {
        uint64_t entry = kHeaderSize + i * kPictureEntrySize;
        uint32_t position = 0, size = 0;
        uint16_t type = 0;
        in.U32(entry, position);
        in.U32(entry + 4, size);
        in.U16(entry + 8, type);
        if (type != kBitmapPictureType) continue;
        if (size <= kPictureRecordHeaderSize) {
            reason = "picture entry " + std::to_string(i) + " has size " + std::to_string(size) +
                     ", need more than 16";
            return false;
        }
        if (!in.Holds(position, size)) {
            reason = "picture entry " + std::to_string(i) + " (" + std::to_string(size) + " bytes at " +
                     std::to_string(position) + ") lies outside the file of " + std::to_string(in.Size()) +
                     " bytes";
            return false;
        }
        Picture picture;
        std::string why;
        if (!ParsePictureRecord(in.Sub(position, size), picture, why)) {
            reason = "picture entry " + std::to_string(i) + ": " + why;
            return false;
        }
        clip.pictures.push_back(std::move(picture));
    }
    return true;
}

bool ReadFrames(const ByteSpan& in, uint64_t start, uint64_t tableEnd, uint64_t count, ClipFile& clip,
                std::string& reason) {
    uint64_t at = start;
    for (uint64_t i = 0; i < count; ++i) {
        if (tableEnd - at < kFrameEntrySize) {
            reason = "frame entry " + std::to_string(i) + " lies outside the table";
            return false;
        }
        ClipFrame frame;
        int16_t index = 0;
        uint16_t commandCount = 0;
        in.F64(at, frame.x);
        in.F64(at + 8, frame.y);
        in.F64(at + 16, frame.depth);
        in.I16(at + 24, index);
        in.U16(at + 26, commandCount);
        at += kFrameEntrySize;
        uint64_t commandBytes = uint64_t{commandCount} * kCommandSize;
        if (tableEnd - at < commandBytes) {
            reason = "commands of frame entry " + std::to_string(i) + " lie outside the table";
            return false;
        }
        if (index < 0 || static_cast<size_t>(index) >= clip.pictures.size()) {
            reason = "frame entry " + std::to_string(i) + " names picture " + std::to_string(index) + " of " +
                     std::to_string(clip.pictures.size());
            return false;
        }
        if (!UsableOffset(frame.x) || !UsableOffset(frame.y) || !UsableOffset(frame.depth)) {
            reason = "frame entry " + std::to_string(i) + " has an offset out of range";
            return false;
        }
        frame.pictureIndex = index;
        frame.commands.resize(commandCount);
        for (uint16_t c = 0; c < commandCount; ++c)
            in.I32(at + uint64_t{c} * kCommandSize, frame.commands[c]);
        at += commandBytes;
        clip.frames.push_back(std::move(frame));
    }
    return true;
}

}  // namespace

bool ParseClipFile(std::span<const uint8_t> file, ClipFile& out, std::string& reason) {
    ByteSpan in(file);
    uint32_t magic = 0, tableSize = 0;
    float rate = 0;
    int32_t pictureCount = 0, frameCount = 0;
    if (!in.Holds(0, kHeaderSize))
        return Fail(out, reason, "clip header needs 32 bytes, file holds " + std::to_string(in.Size()));
    in.U32(0, magic);
    in.U32(kTableSizeAt, tableSize);
    in.F32(kFrameRateAt, rate);
    in.I32(kPictureCountAt, pictureCount);
    in.I32(kFrameCountAt, frameCount);
    if (magic != kMagic)
        return Fail(out, reason, "not a clip file (magic " + std::to_string(magic) + ")");
    if (!in.Holds(kHeaderSize, tableSize))
        return Fail(out, reason, "table of " + std::to_string(tableSize) + " bytes does not fit the file");
    if (pictureCount < 0 || frameCount < 0) return Fail(out, reason, "negative entry count");
    uint64_t pictureTable = uint64_t(pictureCount) * kPictureEntrySize;
    if (pictureTable > tableSize)
        return Fail(out, reason, std::to_string(pictureCount) + " picture entries do not fit the table");
    // Every frame entry needs at least 32 bytes, so this also bounds the loop below by the file size.
    if (uint64_t(frameCount) * kFrameEntrySize > tableSize - pictureTable)
        return Fail(out, reason, std::to_string(frameCount) + " frame entries do not fit the table");

    ClipFile clip;
    clip.frameRate = TruncatedFrameRate(rate);
    std::string why;
    if (!ReadPictures(in, uint64_t(pictureCount), clip, why)) return Fail(out, reason, why);
    if (!ReadFrames(in, kHeaderSize + pictureTable, kHeaderSize + tableSize, uint64_t(frameCount), clip, why))
        return Fail(out, reason, why);
    out = std::move(clip);
    return true;
}

bool ReadClipFile(const std::string& path, ClipFile& out, std::string& reason, uint64_t maxBytes) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes, reason, maxBytes)) {
        out = ClipFile{};
        return false;
    }
    if (!ParseClipFile(bytes, out, reason)) {
        reason = path + ": " + reason;
        return false;
    }
    return true;
}

}  // namespace graphics
