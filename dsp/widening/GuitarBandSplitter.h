#pragma once

#include "LR4LowPass.h"

namespace corvane
{
/** Splits a guitar signal into low, body and presence bands that sum back to the input. The upper
    bands are remainders, not high-pass outputs, so the split is exact up to float rounding. */
class GuitarBandSplitter
{
public:
    /** The three bands of one sample; low + body + presence equals the input. */
    struct Bands
    {
        float low = 0.0f;      /**< below the low-mono cutoff */
        float body = 0.0f;     /**< the rest, below bodyCutoffHz */
        float presence = 0.0f; /**< everything left above bodyCutoffHz */
    };

    /** Fixed crossover between body and presence, in Hz. */
    static constexpr float bodyCutoffHz = 2500.0f;
    /** Low-mono crossover in Hz used until the owner retunes it. */
    static constexpr float defaultLowCutoffHz = 300.0f;

    /** Prepares both crossovers for a rate in Hz at their starting cutoffs. See LR4Filter::prepare. */
    void prepare (double sampleRate);
    /** Clears both crossovers and keeps their cutoffs. Real-time safe. */
    void reset() noexcept;
    /** Splits one sample. Real-time safe. */
    Bands split (float x) noexcept
    {
        const auto low = lowSplit.processSample (x);
        const auto rest = x - low;
        const auto body = bodySplit.processSample (rest);
        return {low, body, rest - body};
    }

    /** Low-mono crossover; its owner retunes it with setCutoff once per block. */
    LR4LowPass lowSplit;
    /** Body/presence crossover at bodyCutoffHz. */
    LR4LowPass bodySplit;
};
} // namespace corvane
