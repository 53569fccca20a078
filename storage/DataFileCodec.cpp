#include "storage/DataFileCodec.h"

#include <vector>

#include "storage/BlockChaining.h"
#include "storage/Crc32.h"

namespace {

const uint8_t* Bytes(std::string_view s) {
    return reinterpret_cast<const uint8_t*>(s.data());
}

uint32_t TextCrc(std::string_view text) {
    return Crc32(Bytes(text), text.size(), kDataFileCrcPolynomial);
}

}  // namespace

std::string EncodeDataFile(std::string_view text, const DesEngine::Key& key) {
    std::vector<uint8_t> cipher(text.size() + 8);
    const size_t length = EncryptBlocks(kDesModeDataFile, {Bytes(text), text.size()}, cipher, key);
    std::string file(reinterpret_cast<const char*>(cipher.data()), length);
    const uint32_t crc = TextCrc(text);
    for (int i = 0; i < 4; ++i) file.push_back(char(uint8_t(crc >> (8 * i))));
    return file;
}

DecodedDataFile DecodeDataFile(std::string_view bytes, const DesEngine::Key& key) {
    DecodedDataFile result;
    if (bytes.size() < 4) return result;
    result.hasCrc = true;
    const std::string_view cipher = bytes.substr(0, bytes.size() - 4);
    const std::string_view crcBytes = bytes.substr(bytes.size() - 4);
    for (int i = 3; i >= 0; --i) result.storedCrc = (result.storedCrc << 8) | uint8_t(crcBytes[size_t(i)]);

    std::vector<uint8_t> plain(cipher.size() + 8);
    const int64_t length = DecryptBlocks(kDesModeDataFile, {Bytes(cipher), cipher.size()}, plain, key);
    // A correct writer announces 0 to 7 bytes in the last block, so the length always ends before
    // that block's count byte. Anything else is damage: hand back the raw bytes rather than read
    // beyond what was decrypted.
    const size_t decrypted = cipher.size() - cipher.size() % 8;
    if (decrypted >= 8 && (length < 0 || uint64_t(length) >= decrypted)) {
        result.lengthDamaged = true;
        result.text.assign(bytes);
        return result;
    }
    result.text.assign(reinterpret_cast<const char*>(plain.data()), size_t(length));
    result.computedCrc = TextCrc(result.text);
    return result;
}
