#include "tools/assetgen/Sounds.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/assetgen/WavWriter.h"

namespace assetgen {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRate = kSampleRate;

size_t Samples(double seconds) {
    return static_cast<size_t>(seconds * kRate);
}

// A short linear fade in and out, so no sound starts or ends with a click.
void Fade(std::vector<double>& s, double inSeconds, double outSeconds) {
    const size_t in = Samples(inSeconds), out = Samples(outSeconds);
    for (size_t i = 0; i < in && i < s.size(); ++i) s[i] *= static_cast<double>(i) / in;
    for (size_t i = 0; i < out && i < s.size(); ++i) s[s.size() - 1 - i] *= static_cast<double>(i) / out;
}

// A sine whose frequency glides exponentially from f0 to f1, with an envelope of
// attack then exponential decay, added into `s` starting at `start` seconds.
void Glide(std::vector<double>& s, double start, double length, double f0, double f1, double amp,
           double decay, double attack = 0.004) {
    double phase = 0;
    const size_t first = Samples(start), n = Samples(length);
    for (size_t i = 0; i < n && first + i < s.size(); ++i) {
        const double t = i / kRate;
        const double f = f0 * std::pow(f1 / f0, t / length);
        phase += 2 * kPi * f / kRate;
        const double env = std::min(1.0, t / attack) * std::exp(-t * decay);
        s[first + i] += amp * env * std::sin(phase);
    }
}

// A partial of a struck object: a decaying sine at a fixed frequency.
void Partial(std::vector<double>& s, double start, double f, double amp, double decay) {
    const size_t first = Samples(start);
    for (size_t i = first; i < s.size(); ++i) {
        const double t = (i - first) / kRate;
        const double env = std::min(1.0, t / 0.002) * std::exp(-t * decay);
        s[i] += amp * env * std::sin(2 * kPi * f * t);
    }
}

// A soft organ-like note: fundamental with a little of the second and third harmonic, with vibrato.
void Note(std::vector<double>& s, double start, double length, double f, double amp, double vibrato = 0) {
    const size_t first = Samples(start), n = Samples(length);
    double phase = 0;
    for (size_t i = 0; i < n && first + i < s.size(); ++i) {
        const double t = i / kRate;
        const double fi = f * (1 + vibrato * std::sin(2 * kPi * 5.5 * t));
        phase += 2 * kPi * fi / kRate;
        const double env = std::min(1.0, t / 0.01) * std::min(1.0, (length - t) / 0.06) * std::exp(-t * 1.5);
        s[first + i] +=
            amp * env * (std::sin(phase) + 0.35 * std::sin(2 * phase) + 0.15 * std::sin(3 * phase));
    }
}

// Deterministic noise for transients.
class Noise {
  public:
    double Next() {
        state_ = state_ * 1664525u + 1013904223u;
        return (static_cast<double>(state_ >> 8) / 8388608.0) - 1.0;
    }

  private:
    uint32_t state_ = 12345u;
};

std::vector<double> Over() {
    std::vector<double> s(Samples(0.045));
    Partial(s, 0, 1500, 1.0, 90);
    Partial(s, 0, 3000, 0.25, 140);
    Fade(s, 0.001, 0.01);
    return s;
}

std::vector<double> Eat() {
    std::vector<double> s(Samples(0.16));
    Glide(s, 0, 0.09, 260, 820, 1.0, 18);
    Glide(s, 0.085, 0.07, 1100, 1500, 0.55, 45);
    Fade(s, 0.002, 0.02);
    return s;
}

// A falling "bwoop" with a wobble: pushed away.
std::vector<double> Uneat() {
    constexpr double kLength = 0.18;
    std::vector<double> s(Samples(kLength));
    double phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = i / kRate;
        const double f = 620 * std::pow(0.45, t / kLength) * (1 + 0.06 * std::sin(2 * kPi * 30 * t));
        phase += 2 * kPi * f / kRate;
        s[i] = std::exp(-t * 8) * (std::sin(phase) + 0.3 * std::sin(3 * phase));
    }
    Fade(s, 0.003, 0.03);
    return s;
}

