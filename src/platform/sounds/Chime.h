#pragma once

// The monitor's new-order chime: two bell strokes, a major third down ("ding-dong"), 0.6
// seconds of 16-bit mono sound (playing blocks the poll, so it stays short). Plain C++ so
// that the build's generator can write it without
// any library; the sound layer uses the same code to check what it plays.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace chime {

inline constexpr int kSampleRate = 22050; // frames per second
inline constexpr int kFrames = kSampleRate * 3 / 5; // 0.6 seconds

// The samples, deterministic (the same on every machine and every build).
inline std::vector<std::int16_t> Samples()
{
    struct Stroke
    {
        double start; // seconds
        double frequency; // Hz
    };
    const Stroke strokes[] = {{0.0, 1318.51}, {0.15, 1046.50}}; // E6, then C6
    const double pi = 3.14159265358979323846;
    const double attack = 0.004; // seconds: a soft start, no click
    const double decay = 0.14; // seconds for the fundamental to fall to 1/e
    const double fadeOut = 0.03; // seconds: the end reaches silence exactly

    std::vector<std::int16_t> samples(kFrames);
    for (int i = 0; i < kFrames; ++i) {
        const double t = double(i) / kSampleRate;
        double v = 0;
        for (const Stroke &s : strokes) {
            const double u = t - s.start;
            if (u < 0)
                continue;
            const double rise = std::min(1.0, u / attack);
            const double w = 2 * pi * s.frequency * u;
            v += rise
                * (std::exp(-u / decay) * std::sin(w)
                   + 0.35 * std::exp(-2 * u / decay) * std::sin(2 * w)
                   + 0.12 * std::exp(-3 * u / decay) * std::sin(3 * w));
        }
        const double left = double(kFrames - 1 - i) / kSampleRate;
        v *= std::min(1.0, left / fadeOut);
        const double scaled = std::round(v * 0.3 * 32767);
        samples[std::size_t(i)] = std::int16_t(std::clamp(scaled, -32767.0, 32767.0));
    }
    return samples;
}

// A RIFF wave file (PCM, 16 bits, one channel) holding samples.
inline std::string WaveFile(const std::vector<std::int16_t> &samples, int sampleRate)
{
    std::string out;
    auto put32 = [&out](std::uint32_t v) {
        for (int b = 0; b < 4; ++b)
            out += char((v >> (8 * b)) & 0xFF);
    };
    auto put16 = [&out](std::uint16_t v) {
        out += char(v & 0xFF);
        out += char(v >> 8);
    };
    const std::uint32_t dataBytes = std::uint32_t(samples.size() * 2);
    out += "RIFF";
    put32(36 + dataBytes);
    out += "WAVE";
    out += "fmt ";
    put32(16);
    put16(1); // PCM
    put16(1); // channels
    put32(std::uint32_t(sampleRate));
    put32(std::uint32_t(sampleRate) * 2); // bytes per second
    put16(2); // bytes per frame
    put16(16); // bits per sample
    out += "data";
    put32(dataBytes);
    for (std::int16_t s : samples)
        put16(std::uint16_t(s));
    return out;
}

} // namespace chime
