#pragma once

#include "OnePole.h"
#include <algorithm>

namespace corvane
{
/** Compares a fast and a slow envelope of a rectified signal and turns their difference into a
    transient measure between 0 and 1, optionally held with instant rise and slow fall. */
class TransientDetector
{
public:
    /** Sets the four smoothing times in ms (hold release may be 0 for a detector without hold) and
        clears. Real-time safe. */
    void prepare (double sampleRate, double attackMs, double releaseMs, double slowMs, double holdReleaseMs) noexcept;
    /** Clears both envelopes and the hold. Real-time safe. */
    void reset() noexcept { fastEnvelope = slowEnvelope = hold = 0.0f; }

    /** One step on a rectified input v >= 0 with the offset e that keeps quiet passages from
        reading as transients; returns the raw measure in [0, 1]. Real-time safe. */
    float step (float v, float offset) noexcept
    {
        onePoleStep (fastEnvelope, v > fastEnvelope ? attackCoeff : releaseCoeff, v);
        onePoleStep (slowEnvelope, slowCoeff, v);
        return std::clamp ((fastEnvelope - slowEnvelope) / (slowEnvelope + offset), 0.0f, 1.0f);
    }

    /** step(), then the held measure: rises at once, falls with the hold release. Real-time safe. */
    float stepHeld (float v, float offset) noexcept
    {
        const auto t = step (v, offset);
        if (t > hold)
            hold = t;
        else
            onePoleStep (hold, holdReleaseCoeff, t);
        return hold;
    }

    /** Fast envelope of the rectified input. */
    float fastEnvelope = 0.0f;
    /** Slow envelope of the rectified input. */
    float slowEnvelope = 0.0f;
    /** Held transient measure (stepHeld only). */
    float hold = 0.0f;
    /** Fast envelope coefficients while the input is above it / not above it. */
    float attackCoeff = 0.0f, releaseCoeff = 0.0f;
    /** Slow envelope coefficient. */
    float slowCoeff = 0.0f;
    /** Coefficient of the hold while it falls. */
    float holdReleaseCoeff = 0.0f;
};
} // namespace corvane
