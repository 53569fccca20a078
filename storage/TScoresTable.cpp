#include "storage/TScoresTable.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "storage/NumberText.h"
#include "storage/DataFileCodec.h"
#include "storage/DataFileIo.h"
#include "storage/DataFilePath.h"

namespace {

constexpr int kBestResultsKeptPerPlayer = 10;

// A field holding a tab or a line end would shift the fields of its line or forge a line of its
// own in the file; such characters are written as spaces.
void AppendField(std::string& out, std::string_view field) {
    for (char c : field) out.push_back(c == '\t' || c == '\n' || c == '\r' ? ' ' : c);
}

}  // namespace

TScoresTable::TScoresTable() : DataFileKey(kDataFileKey) {}

void TScoresTable::AddRecord(std::string_view scoreText, TScoresTableRec rec) {
    // emplace into a multimap puts the new record after those of equal score.
    records.emplace(DecimalToInt(scoreText), std::move(rec));
}

int TScoresTable::LoadTable(const std::string& path) {
    std::string text;
    DataFileState state = DataFileState::Missing;
    LoadText(path, text, &state);
    if (loadedFrom_ != DataFileState::Unreadable) loadedFrom_ = state;
    ParseTableText(text);
    return 1;
}

void TScoresTable::ParseTableText(std::string_view text) {
    std::string field;
    TScoresTableRec rec;
    int index = 0;
    auto endLine = [&] {
        if (index == 3) AddRecord(field, std::move(rec));
        rec = TScoresTableRec{};
        field.clear();
        index = 0;
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') continue;
        // A text that does not end in a line feed has its last character added to the field before
        // the line ends, even when it is a tab.
        const bool last = i + 1 == text.size();
        if (c == '\n') {
            endLine();
        } else if (c == '\t' && !last) {
            if (index == 0) rec.date = std::move(field);
            if (index == 1) rec.name = std::move(field);
            if (index == 2) rec.skill = std::move(field);
            field.clear();
            if (index < 3)
                ++index;
            else
                index = 4;  // more than four fields: the line is dropped
        } else {
            field.push_back(c);
        }
    }
    if (!text.empty() && text.back() != '\n') endLine();
}

void TScoresTable::AddLine(std::string_view line) {
    TScoresTableRec rec;
    std::string field;
    int index = 0;
    for (char c : line) {
        if (c == '\r') continue;
        if (c != '\t') {
            field.push_back(c);
            continue;
        }
        if (index == 0) rec.date = field;
        if (index == 1) rec.name = field;
        if (index == 2) rec.skill = field;
        if (index < 3) ++index;
        field.clear();
    }
    AddRecord(field, std::move(rec));
}

std::string TScoresTable::TableText() {
    for (auto& count : groupCounts) count.second = 0;
    std::string text;
    for (auto it = records.rbegin(); it != records.rend(); ++it) {
        const TScoresTableRec& rec = it->second;
        if (++groupCounts[rec.name + rec.skill] > kBestResultsKeptPerPlayer) continue;
        AppendField(text, rec.date);
        text.push_back('\t');
        AppendField(text, rec.name);
        text.push_back('\t');
        AppendField(text, rec.skill);
        text.push_back('\t');
        text += std::to_string(it->first);
        text.push_back('\n');
    }
    return text;
}

bool TScoresTable::SaveTable(const std::string& path) {
    // The load has said on standard error which file it could not read.
    if (loadedFrom_ == DataFileState::Unreadable) return false;
    return SaveText(path, TableText());
}

void TScoresTable::RemoveSkill(std::string_view skill) {
    std::erase_if(records, [&](const auto& entry) { return entry.second.skill == skill; });
}

int TScoresTable::LoadText(const std::string& path, std::string& text, DataFileState* state) const {
    text.clear();
    std::string bytes;
    const ReadResult result = ReadFileLimited(path, kMaxDataFileSize, bytes);
    const int error = errno;
    if (state)
        *state = result == ReadResult::Ok        ? DataFileState::Read
                 : result == ReadResult::Missing ? DataFileState::Missing
                                                 : DataFileState::Unreadable;
    if (result == ReadResult::Missing) return 0;
    if (result != ReadResult::Ok) {
        std::fprintf(stderr, "%s: could not be read (%s); it is kept as it is and nothing is saved over it\n",
                     path.c_str(), ReadFailureText(result, error).c_str());
        return 0;
    }
    DecodedDataFile file = DecodeDataFile(bytes, DataFileKey);
    text = std::move(file.text);
    if (!file.hasCrc || file.lengthDamaged) return 0;
    if (file.CrcMatched()) return 1;
    std::printf("CRC error! %" PRId32 " != %" PRId32 "\n", int32_t(file.storedCrc),
                int32_t(file.computedCrc));
    std::fflush(stdout);
    return 0;
}

bool TScoresTable::SaveText(const std::string& path, std::string_view text) const {
    if (PrepareFolderFor(path) && WriteFileAtomically(path, EncodeDataFile(text, DataFileKey))) return true;
    // Never lost silently: the player learns why, and the old file is still whole.
    std::fprintf(stderr, "%s: could not be saved (%s); the previous file is kept\n", path.c_str(),
                 std::strerror(errno));
    return false;
}
