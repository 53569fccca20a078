#include "storage/NumberText.h"

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace {

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

size_t SkipSpace(std::string_view text, size_t i) {
    while (i < text.size() && IsSpace(text[i])) ++i;
    return i;
}

size_t SkipDigits(std::string_view text, size_t i) {
    while (i < text.size() && IsDigit(text[i])) ++i;
    return i;
}

}  // namespace

int32_t DecimalToInt(std::string_view text) {
    size_t i = SkipSpace(text, 0);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t value = 0;
    constexpr int64_t limit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > limit) value = limit;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int32_t>::max()) value = std::numeric_limits<int32_t>::max();
    return int32_t(value);
}

float DecimalToFloat(std::string_view text) {
    size_t start = SkipSpace(text, 0);
    size_t i = start;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const size_t digitsStart = i;
    i = SkipDigits(text, i);
    size_t mantissaDigits = i - digitsStart;
    if (i < text.size() && text[i] == '.') {
        size_t afterPoint = SkipDigits(text, i + 1);
        mantissaDigits += afterPoint - (i + 1);
        i = afterPoint;
    }
    if (mantissaDigits == 0) return 0.0f;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        size_t end = SkipDigits(text, j);
        if (end > j) i = end;
    }
    // The span holds only sign, digits, one '.', and an exponent: strtod reads it whole, and the
    // only locale-dependent character, the decimal point, is replaced by the locale's own.
    std::string number(text.substr(start, i - start));
    const char point = *std::localeconv()->decimal_point;
    for (char& c : number)
        if (c == '.') c = point;
    const double value = std::strtod(number.c_str(), nullptr);
    if (std::fabs(value) > std::numeric_limits<float>::max())
        return std::copysign(std::numeric_limits<float>::infinity(), value);
    return float(value);
}

int32_t TruncToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return int32_t(value);
}
