#include "game/IniFile.h"

#include <cstdio>

#include "scores/DataFileIo.h"

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
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
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
    if (line.front() == '[') {
        size_t close = line.find(']');
        std::string_view name =
            line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
        sections_.push_back({std::string(Trim(name)), {}});
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
