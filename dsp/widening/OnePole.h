#pragma once

#include <cmath>

namespace corvane
{
/** Coefficient of a one-pole smoother with the given time constant in ms. Not for the audio loop. */
inline float onePoleCoefficient (double sampleRate, double timeMs) noexcept
{
    // Single precision on purpose: the smoothing times were tuned with these exact float values.
    return std::exp (-1.0f / (float) (sampleRate * timeMs * 0.001));
}

/** Moves value one step towards target with coefficient k (y = k y + (1 - k) x). Real-time safe. */
inline void onePoleStep (float& value, float k, float target) noexcept
{
    value = k * value + (1.0f - k) * target;
}
} // namespace corvane
