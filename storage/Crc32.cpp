#include "storage/Crc32.h"

#include <array>

namespace {

using CrcTable = std::array<uint32_t, 256>;

CrcTable BuildTable(uint32_t polynomial) {
    CrcTable table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t value = i << 24;
        for (int bit = 0; bit < 8; ++bit)
            value = (value & 0x80000000u) ? (value << 1) ^ polynomial : value << 1;
        table[i] = value;
    }
    return table;
}

uint32_t Run(const CrcTable& table, const uint8_t* data, size_t length) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < length; ++i) crc = (crc << 8) ^ table[(crc >> 24) ^ data[i]];
    return crc ^ 0xFFFFFFFFu;
}

}  // namespace

uint32_t Crc32(const uint8_t* data, size_t length, uint32_t polynomial) {
    if (polynomial == kDataFileCrcPolynomial) {
        static const CrcTable dataFileTable = BuildTable(kDataFileCrcPolynomial);
        return Run(dataFileTable, data, length);
    }
    return Run(BuildTable(polynomial), data, length);
}
