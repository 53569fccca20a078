#pragma once
#include <cstdint>

// The clip file format, the one description the reader (ClipFileReader), the clip that runs the
// frame commands (OClip) and the writers of tools/ (assetgen, cliptool) all use.
//
// Little-endian; every position is absolute within the file. A header of 32 bytes: the magic at 0,
// the table size at 8, the frame rate (float32, frames per second) at 20, the picture entry count
// (int32) at 24, the frame entry count (int32) at 28; the other bytes are 0. The table starts at 32:
// picture entries of 12 bytes (position uint32, size uint32, type uint16, then 2 bytes of 0), then
// frame entries of 32 bytes (x, y, depth as float64, picture index int16, command count uint16,
// then 4 bytes of 0), each followed by its int32 commands. Only pictures of type 1 are read and
// indexed; each is a picture record (PictureRecord.h) at its position.
namespace graphics::clip_format {

inline constexpr uint32_t kMagic = 137;
inline constexpr uint64_t kHeaderSize = 32;
inline constexpr uint64_t kTableSizeAt = 8;
inline constexpr uint64_t kFrameRateAt = 20;
inline constexpr uint64_t kPictureCountAt = 24;
inline constexpr uint64_t kFrameCountAt = 28;

inline constexpr uint64_t kPictureEntrySize = 12;
inline constexpr uint16_t kBitmapPictureType = 1;

inline constexpr uint64_t kFrameEntrySize = 32;
inline constexpr uint64_t kCommandSize = 4;

// Frame commands a clip runs after showing a frame. An unknown code is skipped; the two that take
// an argument read it from the next command, and are skipped when there is none.
enum Command : int32_t {
    kHold = 1,      // stop on this frame
    kDestroy = 2,   // the clip destroys itself (a kept clip survives)
    kPlayFrom = 3,  // argument: the frame to go on playing from
    kHoldAt = 4,    // argument: the frame to stop on
};

}  // namespace graphics::clip_format
