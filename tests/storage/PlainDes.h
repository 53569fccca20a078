#pragma once
// A second, deliberately plain implementation of the data-file cipher for the tests: DES bit by bit
// from the FIPS 46 tables, with the two halves optionally held as little-endian integers, plus the
// CBC framing and a bitwise CRC. Written for clarity, sharing nothing with the game's engine, so an
// error in either shows up as a disagreement.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace plain {

using Bytes8 = std::array<uint8_t, 8>;

Bytes8 DesEncrypt(const Bytes8& block, const Bytes8& key, bool littleEndianHalves);
Bytes8 DesDecrypt(const Bytes8& block, const Bytes8& key, bool littleEndianHalves);

// CRC-32/BZIP2, one bit at a time.
uint32_t Crc(std::string_view text);

// A data file of text: CBC with a zero vector, count byte in byte 7 of the last block, an extra
// block with count 0 when the text fills whole blocks, then the CRC little-endian. Filler bytes are
// fillerByte.
std::string EncodeFile(std::string_view text, const Bytes8& key, uint8_t fillerByte);

// The text of a well-formed data file; false when the framing or the checksum is wrong.
bool DecodeFile(std::string_view file, const Bytes8& key, std::string& text);

}  // namespace plain
