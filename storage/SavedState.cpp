#include "storage/SavedState.h"

#include <algorithm>

#include "storage/NumberText.h"

namespace {

// The fields of a state text: each runs to the next tab or to the end of the text, and the tab
// after it is skipped. Past the end every field is empty.
class FieldReader {
  public:
    explicit FieldReader(std::string_view text) : text_(text) {}

    // The next field as a number; nullopt when it is empty.
    std::optional<int32_t> Next() {
        if (at_ >= text_.size()) return std::nullopt;
        const size_t tab = std::min(text_.find('\t', at_), text_.size());
        const std::string_view field = text_.substr(at_, tab - at_);
        at_ = tab + 1;
        if (field.empty()) return std::nullopt;
        return DecimalToInt(field);
    }

  private:
    std::string_view text_;
    size_t at_ = 0;
};

bool InRange(const std::optional<int32_t>& value, int32_t low, int32_t high) {
    return !value || (*value >= low && *value <= high);
}

bool OnGrid(const SavedIsland& island, const StateLimits& limits) {
    return island.column >= 0 && island.column < limits.columns && island.row >= 0 &&
           island.row < limits.rows;
}

// A cell an island may stand on: the grid, or the marker of an island taken out of the pond.
bool UsableCell(const SavedIsland& island, const StateLimits& limits) {
    return OnGrid(island, limits) || (island.column == kOffGrid && island.row == kOffGrid);
}

// Reads the islands. An empty field takes the value read for the island before; the first island
// has none, so an empty field there spoils the layout.
bool ReadIslands(FieldReader& fields, const StateLimits& limits, std::vector<SavedIsland>& islands) {
    bool valid = true;
    SavedIsland previous;
    for (int32_t i = 0; i < limits.islandCount; ++i) {
        SavedIsland island;
        int32_t* parts[] = {&island.column, &island.row, &island.frame};
        const int32_t* before[] = {&previous.column, &previous.row, &previous.frame};
        for (size_t p = 0; p < 3; ++p) {
            const std::optional<int32_t> value = fields.Next();
            if (!value && i == 0) valid = false;
            *parts[p] = value ? *value : *before[p];
        }
        islands.push_back(island);
        previous = island;
    }
    return valid;
}

// Every island on a usable cell with a frame of the clip; the entry island goes back to (4, 3) and
// no other island may share a cell with it or with each other.
bool CheckIslands(std::vector<SavedIsland>& islands, const StateLimits& limits) {
    if (islands.empty()) return true;
    SavedIsland& entry = islands.back();
    bool valid = UsableCell(entry, limits);
    entry.column = kEntryColumn;
    entry.row = kEntryRow;
    valid = valid && OnGrid(entry, limits);
    for (size_t i = 0; i < islands.size(); ++i) {
        const SavedIsland& island = islands[i];
        valid =
            valid && island.frame >= 0 && island.frame < limits.islandFrames && UsableCell(island, limits);
        if (!OnGrid(island, limits)) continue;
        for (size_t j = i + 1; j < islands.size(); ++j) {
            const SavedIsland& other = islands[j];
            if (other.column == island.column && other.row == island.row) valid = false;
        }
    }
    return valid;
}

void AppendField(std::string& text, int32_t value) {
    text += std::to_string(value);
    text.push_back('\t');
}

}  // namespace

std::string StateText(const SavedState& state) {
    std::string text;
    AppendField(text, state.skill);
    AppendField(text, state.soundOn ? 1 : 0);
    AppendField(text, state.autoSave ? 1 : 0);
    AppendField(text, state.levelNumber);
    AppendField(text, state.score);
    AppendField(text, state.levelPoints);
    AppendField(text, state.islandsLeft);
    for (const SavedIsland& island : state.islands) {
        AppendField(text, island.column);
        AppendField(text, island.row);
        AppendField(text, island.frame);
    }
    AppendField(text, state.lives);
    return text;
}

ReadStateResult ReadStateText(std::string_view text, const StateLimits& limits) {
    ReadStateResult result;
    FieldReader fields(text);

    if (const std::optional<int32_t> skill = fields.Next()) {
        // The skill indexes the options' boxes and the tables of hearts and lives.
        result.skillValid = *skill >= 0 && *skill <= 2;
        result.skill = result.skillValid ? *skill : 0;
    }
    if (const std::optional<int32_t> sound = fields.Next()) result.soundOn = *sound != 0;
    if (const std::optional<int32_t> autoSave = fields.Next()) result.autoSave = *autoSave != 0;

    result.levelNumber = fields.Next();
    result.score = fields.Next();
    result.levelPoints = fields.Next();
    result.progressValid = InRange(result.levelNumber, 1, kMaxSavedLevel) &&
                           InRange(result.score, 0, kMaxSavedPoints) &&
                           InRange(result.levelPoints, 0, kMaxSavedPoints);
    fields.Next();  // islands left: the pond counts them itself

    const int32_t islandCount = std::max<int32_t>(limits.islandCount, 0);
    result.islandsValid = ReadIslands(fields, limits, result.islands);
    result.islandsValid = CheckIslands(result.islands, limits) && result.islandsValid;

    result.lives = fields.Next().value_or(0);
    result.livesValid = result.lives >= 1 && result.lives <= limits.frogCount;

    // A file written for another number of islands has its island fields and the lives shifted; the
    // numbers may still look plausible, so the count itself must agree.
    const size_t expected = 8 + 3 * static_cast<size_t>(islandCount);
    result.fieldCountMatches = !text.empty() && text.back() == '\t' &&
                               static_cast<size_t>(std::count(text.begin(), text.end(), '\t')) == expected;
    // Saved after its last frog had gone (a quit confirmed while the frog faded), the game had ended:
    // its level and score are not carried into the next start, which begins a new game.
    if (result.fieldCountMatches && result.lives == 0) result.progressValid = false;
    return result;
}
