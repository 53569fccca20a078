#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "storage/DesEngine.h"
#include "storage/TScoresTableRec.h"

// How a load found its data file. Only a file that does not exist is Missing; one that is there but
// could not be read (no access, an I/O error, too many open files, not a regular file, larger than
// any data file) is Unreadable, and must be kept as it is.
enum class DataFileState { Read, Missing, Unreadable };

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
    // missing, short or damaged file gives what could be read (possibly nothing). Returns 1. An
    // unreadable file adds nothing and makes every later SaveTable of this table refuse: a table
    // that never saw the file's results must not replace them.
    int LoadTable(const std::string& path);
    // How the loads of this table found their files: Unreadable once any of them was.
    DataFileState LoadedFrom() const { return loadedFrom_; }
    // Adds the records of a table text, as LoadTable does with the text of its file.
    void ParseTableText(std::string_view text);
    // Adds one record given as date TAB name TAB skill TAB score (no line end). Missing fields stay
    // empty; the text after the last tab is the score.
    void AddLine(std::string_view line);
    // Writes the table to path; false when the old file could not be replaced (it is then intact),
    // and at once, writing nothing, after a load that found its file unreadable.
    bool SaveTable(const std::string& path);
    // The text SaveTable writes.
    std::string TableText();
    // Erases every record whose skill text equals skill exactly.
    void RemoveSkill(std::string_view skill);

    // Reads a data file into text (which is cleared first). Returns nonzero when its checksum
    // matched. On a mismatch "CRC error! <stored> != <computed>" goes to standard output and the
    // decrypted text is handed back all the same. A missing or unreadable file gives an empty text;
    // `state`, when given, tells the two apart. An unreadable one is named on standard error.
    int LoadText(const std::string& path, std::string& text, DataFileState* state = nullptr) const;
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
    DataFileState loadedFrom_ = DataFileState::Missing;

    void AddRecord(std::string_view scoreText, TScoresTableRec rec);
};

// What became of a change to a table file.
enum class TableUpdate {
    Saved,
    Unreadable,  // the file is there but could not be read: left as it is, nothing written
    NotWritten,  // the new table could not replace the old one (full disk, read-only folder)
};

// The whole change a score window makes to a file: a fresh table loads `path`, `change` alters it,
// and it is saved. Says why on standard error when it is not saved.
template <typename Change>
TableUpdate UpdateTableFile(const std::string& path, Change&& change) {
    TScoresTable table;
    table.LoadTable(path);
    if (table.LoadedFrom() == DataFileState::Unreadable) return TableUpdate::Unreadable;
    change(table);
    return table.SaveTable(path) ? TableUpdate::Saved : TableUpdate::NotWritten;
}
