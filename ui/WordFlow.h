#pragma once
#include <string>
#include <string_view>
#include <vector>

// Running text broken into words and flowed into a horizontal band, line by line. Pure: the words'
// sizes come from the caller, who measured them in their font.
namespace word_flow {

// The words of a text: every white-space character (space, tab, line feed, carriage return,
// vertical tab, form feed) ends a word, and the end of the text ends one more. Each word gets one
// trailing space, whatever ended it, so two white-space characters in a row make a word of a single
// space. An empty text has no words.
std::vector<std::string> SplitWords(std::string_view text);

struct Word {
    float width = 0;
    float height = 0;
};

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

// Where the next word goes and the band it flows in; updated by Flow so that the next call goes on
// where this one stopped. align: 1 left, 3 centred, anything else right.
struct Band {
    int x = 0;
    int y = 0;
    int left = 0;
    int right = 0;
    int align = 1;
};

// Places the words one after another from (x, y). A word that would pass `right` starts a new line at
// `left`, one word height lower, and the full line is shifted by its free space for the alignment (so
// a first word wider than the band leaves the first line empty). The last word always stays on the
// current line, even past `right`; its line is aligned the same way (a negative free space moves it
// left), and the band's position then moves to the start of the next line. Returns each word's
// top-left corner.
std::vector<Point> Flow(Band& band, const std::vector<Word>& words);

// The shift of a line with `freeSpace` pixels left over, for an alignment value.
int LineShift(int align, int freeSpace);

}  // namespace word_flow
