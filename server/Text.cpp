#include "server/Text.h"

#include <cstdint>
#include <cstdio>

namespace scores_server {
namespace {

// Code points of bytes 0x80 to 0x9F in Windows-1252; 0 where the code page defines none.
constexpr uint16_t kHighControls[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                        0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void PutUtf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

}  // namespace

std::string Windows1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char c : text) {
        const auto byte = static_cast<uint8_t>(c);
        uint32_t code = byte;
        if (byte >= 0x80 && byte < 0xA0)
            code = kHighControls[byte - 0x80] ? kHighControls[byte - 0x80] : 0xFFFD;
        PutUtf8(out, code);
    }
    return out;
}

std::string HtmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out.push_back(c);
        }
    }
    return out;
}

std::string JsonEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(c);
        } else if (byte < 0x20 || c == '<' || c == '>') {
            // Angle brackets too, so a name can never close a script element the JSON is pasted into.
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::string Ordinal(long long n) {
    const long long lastTwo = n % 100, last = n % 10;
    const char* suffix = (lastTwo >= 11 && lastTwo <= 13) ? "th"
                         : last == 1                      ? "st"
                         : last == 2                      ? "nd"
                         : last == 3                      ? "rd"
                                                          : "th";
    return std::to_string(n) + suffix;
}

std::string Grouped(long long n) {
    std::string digits = std::to_string(n);
    std::string out;
    const size_t first = digits.size() % 3 == 0 ? 3 : digits.size() % 3;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i >= first && (i - first) % 3 == 0) out.push_back(' ');
        out.push_back(digits[i]);
    }
    return out;
}

}  // namespace scores_server
