#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

#include "storage/DesEngine.h"

// Cipher-block chaining over DesEngine with an initial vector of eight zero bytes, and the padding
// of the data files: the last block always carries in its byte 7 the number of text bytes it holds
// (1 to 7); when the text fills whole blocks (an empty text included) one more block follows whose
// byte 7 is 0. Filler bytes are random and carry no meaning.

// Encrypts src into dst and returns the ciphertext length L = n - n % 8 + 8 (n = src.size()).
// Writes nothing when dst is shorter than L; returns 0 and writes nothing for an unknown mode.
size_t EncryptBlocks(int mode, std::span<const uint8_t> src, std::span<uint8_t> dst,
                     const DesEngine::Key& key);

// Decrypts the whole 8-byte blocks of src (B bytes; a trailing partial block is ignored) into dst
// and returns the text length the last block announces: B - 8 + v, v being its byte 7 read as a
// signed byte. So a damaged last block can announce a length below 0 or above B: the caller must
// check it against B before using that many bytes. Returns 0 when src holds no whole block or the
// mode is unknown, and B without decrypting when dst is shorter than B.
int64_t DecryptBlocks(int mode, std::span<const uint8_t> src, std::span<uint8_t> dst,
                      const DesEngine::Key& key);
