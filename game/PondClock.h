#pragma once
#include <cstdint>

// The pond's times are milliseconds of the 32-bit clock, which wraps after 49.7 days: they are kept
// unsigned and compared by their difference, so a game running across the wrap goes on as before. A
// negative wait (a modder's setting) means at once.
namespace pond {

inline bool MoreThan(uint32_t now, uint32_t since, int64_t ms) {
    return ms < 0 || static_cast<int64_t>(static_cast<uint32_t>(now - since)) > ms;
}

inline bool AtLeast(uint32_t now, uint32_t since, int64_t ms) {
    return ms <= 0 || static_cast<int64_t>(static_cast<uint32_t>(now - since)) >= ms;
}

}  // namespace pond
