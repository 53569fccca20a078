#pragma once
#include <cstdint>
#include <string_view>

// Number conversions of the game's text files (settings, score table, saved state), with the
// semantics of the C runtime's atoi and atof but independent of the locale and without undefined
// behaviour on overflow.

// Leading white space, one optional '+' or '-', then decimal digits up to the first other
// character; no digits gives 0 ("12abc" is 12). Values beyond the 32-bit range saturate.
int32_t DecimalToInt(std::string_view text);

// Leading white space, optional sign, digits with an optional fraction and exponent ("-0.4",
// "1e3", ".5"); anything else ends the number; no digits gives 0. Hexadecimal, "inf" and "nan" are
// not numbers here. Too large a value gives an infinity, as the runtime's atof does.
float DecimalToFloat(std::string_view text);

// Truncation toward zero of a real result, saturating at the 32-bit limits; NaN gives 0.
int32_t TruncToInt(double value);
