#include "ui/TextGeometry.h"

#include <algorithm>

namespace text_geometry {
namespace {
int Length(std::span<const int> prefix) {
    return prefix.empty() ? 0 : static_cast<int>(prefix.size()) - 1;
}
// P(n), with n held inside the text (a first visible index past the end scrolls everything away).
int P(std::span<const int> prefix, int n) {
    const int length = Length(prefix);
    if (prefix.empty()) return 0;
    return prefix[static_cast<size_t>(std::clamp(n, 0, length))];
}
}  // namespace

CharSpan Span(std::span<const int> prefix, int first, int index) {
    const int length = Length(prefix);
    if (index < 0 || length == 0) return {};
    const int origin = P(prefix, first);
    if (index >= length) {
        const int end = P(prefix, length) - origin;
        return {end, end};
    }
    return {P(prefix, index) - origin, P(prefix, index + 1) - origin};
}

int CharAt(std::span<const int> prefix, int first, int x) {
    const int length = Length(prefix);
    if (length == 0 || x < 0) return 0;
    for (int i = std::max(first, 0); i < length; ++i) {
        const CharSpan s = Span(prefix, first, i);
        if (s.startX <= x && x < s.endX) return i;
    }
    return length;
}

int LastVisible(std::span<const int> prefix, int first, float boxWidth) {
    const int length = Length(prefix);
    for (int i = length - 1; i >= first && i >= 0; --i) {
        const CharSpan s = Span(prefix, first, i);
        if (s.startX >= 0 && static_cast<float>(s.endX) < boxWidth) return i;
    }
    return 0;
}

int ScrollFor(int cursor, int first, int last, int length, bool lastCharFits) {
    if (cursor < first) return cursor;
    if (cursor > last && (cursor < length || !lastCharFits)) return first + (cursor - last);
    return first;
}

}  // namespace text_geometry
