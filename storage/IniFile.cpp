#include "storage/IniFile.h"

#include <cstdint>
#include <cstdio>

#include "platform/VirtualKeys.h"
#include "storage/DataFileIo.h"

namespace {

std::string_view Trim(std::string_view s) {
    auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; };
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

std::string CleanValue(std::string_view value) {
    value = Trim(value);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value.substr(0, IniFile::kMaxValueLength));
}

// A code point as its Windows-1252 byte, '?' where that code page has none.
char Cp1252Of(uint32_t codePoint) {
    if (codePoint < 0x80) return static_cast<char>(codePoint);
    std::string utf8;
    if (codePoint < 0x800) {
        utf8 = {static_cast<char>(0xC0 | (codePoint >> 6)), static_cast<char>(0x80 | (codePoint & 0x3F))};
    } else {
        utf8 = {static_cast<char>(0xE0 | (codePoint >> 12)),
                static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)),
                static_cast<char>(0x80 | (codePoint & 0x3F))};
    }
    const std::vector<uint8_t> byte = platform::Utf8ToCp1252(utf8);
    return byte.size() == 1 ? static_cast<char>(byte[0]) : '?';
}

// UTF-16 text after its byte-order mark, as Windows-1252. Nothing in it is trusted: an odd last
// byte is dropped, a surrogate without its partner and every pair (outside the code page anyway)
// become '?', NULs stay NULs as they do in 8-bit files.
std::string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    std::string text;
    text.reserve(bytes.size() / 2);
    auto unit = [&](size_t i) {
        const auto first = static_cast<uint8_t>(bytes[2 * i]),
                   second = static_cast<uint8_t>(bytes[2 * i + 1]);
        return bigEndian ? uint32_t(first << 8 | second) : uint32_t(second << 8 | first);
    };
    const size_t units = bytes.size() / 2;
    for (size_t i = 0; i < units; ++i) {
        const uint32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units && unit(i + 1) >= 0xDC00 && unit(i + 1) <= 0xDFFF) {
            ++i;  // one character beyond the basic plane
            text.push_back('?');
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            text.push_back('?');
        } else {
            text.push_back(Cp1252Of(u));
        }
    }
    return text;
}

}  // namespace

bool IniFile::Load(const std::string& path) {
    std::string bytes;
    ReadResult result = ReadFileLimited(path, kMaxFileSize, bytes);
    if (result == ReadResult::TooLarge)
        std::fprintf(stderr, "%s: too large for a settings file, ignored\n", path.c_str());
    LoadFromText(result == ReadResult::Ok ? std::string_view(bytes) : std::string_view());
    return result == ReadResult::Ok;
}

void IniFile::LoadFromText(std::string_view text) {
    sections_.clear();
    inSection_ = false;
    if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) {
        ParseLines(DecodeUtf16(text.substr(2), text.front() == '\xFE'));
        return;
    }
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    ParseLines(text);
}

void IniFile::ParseLines(std::string_view text) {
    while (!text.empty()) {
        size_t end = text.find_first_of("\r\n");
        if (end == std::string_view::npos) end = text.size();
        AddLine(text.substr(0, end));
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
        text.remove_prefix(end < text.size() ? end + 1 : end);
    }
}

void IniFile::AddLine(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() == ';') return;
    const size_t close = line.rfind(']');
    if (line.front() == '[' && close != std::string_view::npos) {
        sections_.push_back({std::string(Trim(line.substr(1, close - 1))), {}});
        inSection_ = true;
        return;
    }
    size_t equals = line.find('=');
    if (equals == std::string_view::npos || !inSection_) return;
    sections_.back().entries.push_back(
        {std::string(Trim(line.substr(0, equals))), CleanValue(line.substr(equals + 1))});
}

std::string IniFile::GetString(std::string_view section, std::string_view key,
                               std::string_view defaultValue) const {
    for (const Section& s : sections_) {
        if (!SameName(s.name, section)) continue;
        for (const Entry& e : s.entries)
            if (SameName(e.key, key)) return e.value;
        break;  // only the first section of a name counts
    }
    return std::string(defaultValue.substr(0, kMaxValueLength));
}
