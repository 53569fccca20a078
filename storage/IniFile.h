#pragma once
#include <string>
#include <string_view>
#include <vector>

// A reader of the sectioned settings format: "[Section]" lines, then "key = value" lines.
// - Section and key names compare case-insensitively (ASCII); the first section of a name and the
//   first key of a name within it win, later duplicates are never consulted.
// - White space is trimmed around names and values; one pair of matching quotes (" or ') around a
//   value is removed; a value is cut to kMaxValueLength characters.
// Players edit these files by hand, in any editor; the reader takes them as follows:
// - A line starting with '[' and holding a ']' names a section: the text between the '[' and the
//   last ']', trimmed ("[Game]]" is the section "Game]"). A '[' line without ']' is a key line.
// - Lines without '=' (and lines starting with ';') are ignored; keys before the first section
//   belong to no section.
// - A UTF-8 byte-order mark at the start is skipped; CR, LF and CRLF line ends read alike.
// - A file starting with a UTF-16 byte-order mark (little- or big-endian, what some editors save
//   as "Unicode") is UTF-16 text; it is read as Windows-1252, characters outside that as '?'.
class IniFile {
  public:
    static constexpr size_t kMaxValueLength = 99;
    // Settings files are a few kilobytes; a larger one is not read and counts as absent.
    static constexpr size_t kMaxFileSize = size_t{1} << 20;

    // Replaces the content with that of the file; false (and no content) when it cannot be read.
    bool Load(const std::string& path);
    void LoadFromText(std::string_view text);

    // The value of key in section, or defaultValue when the section or the key is absent.
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view defaultValue) const;

  private:
    struct Entry {
        std::string key, value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };
    void AddLine(std::string_view line);
    void ParseLines(std::string_view text);

    std::vector<Section> sections_;
    bool inSection_ = false;
};
