#pragma once

#include "Quality.h"
#include <algorithm>
#include <array>
#include <cstddef>
#include <cmath>

namespace corvane
{
/** Circular delay line read at a fractional position that a slow sine sweeps; it decorrelates a
    copy of the signal without a fixed comb. Linear reads for Live, Catmull-Rom cubic for Studio. */
class ModulatedFractionalDelay
{
public:
    /** Length of the circular memory in samples (a power of two, so wrapping is a mask). */
    static constexpr int bufferSize = 2048;
    /** Shortest and longest delay in samples; the longest leaves room for the cubic's extra points. */
    static constexpr double minDelaySamples = 1.0, maxDelaySamples = 2044.0;

    /** Sets the rate in Hz and the start phase in radians, then clears. Real-time safe. */
    void prepare (double newSampleRate, double startPhase) noexcept;
    /** Clears the memory and returns the modulation to its start phase. Real-time safe. */
    void reset() noexcept;

    /** Writes one sample and returns one delayed by baseDelay x 0.32 ms plus modDepth x 0.08 ms x
        the modulation sine, clamped to [1, 2044] samples. Real-time safe. */
    float process (float input, float modDepth, Quality quality, float baseDelay) noexcept
    {
        buffer[(size_t) writeIndex] = input;
        advancePhase (quality);

        auto delaySamples = sampleRate * 0.00032 * baseDelay + modDepth * 0.00008 * sampleRate * sinPhase;
        delaySamples = std::clamp (delaySamples, minDelaySamples, maxDelaySamples);

        auto readPosition = writeIndex - delaySamples;
        while (readPosition < 0.0)
            readPosition += bufferSize;

        const auto index = (int) readPosition;
        const auto fraction = (float) (readPosition - index);
        const auto result = quality == Quality::Studio ? readCubic (index, fraction) : readLinear (index, fraction);

        writeIndex = (writeIndex + 1) & mask;
        return result;
    }

    /** Circular sample memory. */
    std::array<float, bufferSize> buffer{};
    /** Where the next input sample goes, 0..bufferSize - 1. */
    int writeIndex = 0;
    /** Sample rate in Hz; 48000 until prepared. */
    double sampleRate = 48000.0;
    /** Modulation phase in radians, 0 <= phase < 2 pi. */
    double phase = 0.0;
    /** The phase every reset returns to, in radians. */
    double resetPhase = 0.0;

private:
    static constexpr int mask = bufferSize - 1;
    static constexpr double twoPi = 6.283185307179586;
    // Modulation rates in rad/s: 2 pi x 0.071 Hz for Studio, 2 pi x 0.053 Hz for Live.
    static constexpr double studioRadiansPerSecond = 0.4461061568097506;
    static constexpr double liveRadiansPerSecond = 0.33300882128051806;

    // The sine of the phase comes from a rotating phasor, re-anchored to the exact sine of the
    // phase every resyncInterval samples: within 1e-12 of calling sin per sample, at a fraction
    // of the cost (four delays per widener sample each need one).
    static constexpr int resyncInterval = 4096;
    struct Rotation
    {
        double cosStep = 1.0, sinStep = 0.0;
    };
    std::array<Rotation, 2> rotations; // one per quality, indexed by Quality
    double sinPhase = 0.0, cosPhase = 1.0;
    int samplesUntilResync = 0;

    static double radiansPerSecond (Quality quality) noexcept
    {
        return quality == Quality::Studio ? studioRadiansPerSecond : liveRadiansPerSecond;
    }

    void advancePhase (Quality quality) noexcept
    {
        phase += radiansPerSecond (quality) / sampleRate;
        if (phase >= twoPi)
            phase -= twoPi;

        if (--samplesUntilResync > 0)
        {
            const auto& r = rotations[(size_t) quality];
            const auto nextSin = sinPhase * r.cosStep + cosPhase * r.sinStep;
            cosPhase = cosPhase * r.cosStep - sinPhase * r.sinStep;
            sinPhase = nextSin;
        }
        else
        {
            sinPhase = std::sin (phase);
            cosPhase = std::cos (phase);
            samplesUntilResync = resyncInterval;
        }
    }

    // The mask keeps every read inside the buffer whatever the position.
    float at (int index) const noexcept { return buffer[(size_t) (index & mask)]; }

    float readLinear (int index, float fraction) const noexcept
    {
        const auto y0 = at (index), y1 = at (index + 1);
        return y0 + fraction * (y1 - y0);
    }

    float readCubic (int index, float fraction) const noexcept
    {
        const auto ym1 = at (index + mask), y0 = at (index), y1 = at (index + 1), y2 = at (index + 2);
        const auto c1 = 0.5f * (y1 - ym1);
        const auto c2 = ym1 - 2.5f * y0 + 2.0f * y1 - 0.5f * y2;
        const auto c3 = 0.5f * (y2 - ym1) + 1.5f * (y0 - y1);
        return ((c3 * fraction + c2) * fraction + c1) * fraction + y0;
    }
};
} // namespace corvane
