#include "PlainDes.h"

#include <vector>

namespace plain {
namespace {

// clang-format off
const int IP[64] = {58, 50, 42, 34, 26, 18, 10, 2, 60, 52, 44, 36, 28, 20, 12, 4,
                    62, 54, 46, 38, 30, 22, 14, 6, 64, 56, 48, 40, 32, 24, 16, 8,
                    57, 49, 41, 33, 25, 17, 9,  1, 59, 51, 43, 35, 27, 19, 11, 3,
                    61, 53, 45, 37, 29, 21, 13, 5, 63, 55, 47, 39, 31, 23, 15, 7};
const int FP[64] = {40, 8, 48, 16, 56, 24, 64, 32, 39, 7, 47, 15, 55, 23, 63, 31,
                    38, 6, 46, 14, 54, 22, 62, 30, 37, 5, 45, 13, 53, 21, 61, 29,
                    36, 4, 44, 12, 52, 20, 60, 28, 35, 3, 43, 11, 51, 19, 59, 27,
                    34, 2, 42, 10, 50, 18, 58, 26, 33, 1, 41, 9,  49, 17, 57, 25};
const int E[48] = {32, 1,  2,  3,  4,  5,  4,  5,  6,  7,  8,  9,  8,  9,  10, 11,
                   12, 13, 12, 13, 14, 15, 16, 17, 16, 17, 18, 19, 20, 21, 20, 21,
                   22, 23, 24, 25, 24, 25, 26, 27, 28, 29, 28, 29, 30, 31, 32, 1};
const int P[32] = {16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23, 26, 5,  18, 31, 10,
                   2,  8, 24, 14, 32, 27, 3,  9,  19, 13, 30, 6,  22, 11, 4,  25};
const int PC1[56] = {57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18, 10, 2,  59, 51, 43,
                     35, 27, 19, 11, 3,  60, 52, 44, 36, 63, 55, 47, 39, 31, 23, 15, 7,  62, 54,
                     46, 38, 30, 22, 14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};
const int PC2[48] = {14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10, 23, 19, 12, 4,
                     26, 8,  16, 7,  27, 20, 13, 2,  41, 52, 31, 37, 47, 55, 30, 40,
                     51, 45, 33, 48, 44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};
const int SHIFTS[16] = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};
const int S[8][4][16] = {
    {{14, 4, 13, 1, 2, 15, 11, 8, 3, 10, 6, 12, 5, 9, 0, 7},
     {0, 15, 7, 4, 14, 2, 13, 1, 10, 6, 12, 11, 9, 5, 3, 8},
     {4, 1, 14, 8, 13, 6, 2, 11, 15, 12, 9, 7, 3, 10, 5, 0},
     {15, 12, 8, 2, 4, 9, 1, 7, 5, 11, 3, 14, 10, 0, 6, 13}},
    {{15, 1, 8, 14, 6, 11, 3, 4, 9, 7, 2, 13, 12, 0, 5, 10},
     {3, 13, 4, 7, 15, 2, 8, 14, 12, 0, 1, 10, 6, 9, 11, 5},
     {0, 14, 7, 11, 10, 4, 13, 1, 5, 8, 12, 6, 9, 3, 2, 15},
     {13, 8, 10, 1, 3, 15, 4, 2, 11, 6, 7, 12, 0, 5, 14, 9}},
    {{10, 0, 9, 14, 6, 3, 15, 5, 1, 13, 12, 7, 11, 4, 2, 8},
     {13, 7, 0, 9, 3, 4, 6, 10, 2, 8, 5, 14, 12, 11, 15, 1},
     {13, 6, 4, 9, 8, 15, 3, 0, 11, 1, 2, 12, 5, 10, 14, 7},
     {1, 10, 13, 0, 6, 9, 8, 7, 4, 15, 14, 3, 11, 5, 2, 12}},
    {{7, 13, 14, 3, 0, 6, 9, 10, 1, 2, 8, 5, 11, 12, 4, 15},
     {13, 8, 11, 5, 6, 15, 0, 3, 4, 7, 2, 12, 1, 10, 14, 9},
     {10, 6, 9, 0, 12, 11, 7, 13, 15, 1, 3, 14, 5, 2, 8, 4},
     {3, 15, 0, 6, 10, 1, 13, 8, 9, 4, 5, 11, 12, 7, 2, 14}},
    {{2, 12, 4, 1, 7, 10, 11, 6, 8, 5, 3, 15, 13, 0, 14, 9},
     {14, 11, 2, 12, 4, 7, 13, 1, 5, 0, 15, 10, 3, 9, 8, 6},
     {4, 2, 1, 11, 10, 13, 7, 8, 15, 9, 12, 5, 6, 3, 0, 14},
     {11, 8, 12, 7, 1, 14, 2, 13, 6, 15, 0, 9, 10, 4, 5, 3}},
    {{12, 1, 10, 15, 9, 2, 6, 8, 0, 13, 3, 4, 14, 7, 5, 11},
     {10, 15, 4, 2, 7, 12, 9, 5, 6, 1, 13, 14, 0, 11, 3, 8},
     {9, 14, 15, 5, 2, 8, 12, 3, 7, 0, 4, 10, 1, 13, 11, 6},
     {4, 3, 2, 12, 9, 5, 15, 10, 11, 14, 1, 7, 6, 0, 8, 13}},
    {{4, 11, 2, 14, 15, 0, 8, 13, 3, 12, 9, 7, 5, 10, 6, 1},
     {13, 0, 11, 7, 4, 9, 1, 10, 14, 3, 5, 12, 2, 15, 8, 6},
     {1, 4, 11, 13, 12, 3, 7, 14, 10, 15, 6, 8, 0, 5, 9, 2},
     {6, 11, 13, 8, 1, 4, 10, 7, 9, 5, 0, 15, 14, 2, 3, 12}},
    {{13, 2, 8, 4, 6, 15, 11, 1, 10, 9, 3, 14, 5, 0, 12, 7},
     {1, 15, 13, 8, 10, 3, 7, 4, 12, 5, 6, 11, 0, 14, 9, 2},
     {7, 11, 4, 1, 9, 12, 14, 2, 0, 6, 10, 13, 15, 3, 5, 8},
     {2, 1, 14, 7, 4, 10, 8, 13, 15, 12, 9, 0, 3, 5, 6, 11}}};
// clang-format on

using Bits = std::vector<int>;  // element 0 is bit 1 of the standard numbering

Bits ToBits(const Bytes8& bytes) {
    Bits bits;
    for (uint8_t byte : bytes)
        for (int i = 7; i >= 0; --i) bits.push_back((byte >> i) & 1);
    return bits;
}

Bytes8 ToBytes(const Bits& bits) {
    Bytes8 bytes{};
    for (int i = 0; i < 64; ++i) bytes[i / 8] = uint8_t(bytes[i / 8] | (bits[i] << (7 - i % 8)));
    return bytes;
}

Bits Permute(const Bits& in, const int* table, int count) {
    Bits out;
    for (int i = 0; i < count; ++i) out.push_back(in[table[i] - 1]);
    return out;
}

// The bits of a half as the integer read from its four bytes little-endian: byte order reversed.
Bits ReverseBytes(const Bits& half) {
    Bits out;
    for (int byte = 3; byte >= 0; --byte)
        for (int i = 0; i < 8; ++i) out.push_back(half[byte * 8 + i]);
    return out;
}

std::vector<Bits> Subkeys(const Bytes8& key) {
    Bits cd = Permute(ToBits(key), PC1, 56);
    Bits c(cd.begin(), cd.begin() + 28), d(cd.begin() + 28, cd.end());
    std::vector<Bits> keys;
    for (int round = 0; round < 16; ++round) {
        for (int s = 0; s < SHIFTS[round]; ++s) {
            c.push_back(c.front());
            c.erase(c.begin());
            d.push_back(d.front());
            d.erase(d.begin());
        }
        Bits joined = c;
        joined.insert(joined.end(), d.begin(), d.end());
        keys.push_back(Permute(joined, PC2, 48));
    }
    return keys;
}

Bits F(const Bits& r, const Bits& k) {
    Bits x = Permute(r, E, 48);
    for (int i = 0; i < 48; ++i) x[i] ^= k[i];
    Bits out;
    for (int box = 0; box < 8; ++box) {
        const int* b = &x[box * 6];
        int row = b[0] * 2 + b[5];
        int column = b[1] * 8 + b[2] * 4 + b[3] * 2 + b[4];
        int value = S[box][row][column];
        for (int i = 3; i >= 0; --i) out.push_back((value >> i) & 1);
    }
    return Permute(out, P, 32);
}

Bytes8 Des(const Bytes8& block, const Bytes8& key, bool littleEndianHalves, bool decrypt) {
    Bits bits = Permute(ToBits(block), IP, 64);
    Bits l(bits.begin(), bits.begin() + 32), r(bits.begin() + 32, bits.end());
    if (littleEndianHalves) {
        l = ReverseBytes(l);
        r = ReverseBytes(r);
    }
    std::vector<Bits> keys = Subkeys(key);
    for (int round = 0; round < 16; ++round) {
        Bits f = F(r, keys[decrypt ? 15 - round : round]);
        Bits next = l;
        for (int i = 0; i < 32; ++i) next[i] ^= f[i];
        l = r;
        r = next;
    }
    if (littleEndianHalves) {
        l = ReverseBytes(l);
        r = ReverseBytes(r);
    }
    Bits joined = r;  // the halves are exchanged after the last round
    joined.insert(joined.end(), l.begin(), l.end());
    return ToBytes(Permute(joined, FP, 64));
}

}  // namespace

