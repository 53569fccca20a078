#pragma once
#include <cstddef>
#include <cstdint>

// The checksum polynomial of every data file.
inline constexpr uint32_t kDataFileCrcPolynomial = 0x04C11DB7;

// CRC-32, most significant bit first (not reflected), initial value and final XOR 0xFFFFFFFF.
// With kDataFileCrcPolynomial this is the CRC known as CRC-32/BZIP2: "123456789" gives 0xFC891918,
// and an empty text 0. The table for kDataFileCrcPolynomial is built once and shared; any other
// polynomial gets a table of its own per call, so concurrent calls never disturb each other.
uint32_t Crc32(const uint8_t* data, size_t length, uint32_t polynomial);
