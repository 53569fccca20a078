#pragma once
// The settings files the soak plays with, one chosen for each run of the program. Most make levels
// end within a minute of game time (islands melting at their fastest, few leaves, short fades) so a
// long soak sees many levels; the defaults are played too, and a file of values far outside every
// range, which the game must hold to what it can play.
#include <cstdint>
#include <span>

struct SoakProfile {
    const char* name;
    const char* settings;  // the text of INI/Quillmoss.ini; none (defaults) when null
    uint32_t weight;       // how often it is chosen, relative to the others
};

std::span<const SoakProfile> SoakProfiles();
