#pragma once
#include <span>

// Character geometry of one line of text scrolled to a first visible character, computed from the
// widths of whole prefixes: prefix[n] is the measured width of the first n characters, for n = 0 to
// the text length (so prefix.size() is length + 1). Widths of single characters are never summed:
// kerning and rounding would make the sum drift from what is drawn.
namespace text_geometry {

struct CharSpan {
    int startX = 0;  // relative to the first visible character
    int endX = 0;
};

// Span of character `index`: P(index) - P(first) to P(index + 1) - P(first). An index at or past the
// end gives an empty span at the end of the text; a negative index or an empty text gives 0, 0.
CharSpan Span(std::span<const int> prefix, int first, int index);

// The first character from `first` on whose span holds x (start <= x < end); the text length when
// none does; 0 for an empty text or a negative x.
int CharAt(std::span<const int> prefix, int first, int x);

// Searching down from the last character to `first`, the first one that starts at or right of 0 and
// ends left of `boxWidth`; 0 when there is none.
int LastVisible(std::span<const int> prefix, int first, float boxWidth);

// The first visible character that keeps a caret at `cursor` in view, given the first and the last
// visible character now. Left of the box: the cursor becomes the first. Right of the last visible
// character: scroll by the distance, but a caret at the very end only scrolls when the last character
// does not fit the box (`lastCharFits` false).
int ScrollFor(int cursor, int first, int last, int length, bool lastCharFits);

}  // namespace text_geometry