std::vector<double> Sink() {
    std::vector<double> s(Samples(0.62));
    Glide(s, 0, 0.6, 320, 80, 0.7, 3.5, 0.01);
    const double starts[] = {0.02, 0.11, 0.17, 0.27, 0.34, 0.42, 0.47};
    const double pitch[] = {520, 430, 610, 380, 470, 330, 400};
    for (int i = 0; i < 7; ++i)
        Glide(s, starts[i], 0.06, pitch[i], pitch[i] * 1.9, 0.45 - 0.04 * i, 40, 0.002);
    Fade(s, 0.005, 0.08);
    return s;
}

// Rung every 1.5 s while the last island waits, inside a frame step: a small, high bell, so its
// ring dies away naturally within a quarter of a second instead of being cut off.
std::vector<double> Bell() {
    std::vector<double> s(Samples(0.24));
    // Partials of a small bell (hum, prime, minor third, fifth, nominal and above): the slightly
    // inharmonic series is what makes it sound like a bell rather than a tone.
    const double f = 1175;  // D6
    const double ratio[] = {0.5, 1.0, 1.183, 1.506, 2.0, 2.514, 2.662, 3.011};
    const double amp[] = {0.3, 0.8, 0.45, 0.25, 0.6, 0.2, 0.18, 0.12};
    const double decay[] = {7.0, 8.0, 10.0, 12.0, 11.0, 16.0, 18.0, 22.0};
    for (int i = 0; i < 8; ++i) Partial(s, 0, f * ratio[i], amp[i], decay[i]);
    Noise noise;
    for (size_t i = 0; i < Samples(0.004); ++i) s[i] += 0.3 * noise.Next() * (1 - i / (kRate * 0.004));
    Fade(s, 0.001, 0.08);
    return s;
}

// Every 1.5 s while a heart waits, inside a frame step: a quick lub-dub, the two thumps 0.11 s
// apart (a heart beating fast) and each dying out before the next.
std::vector<double> Heartbeat() {
    std::vector<double> s(Samples(0.24));
    // "Lub-dub": two low thumps, the second shorter and a little higher.
    // Small speakers hardly play the fundamental, so each thump carries its upper partials too.
    Glide(s, 0.0, 0.11, 95, 55, 1.0, 32, 0.006);
    Glide(s, 0.0, 0.08, 190, 110, 0.6, 40, 0.005);
    Glide(s, 0.0, 0.05, 380, 220, 0.15, 55, 0.004);
    Glide(s, 0.11, 0.11, 115, 65, 0.8, 40, 0.005);
    Glide(s, 0.11, 0.07, 230, 130, 0.5, 50, 0.004);
    Glide(s, 0.11, 0.04, 460, 260, 0.12, 65, 0.004);
    Fade(s, 0.002, 0.03);
    return s;
}

std::vector<double> GameOver() {
    std::vector<double> s(Samples(1.45));
    Note(s, 0.0, 0.26, 392.0, 0.8);          // G4
    Note(s, 0.26, 0.26, 329.6, 0.8);         // E4
    Note(s, 0.52, 0.26, 261.6, 0.8);         // C4
    Note(s, 0.78, 0.65, 196.0, 0.9, 0.012);  // G3, wavering
    Fade(s, 0.005, 0.15);
    return s;
}

std::vector<double> NewLevel() {
    std::vector<double> s(Samples(1.0));
    const double notes[] = {523.3, 659.3, 784.0, 1046.5};  // C5 E5 G5 C6
    for (int i = 0; i < 4; ++i) {
        const double start = 0.11 * i;
        Partial(s, start, notes[i], 0.7, i == 3 ? 3.0 : 6.0);
        Partial(s, start, notes[i] * 2, 0.2, i == 3 ? 5.0 : 9.0);
        Partial(s, start, notes[i] * 3.01, 0.07, 12.0);
    }
    Fade(s, 0.002, 0.15);
    return s;
}

}  // namespace

void AddSounds(AssetSet& assets) {
    const std::pair<const char*, std::vector<double> (*)()> sounds[] = {
        {"over", Over},         {"eat", Eat},           {"uneat", Uneat},
        {"sink", Sink},         {"bell", Bell},         {"heartbeat", Heartbeat},
        {"gameover", GameOver}, {"newlevel", NewLevel},
    };
    for (const auto& [name, make] : sounds)
        assets.AddFile(std::string("WAV/") + name + ".wav", EncodeWav(make()));
}

}  // namespace assetgen