Bytes8 DesEncrypt(const Bytes8& block, const Bytes8& key, bool littleEndianHalves) {
    return Des(block, key, littleEndianHalves, false);
}

Bytes8 DesDecrypt(const Bytes8& block, const Bytes8& key, bool littleEndianHalves) {
    return Des(block, key, littleEndianHalves, true);
}

uint32_t Crc(std::string_view text) {
    uint32_t crc = 0xFFFFFFFF;
    for (unsigned char c : text) {
        for (int i = 7; i >= 0; --i) {
            bool top = ((crc >> 31) & 1) != ((c >> i) & 1u);
            crc <<= 1;
            if (top) crc ^= 0x04C11DB7;
        }
    }
    return ~crc;
}

std::string EncodeFile(std::string_view text, const Bytes8& key, uint8_t fillerByte) {
    std::vector<Bytes8> blocks;
    for (size_t offset = 0; offset < text.size(); offset += 8) {
        Bytes8 block;
        block.fill(fillerByte);
        size_t rest = std::min<size_t>(8, text.size() - offset);
        for (size_t i = 0; i < rest; ++i) block[i] = uint8_t(text[offset + i]);
        if (rest < 8) block[7] = uint8_t(rest);
        blocks.push_back(block);
    }
    if (text.size() % 8 == 0) {
        Bytes8 extra;
        extra.fill(fillerByte);
        extra[7] = 0;
        blocks.push_back(extra);
    }
    std::string file;
    Bytes8 chain{};
    for (Bytes8 block : blocks) {
        for (int i = 0; i < 8; ++i) block[i] ^= chain[i];
        chain = DesEncrypt(block, key, true);
        file.append(reinterpret_cast<const char*>(chain.data()), 8);
    }
    uint32_t crc = Crc(text);
    for (int i = 0; i < 4; ++i) file.push_back(char((crc >> (8 * i)) & 0xFF));
    return file;
}

bool DecodeFile(std::string_view file, const Bytes8& key, std::string& text) {
    text.clear();
    if (file.size() < 12 || (file.size() - 4) % 8 != 0) return false;
    Bytes8 chain{};
    std::string plainText;
    for (size_t offset = 0; offset + 4 < file.size(); offset += 8) {
        Bytes8 cipher;
        for (int i = 0; i < 8; ++i) cipher[i] = uint8_t(file[offset + i]);
        Bytes8 block = DesDecrypt(cipher, key, true);
        for (int i = 0; i < 8; ++i) block[i] ^= chain[i];
        chain = cipher;
        plainText.append(reinterpret_cast<const char*>(block.data()), 8);
    }
    int count = uint8_t(plainText.back());
    if (count > 7) return false;
    plainText.resize(plainText.size() - 8 + count);
    uint32_t stored = 0;
    for (int i = 3; i >= 0; --i) stored = (stored << 8) | uint8_t(file[file.size() - 4 + i]);
    text = plainText;
    return stored == Crc(text);
}

}  // namespace plain
