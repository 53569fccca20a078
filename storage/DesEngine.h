#pragma once
#include <array>
#include <cstdint>

// Engine modes for DesInit.
// The data files hold the two 32-bit halves of the cipher state as little-endian integers, which
// makes every ciphertext differ from published DES; kDesModeStandard holds them big-endian and is
// plain DES, kept so the engine can be checked against the published test vectors.
inline constexpr int kDesModeDataFile = 0;
inline constexpr int kDesModeStandard = 1;

// A table-driven DES block cipher (FIPS 46 permutations, key schedule, S-boxes merged with P).
// The lookup tables are built once per process and shared read-only; each engine holds only its
// mode and key schedule, so separate engines may run on separate threads.
class DesEngine {
  public:
    using Block = std::array<uint8_t, 8>;
    using Key = std::array<uint8_t, 8>;

    // Selects the mode; returns 0, or -1 for an unknown mode (the engine stays unusable).
    int DesInit(int mode);
    // Builds the 16 round subkeys. The least significant bit of each key byte is not used.
    void DesSetKey(const Key& key);
    // Transform one block in place. Without a successful DesInit and DesSetKey they return false
    // and leave the block alone.
    bool DesEncryptBlock(Block& block) const;
    bool DesDecryptBlock(Block& block) const;
    // Forgets the mode and wipes the key schedule.
    void DesDone();

  private:
    bool Ready() const { return mode_ >= 0 && keyed_; }
    void Crypt(Block& block, bool decrypt) const;

    std::array<std::array<uint8_t, 8>, 16> subkeys_{};
    int mode_ = -1;
    bool keyed_ = false;
};
