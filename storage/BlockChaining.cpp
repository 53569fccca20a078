#include "storage/BlockChaining.h"

#include <algorithm>
#include <random>

namespace {

// Filler must not come from the game's own generator: a save would then shift the sequence that
// makes a game reproducible from its seed.
uint8_t RandomFillerByte() {
    thread_local std::minstd_rand generator{std::random_device{}()};
    return uint8_t(generator());
}

void XorInto(DesEngine::Block& block, const DesEngine::Block& chain) {
    for (size_t i = 0; i < block.size(); ++i) block[i] ^= chain[i];
}

}  // namespace

size_t EncryptBlocks(int mode, std::span<const uint8_t> src, std::span<uint8_t> dst,
                     const DesEngine::Key& key) {
    const size_t n = src.size();
    if (n > SIZE_MAX - 8) return 0;
    const size_t length = n - n % 8 + 8;
    if (dst.size() < length) return length;
    DesEngine engine;
    if (engine.DesInit(mode) != 0) return 0;
    engine.DesSetKey(key);
    DesEngine::Block chain{}, block{};
    for (size_t offset = 0; offset < n; offset += 8) {
        const size_t rest = std::min<size_t>(8, n - offset);
        for (size_t i = 0; i < 8; ++i) block[i] = i < rest ? src[offset + i] : RandomFillerByte();
        if (rest < 8) block[7] = uint8_t(rest);
        XorInto(block, chain);
        engine.DesEncryptBlock(block);
        chain = block;
        std::copy(block.begin(), block.end(), dst.begin() + ptrdiff_t(offset));
    }
    if (n % 8 == 0) {
        for (size_t i = 0; i < 7; ++i) block[i] = RandomFillerByte();
        block[7] = 0;
        XorInto(block, chain);
        engine.DesEncryptBlock(block);
        std::copy(block.begin(), block.end(), dst.begin() + ptrdiff_t(length - 8));
    }
    engine.DesDone();
    return length;
}

int64_t DecryptBlocks(int mode, std::span<const uint8_t> src, std::span<uint8_t> dst,
                      const DesEngine::Key& key) {
    const size_t whole = src.size() - src.size() % 8;
    if (whole < 8) return 0;
    if (dst.size() < whole) return int64_t(whole);
    DesEngine engine;
    if (engine.DesInit(mode) != 0) return 0;
    engine.DesSetKey(key);
    DesEngine::Block chain{}, block{};
    for (size_t offset = 0; offset + 8 <= whole; offset += 8) {
        DesEngine::Block cipher;
        std::copy_n(src.begin() + ptrdiff_t(offset), 8, cipher.begin());
        block = cipher;
        engine.DesDecryptBlock(block);
        XorInto(block, chain);
        chain = cipher;
        std::copy(block.begin(), block.end(), dst.begin() + ptrdiff_t(offset));
    }
    engine.DesDone();
    return int64_t(whole) - 8 + int64_t(int8_t(block[7]));
}
