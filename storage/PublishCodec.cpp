#include "storage/PublishCodec.h"

#include <array>
#include <charconv>

namespace publish {
namespace {

// The fields of a record text split at its tabs; false unless there are exactly five.
bool SplitFields(std::string_view text, std::array<std::string_view, 5>& fields) {
    size_t start = 0;
    for (size_t i = 0; i < fields.size(); ++i) {
        const size_t tab = text.find('\t', start);
        const bool last = i + 1 == fields.size();
        if (last != (tab == std::string_view::npos)) return false;
        fields[i] = text.substr(start, last ? std::string_view::npos : tab - start);
        start = tab + 1;
    }
    return true;
}

// Plain decimal digits without a sign or a leading zero, so that one score has one spelling and two
// different queries never store the same result twice.
bool ParseScore(std::string_view field, int32_t& score) {
    if (field.empty() || field.size() > 8 || (field.size() > 1 && field[0] == '0')) return false;
    for (char c : field)
        if (c < '0' || c > '9') return false;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), score);
    return ec == std::errc() && end == field.data() + field.size() && score <= kMaxScore;
}

bool UsableName(std::string_view name) {
    if (name.empty() || name.size() > kMaxNameBytes) return false;
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) return false;
    }
    return true;
}

DecodeError CheckFields(std::string_view text, PublishedResult& result) {
    std::array<std::string_view, 5> fields;
    if (!SplitFields(text, fields) || fields[3] != "qmw" || fields[4] != "exe") return DecodeError::kRecord;
    if (!ParseScore(fields[0], result.score)) return DecodeError::kScore;
    if (fields[1].size() != 1 || fields[1][0] < '1' || fields[1][0] > '3') return DecodeError::kSkill;
    result.skill = fields[1][0] - '1';
    if (!UsableName(fields[2])) return DecodeError::kName;
    result.name = std::string(fields[2]);
    return DecodeError::kNone;
}

}  // namespace

std::string RecordText(int32_t score, std::string_view skill, std::string_view name) {
    std::string text = std::to_string(score);
    text.push_back('\t');
    text += skill;
    text.push_back('\t');
    text += name;
    text += "\tqmw\texe";
    return text;
}

std::string Encode(std::string_view text) {
    uint8_t sum = 0, maskedSum = 0;
    for (char c : text) {
        const auto byte = static_cast<uint8_t>(c);
        sum = static_cast<uint8_t>(sum + byte);
        maskedSum = static_cast<uint8_t>(maskedSum + (byte ^ kPublishMask));
    }
    std::string digits;
    digits.reserve(3 * (text.size() + 2));
    uint8_t previous = kPublishStart;
    auto put = [&](uint8_t value) {
        const auto code = static_cast<uint8_t>(previous ^ value);
        digits.push_back(static_cast<char>('0' + code / 100));
        digits.push_back(static_cast<char>('0' + code / 10 % 10));
        digits.push_back(static_cast<char>('0' + code % 10));
        previous = value;
    };
    put(sum);
    put(maskedSum);
    for (char c : text) put(static_cast<uint8_t>(c));
    return digits;
}

bool DecodeText(std::string_view digits, std::string& text, DecodeError& error) {
    text.clear();
    error = DecodeError::kNone;
    // The length is checked before anything is decoded, so a long query costs nothing.
    if (digits.empty())
        error = DecodeError::kEmpty;
    else if (digits.size() > kMaxDigits)
        error = DecodeError::kTooLong;
    else if (digits.size() % 3 != 0 || digits.size() < 6)
        error = DecodeError::kNotTriples;
    if (error != DecodeError::kNone) return false;
    std::string bytes;
    bytes.reserve(digits.size() / 3);
    uint8_t previous = kPublishStart;
    for (size_t i = 0; i < digits.size(); i += 3) {
        int code = 0;
        for (size_t k = i; k < i + 3; ++k) {
            if (digits[k] < '0' || digits[k] > '9') {
                error = DecodeError::kNotTriples;
                return false;
            }
            code = code * 10 + (digits[k] - '0');
        }
        if (code > 255) {
            error = DecodeError::kNotAByte;
            return false;
        }
        previous = static_cast<uint8_t>(code ^ previous);
        bytes.push_back(static_cast<char>(previous));
    }
    uint8_t sum = 0, maskedSum = 0;
    for (size_t i = 2; i < bytes.size(); ++i) {
        const auto byte = static_cast<uint8_t>(bytes[i]);
        sum = static_cast<uint8_t>(sum + byte);
        maskedSum = static_cast<uint8_t>(maskedSum + (byte ^ kPublishMask));
    }
    if (static_cast<uint8_t>(bytes[0]) != sum || static_cast<uint8_t>(bytes[1]) != maskedSum) {
        error = DecodeError::kChecksum;
        return false;
    }
    text = bytes.substr(2);
    return true;
}

Decoded Decode(std::string_view digits) {
    Decoded decoded;
    std::string text;
    if (!DecodeText(digits, text, decoded.error)) return decoded;
    decoded.error = CheckFields(text, decoded.result);
    if (!decoded.ok()) decoded.result = PublishedResult{};
    return decoded;
}

const char* Describe(DecodeError error) {
    switch (error) {
        case DecodeError::kNone:
            return "The result is valid.";
        case DecodeError::kEmpty:
            return "The link carries no result.";
        case DecodeError::kTooLong:
            return "The link is longer than any result the game sends.";
        case DecodeError::kNotTriples:
            return "The link's digits do not come in groups of three.";
        case DecodeError::kNotAByte:
            return "The link holds a group of digits above 255.";
        case DecodeError::kChecksum:
            return "The link's checksum does not match; it was not sent by the game.";
        case DecodeError::kRecord:
            return "The result in the link does not have the game's form.";
        case DecodeError::kScore:
            return "The score in the link is out of range.";
        case DecodeError::kSkill:
            return "The skill in the link is not Novice, Expert or Master.";
        case DecodeError::kName:
            return "The name in the link is empty, too long or holds control characters.";
    }
    return "The link is not valid.";
}

}  // namespace publish
