#include "tools/assetgen/WavWriter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace assetgen {
namespace {

void Put(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void PutTag(std::vector<uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

}  // namespace

std::vector<uint8_t> EncodeWav(const std::vector<double>& samples, int sampleRate) {
    double peak = 0;
    for (double s : samples) peak = std::max(peak, std::fabs(s));
    const double gain = peak > 0 ? kPeakLevel * 32767.0 / peak : 0.0;

    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::vector<uint8_t> out;
    out.reserve(44 + dataBytes);
    PutTag(out, "RIFF");
    Put(out, 36 + dataBytes, 4);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put(out, 16, 4);
    Put(out, 1, 2);  // PCM
    Put(out, 1, 2);  // mono
    Put(out, static_cast<uint32_t>(sampleRate), 4);
    Put(out, static_cast<uint32_t>(sampleRate * 2), 4);
    Put(out, 2, 2);
    Put(out, 16, 2);
    PutTag(out, "data");
    Put(out, dataBytes, 4);
    for (double s : samples) {
        const long v = std::lround(std::clamp(s * gain, -32767.0, 32767.0));
        Put(out, static_cast<uint32_t>(static_cast<int16_t>(v)) & 0xFFFFu, 2);
    }
    return out;
}

}  // namespace assetgen
