#pragma once
// 16-bit mono PCM WAV files from floating-point samples.

#include <cstdint>
#include <vector>

namespace assetgen {

constexpr int kSampleRate = 22050;
constexpr double kPeakLevel = 0.7;  // of full scale: loud enough, never clipping

// Scales the samples so that their largest magnitude is kPeakLevel of full scale (silence stays
// silent), rounds them to 16 bits and wraps them in a RIFF/WAVE header.
std::vector<uint8_t> EncodeWav(const std::vector<double>& samples, int sampleRate = kSampleRate);

}  // namespace assetgen
