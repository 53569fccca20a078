#include "storage/DesEngine.h"

#include <bit>
#include <cstddef>

namespace {

// clang-format off
// Tables of FIPS 46. Bit 1 is the most significant bit of the first byte.
constexpr uint8_t kInitialPermutation[64] = {
    58, 50, 42, 34, 26, 18, 10, 2, 60, 52, 44, 36, 28, 20, 12, 4,  //
    62, 54, 46, 38, 30, 22, 14, 6, 64, 56, 48, 40, 32, 24, 16, 8,  //
    57, 49, 41, 33, 25, 17, 9,  1, 59, 51, 43, 35, 27, 19, 11, 3,  //
    61, 53, 45, 37, 29, 21, 13, 5, 63, 55, 47, 39, 31, 23, 15, 7};

constexpr uint8_t kPermutationP[32] = {16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23, 26, 5,  18, 31, 10,
                                       2,  8, 24, 14, 32, 27, 3,  9,  19, 13, 30, 6,  22, 11, 4,  25};

constexpr uint8_t kPermutedChoice1[56] = {
    57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18, 10, 2,  59, 51, 43, 35, 27,
    19, 11, 3,  60, 52, 44, 36, 63, 55, 47, 39, 31, 23, 15, 7,  62, 54, 46, 38, 30, 22,
    14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};

constexpr uint8_t kPermutedChoice2[48] = {14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10,
                                          23, 19, 12, 4,  26, 8,  16, 7,  27, 20, 13, 2,
                                          41, 52, 31, 37, 47, 55, 30, 40, 51, 45, 33, 48,
                                          44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};

// Cumulative left rotations of the two key halves for rounds 0 to 15.
constexpr uint8_t kKeyRotations[16] = {1, 2, 4, 6, 8, 10, 12, 14, 15, 17, 19, 21, 23, 25, 27, 28};

// S-boxes, row-major: entry row * 16 + column.
constexpr uint8_t kSBoxes[8][64] = {
    {14, 4,  13, 1, 2,  15, 11, 8,  3,  10, 6,  12, 5,  9,  0, 7,  0, 15, 7,  4,  14, 2,
     13, 1,  10, 6, 12, 11, 9,  5,  3,  8,  4,  1,  14, 8,  13, 6, 2,  11, 15, 12, 9,  7,
     3,  10, 5,  0, 15, 12, 8,  2,  4,  9,  1,  7,  5,  11, 3,  14, 10, 0,  6,  13},
    {15, 1,  8,  14, 6,  11, 3, 4,  9,  7,  2, 13, 12, 0,  5,  10, 3,  13, 4,  7, 15, 2,
     8,  14, 12, 0,  1,  10, 6, 9,  11, 5,  0, 14, 7,  11, 10, 4,  13, 1,  5,  8, 12, 6,
     9,  3,  2,  15, 13, 8,  10, 1, 3,  15, 4,  2, 11, 6,  7,  12, 0,  5,  14, 9},
    {10, 0,  9,  14, 6, 3,  15, 5,  1,  13, 12, 7,  11, 4,  2,  8,  13, 7, 0,  9,  3,  4,
     6,  10, 2,  8,  5, 14, 12, 11, 15, 1,  13, 6,  4,  9,  8,  15, 3,  0, 11, 1,  2,  12,
     5,  10, 14, 7,  1, 10, 13, 0,  6,  9,  8,  7,  4,  15, 14, 3,  11, 5, 2,  12},
    {7,  13, 14, 3, 0,  6,  9,  10, 1,  2, 8,  5,  11, 12, 4,  15, 13, 8,  11, 5,  6,  15,
     0,  3,  4,  7, 2,  12, 1,  10, 14, 9, 10, 6,  9,  0,  12, 11, 7,  13, 15, 1,  3,  14,
     5,  2,  8,  4, 3,  15, 0,  6,  10, 1, 13, 8,  9,  4,  5,  11, 12, 7,  2,  14},
    {2,  12, 4,  1,  7,  10, 11, 6,  8, 5,  3,  15, 13, 0,  14, 9,  14, 11, 2,  12, 4, 7,
     13, 1,  5,  0,  15, 10, 3,  9,  8, 6,  4,  2,  1,  11, 10, 13, 7,  8,  15, 9,  12, 5,
     6,  3,  0,  14, 11, 8,  12, 7,  1, 14, 2,  13, 6,  15, 0,  9,  10, 4,  5,  3},
    {12, 1,  10, 15, 9, 2,  6,  8,  0,  13, 3,  4,  14, 7,  5,  11, 10, 15, 4,  2, 7, 12,
     9,  5,  6,  1,  13, 14, 0, 11, 3,  8,  9,  14, 15, 5,  2,  8,  12, 3,  7,  0, 4, 10,
     1,  13, 11, 6,  4,  3,  2, 12, 9,  5,  15, 10, 11, 14, 1,  7,  6,  0,  8,  13},
    {4,  11, 2,  14, 15, 0, 8,  13, 3,  12, 9,  7,  5,  10, 6, 1,  13, 0,  11, 7,  4,  9,
     1,  10, 14, 3,  5,  12, 2, 15, 8,  6,  1,  4,  11, 13, 12, 3, 7,  14, 10, 15, 6,  8,
     0,  5,  9,  2,  6,  11, 13, 8, 1,  4,  10, 7,  9,  5,  0,  15, 14, 2,  3,  12},
    {13, 2,  8,  4,  6,  15, 11, 1,  10, 9,  3, 14, 5,  0,  12, 7,  1,  15, 13, 8,  10, 3,
     7,  4,  12, 5,  6,  11, 0,  14, 9,  2,  7, 11, 4,  1,  9,  12, 14, 2,  0,  6,  10, 13,
     15, 3,  5,  8,  2,  1,  14, 7,  4,  10, 8, 13, 15, 12, 9,  0,  3,  5,  6,  11}};
// clang-format on

constexpr uint64_t Bit64(int position) {
    return uint64_t{1} << (64 - position);
}
constexpr uint32_t Bit32(int position) {
    return uint32_t{1} << (32 - position);
}

// The lookup tables: each S-box merged with P, indexed by its 6-bit input group; and IP and its
// inverse as patterns ORed together per input nibble (16 positions, 16 values each).
struct DesTables {
    uint32_t sp[8][64];
    uint64_t ip[16][16];
    uint64_t fp[16][16];
};

uint32_t PermuteP(uint32_t in) {
    uint32_t out = 0;
    for (int i = 0; i < 32; ++i)
        if (in & Bit32(kPermutationP[i])) out |= Bit32(i + 1);
    return out;
}

void BuildNibbleTable(const uint8_t (&perm)[64], uint64_t (&table)[16][16]) {
    for (int position = 0; position < 16; ++position) {
        for (int value = 0; value < 16; ++value) {
            uint64_t in = uint64_t(value) << (60 - 4 * position);
            uint64_t out = 0;
            for (int i = 0; i < 64; ++i)
                if (in & Bit64(perm[i])) out |= Bit64(i + 1);
            table[position][value] = out;
        }
    }
}

DesTables BuildTables() {
    DesTables t{};
    for (int box = 0; box < 8; ++box) {
        for (int group = 0; group < 64; ++group) {
            int row = ((group >> 4) & 2) | (group & 1);
            int column = (group >> 1) & 15;
            uint32_t s = kSBoxes[box][row * 16 + column];
            t.sp[box][group] = PermuteP(s << (28 - 4 * box));
        }
    }
    uint8_t finalPermutation[64];
    for (int i = 0; i < 64; ++i) finalPermutation[kInitialPermutation[i] - 1] = uint8_t(i + 1);
    BuildNibbleTable(kInitialPermutation, t.ip);
    BuildNibbleTable(finalPermutation, t.fp);
    return t;
}

const DesTables& Tables() {
    static const DesTables tables = BuildTables();
    return tables;
}

uint64_t ApplyNibbleTable(const uint64_t (&table)[16][16], uint64_t in) {
    uint64_t out = 0;
    for (int position = 0; position < 16; ++position)
        out |= table[position][(in >> (60 - 4 * position)) & 15];
    return out;
}

// The standard round function on a half whose bit 1 is the most significant bit.
uint32_t RoundFunction(const DesTables& t, uint32_t half, const std::array<uint8_t, 8>& k) {
    uint32_t r = std::rotr(half, 1);
    return t.sp[0][((r >> 26) & 63) ^ k[0]] | t.sp[1][((r >> 22) & 63) ^ k[1]] |
           t.sp[2][((r >> 18) & 63) ^ k[2]] | t.sp[3][((r >> 14) & 63) ^ k[3]] |
           t.sp[4][((r >> 10) & 63) ^ k[4]] | t.sp[5][((r >> 6) & 63) ^ k[5]] |
           t.sp[6][((r >> 2) & 63) ^ k[6]] | t.sp[7][(std::rotl(half, 1) & 63) ^ k[7]];
}

uint32_t ByteSwap(uint32_t v) {
    return (v >> 24) | ((v >> 8) & 0x0000FF00) | ((v << 8) & 0x00FF0000) | (v << 24);
}

uint64_t LoadBigEndian(const DesEngine::Block& b) {
    uint64_t v = 0;
    for (uint8_t byte : b) v = (v << 8) | byte;
    return v;
}

void StoreBigEndian(uint64_t v, DesEngine::Block& b) {
    for (int i = 7; i >= 0; --i, v >>= 8) b[size_t(i)] = uint8_t(v);
}

}  // namespace

