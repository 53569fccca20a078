#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "storage/DesEngine.h"

// The framing of the game's data files (table.dat, state.dat): the text, encrypted in CBC mode with
// the data-file variant of DES, then the CRC of the plain text as 4 little-endian bytes. A text of
// n bytes gives a file of (n / 8 + 1) * 8 + 4 bytes. These functions work on bytes in memory;
// TScoresTable::LoadText and SaveText put them on disk.

// The key of every data file and every installation: "pmvrtqe" followed by a zero byte.
inline constexpr DesEngine::Key kDataFileKey = {'p', 'm', 'v', 'r', 't', 'q', 'e', 0};

// Real data files hold a few hundred bytes. Anything above this is damage or mischief and is not
// read into memory at all.
inline constexpr size_t kMaxDataFileSize = size_t{1} << 20;

struct DecodedDataFile {
    std::string text;            // the decrypted text, or the raw file bytes when lengthDamaged
    bool hasCrc = false;         // the file has at least the 4 bytes of a checksum
    bool lengthDamaged = false;  // the last block announced a length that the file cannot hold
    uint32_t storedCrc = 0;
    uint32_t computedCrc = 0;

    bool CrcMatched() const { return hasCrc && !lengthDamaged && storedCrc == computedCrc; }
};

std::string EncodeDataFile(std::string_view text, const DesEngine::Key& key = kDataFileKey);

// Accepts any bytes. A file of fewer than 4 bytes gives an empty text and no checksum; fewer than
// 12 an empty text checked against whatever its last 4 bytes say.
DecodedDataFile DecodeDataFile(std::string_view bytes, const DesEngine::Key& key = kDataFileKey);
