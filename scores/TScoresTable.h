#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "scores/DesEngine.h"
#include "scores/TScoresTableRec.h"

// The high-score table and the encrypted data-file operations that the saved state uses as well.
//
// The file (see DataFileCodec.h for its framing) holds one line per record:
// date TAB name TAB skill TAB score LF, written from the highest score down. Each pair of name and
// skill keeps only its ten best results in the file. A table object lives for one operation:
// construct, LoadTable, change, SaveTable, discard. Not for use by two threads at once.
class TScoresTable {
  public:
    TScoresTable();

    // Reads path and adds one record per line of exactly four fields; other lines are dropped. A
    // missing, short or damaged file gives what could be read (possibly nothing). Returns 1.
    int LoadTable(const std::string& path);
    // Adds the records of a table text, as LoadTable does with the text of its file.
    void ParseTableText(std::string_view text);
    // Adds one record given as date TAB name TAB skill TAB score (no line end). Missing fields stay
    // empty; the text after the last tab is the score.
    void AddLine(std::string_view line);
    // Writes the table to path; false when the old file could not be replaced (it is then intact).
    bool SaveTable(const std::string& path);
    // The text SaveTable writes.
    std::string TableText();
    // Erases every record whose skill text equals skill exactly.
    void RemoveSkill(std::string_view skill);

    // Reads a data file into text (which is cleared first). Returns nonzero when its checksum
    // matched. On a mismatch "CRC error! <stored> != <computed>" goes to standard output and the
    // decrypted text is handed back all the same. A missing file, or one over kMaxDataFileSize,
    // gives an empty text.
    int LoadText(const std::string& path, std::string& text) const;
    // Encrypts text into a data file at path, replacing the old file only once the new one is
    // complete on disk (the user's data folder is made first when path lies in it). Returns false,
    // and says why on standard error, when the file was not replaced.
    bool SaveText(const std::string& path, std::string_view text) const;

    // Ascending by score; a record added with a score already present goes after the others of
    // that score. Callers walk it from the end to list the best results first.
    std::multimap<int32_t, TScoresTableRec> records;
    // Per name-and-skill counts, used while saving.
    std::map<std::string, int32_t> groupCounts;
    // Every data file is encrypted; nothing clears this.
    bool encrypted = true;
    DesEngine::Key DataFileKey;

  private:
    void AddRecord(std::string_view scoreText, TScoresTableRec rec);
};