int DesEngine::DesInit(int mode) {
    if (mode != kDesModeDataFile && mode != kDesModeStandard) return -1;
    Tables();
    mode_ = mode;
    return 0;
}

void DesEngine::DesSetKey(const Key& key) {
    uint64_t k = 0;
    for (uint8_t byte : key) k = (k << 8) | byte;
    // C and D, the two 28-bit halves chosen by PC-1, side by side in the low 56 bits.
    uint64_t cd = 0;
    for (int i = 0; i < 56; ++i) cd = (cd << 1) | ((k & Bit64(kPermutedChoice1[i])) ? 1 : 0);
    const uint32_t c0 = uint32_t(cd >> 28) & 0x0FFFFFFF, d0 = uint32_t(cd) & 0x0FFFFFFF;
    auto rotate28 = [](uint32_t v, int n) { return ((v << n) | (v >> (28 - n))) & 0x0FFFFFFF; };
    for (int round = 0; round < 16; ++round) {
        int n = kKeyRotations[round] % 28;
        uint64_t shifted = (uint64_t(rotate28(c0, n)) << 28) | rotate28(d0, n);
        auto& sub = subkeys_[size_t(round)];
        sub.fill(0);
        for (int i = 0; i < 48; ++i) {
            // Bit p of the 56 (numbered from 1 at the most significant end) is bit 56 - p from the bottom.
            unsigned bit = unsigned(shifted >> (56 - kPermutedChoice2[i])) & 1;
            sub[size_t(i / 6)] = uint8_t(sub[size_t(i / 6)] | (bit << (5 - i % 6)));
        }
    }
    keyed_ = true;
}

