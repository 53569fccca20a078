#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// The publish encoding, shared by the game (which encodes a result into the digits of its score link)
// and the score server (which decodes them). It lives once, here, so the two cannot drift apart.
//
// The digits come in groups of three, each a byte d[0], d[1], ... as a decimal number 000 to 255.
// Undo the chain with v[i] = d[i] XOR v[i-1], starting from v[-1] = kPublishStart. Then v[0] and
// v[1] are checksums of the rest, the text t = v[2] ... :
//   v[0] = (sum of the bytes of t) mod 256
//   v[1] = (sum of (each byte of t XOR kPublishMask)) mod 256
// and t is "<score>\t<skill>\t<name>\tqmw\texe" (skill 1 Novice, 2 Expert, 3 Master; the name in
// the Windows-1252 code page). A query whose checksums do not match was not sent by the game.
namespace publish {

inline constexpr uint8_t kPublishMask = 0x6B;
inline constexpr uint8_t kPublishStart = 0xA7;

// Bounds the server holds a query to. The game's name buffer is 100 bytes; scores beyond eight digits
// cannot be reached in a game, so a longer one is forged.
inline constexpr size_t kMaxNameBytes = 100;
inline constexpr int32_t kMaxScore = 99'999'999;
// The longest record text: score, skill, name, "qmw", "exe" and the four tabs between them.
inline constexpr size_t kMaxTextBytes = 8 + 1 + kMaxNameBytes + 3 + 3 + 4;
inline constexpr size_t kMaxDigits = 3 * (kMaxTextBytes + 2);

// The record text of one result: score, skill text, name, the product code and "exe", tab-separated.
std::string RecordText(int32_t score, std::string_view skill, std::string_view name);

// The checksums and the chained XOR, as three-digit groups: 3 x (length + 2) digits.
std::string Encode(std::string_view text);

enum class DecodeError {
    kNone,
    kEmpty,
    kTooLong,     // more digits than the longest record needs
    kNotTriples,  // a character that is no digit, or a count of digits not a multiple of three
    kNotAByte,    // a group above 255
    kChecksum,    // either checksum does not match the text
    kRecord,      // not five tab-separated fields ending in the two fixed words
    kScore,       // not a plain decimal number from 0 to kMaxScore
    kSkill,       // not 1, 2 or 3
    kName,        // empty, too long, or holding a control character
};

// One published result as the game sent it. The name is in the game's 8-bit code page, as given.
struct PublishedResult {
    int32_t score = 0;
    int skill = 0;  // the skill index: 0 Novice, 1 Expert, 2 Master
    std::string name;
};

struct Decoded {
    DecodeError error = DecodeError::kNone;
    PublishedResult result;
    bool ok() const { return error == DecodeError::kNone; }
};

// The record text behind `digits`, checksums checked; `error` says why there is none.
bool DecodeText(std::string_view digits, std::string& text, DecodeError& error);

// The digits checked through to the fields of the record: a result only when everything holds.
Decoded Decode(std::string_view digits);

// A short English sentence for a refusal, for the page that tells the player.
const char* Describe(DecodeError error);

}  // namespace publish
