#include "ui/WordFlow.h"

namespace word_flow {
namespace {
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

void ShiftLine(std::vector<Point>& at, const std::vector<size_t>& line, int shift) {
    if (shift == 0) return;
    for (size_t i : line) at[i].x += shift;
}
}  // namespace

std::vector<std::string> SplitWords(std::string_view text) {
    std::vector<std::string> words;
    if (text.empty()) return words;
    std::string word;
    for (char c : text) {
        if (!IsSpace(c)) {
            word.push_back(c);
            continue;
        }
        words.push_back(word + ' ');
        word.clear();
    }
    words.push_back(word + ' ');
    return words;
}

int LineShift(int align, int freeSpace) {
    if (align == 1) return 0;
    if (align == 3) return freeSpace / 2;
    return freeSpace;
}

std::vector<Point> Flow(Band& band, const std::vector<Word>& words) {
    std::vector<Point> at(words.size());
    std::vector<size_t> line;
    for (size_t i = 0; i < words.size(); ++i) {
        const Word& w = words[i];
        const bool last = i + 1 == words.size();
        at[i] = {band.x, band.y};
        if (!last && static_cast<float>(band.x) + w.width > static_cast<float>(band.right)) {
            ShiftLine(at, line, LineShift(band.align, band.right - band.x));
            line.clear();
            band.x = band.left;
            band.y += static_cast<int>(w.height);
            at[i] = {band.x, band.y};
        }
        band.x += static_cast<int>(w.width);
        line.push_back(i);
        if (last) {
            ShiftLine(at, line, LineShift(band.align, band.right - band.x));
            band.x = band.left;
            band.y += static_cast<int>(w.height);
        }
    }
    return at;
}

}  // namespace word_flow