void DesEngine::Crypt(Block& block, bool decrypt) const {
    const DesTables& t = Tables();
    uint64_t x = ApplyNibbleTable(t.ip, LoadBigEndian(block));
    uint32_t left = uint32_t(x >> 32), right = uint32_t(x);
    const bool littleEndianHalves = mode_ == kDesModeDataFile;
    if (littleEndianHalves) {
        left = ByteSwap(left);
        right = ByteSwap(right);
    }
    for (int round = 0; round < 16; ++round) {
        const auto& k = subkeys_[size_t(decrypt ? 15 - round : round)];
        if (round % 2 == 0)
            left ^= RoundFunction(t, right, k);
        else
            right ^= RoundFunction(t, left, k);
    }
    std::swap(left, right);
    if (littleEndianHalves) {
        left = ByteSwap(left);
        right = ByteSwap(right);
    }
    StoreBigEndian(ApplyNibbleTable(t.fp, (uint64_t(left) << 32) | right), block);
}

bool DesEngine::DesEncryptBlock(Block& block) const {
    if (!Ready()) return false;
    Crypt(block, false);
    return true;
}

bool DesEngine::DesDecryptBlock(Block& block) const {
    if (!Ready()) return false;
    Crypt(block, true);
    return true;
}

void DesEngine::DesDone() {
    for (auto& sub : subkeys_) sub.fill(0);
    mode_ = -1;
    keyed_ = false;
}
