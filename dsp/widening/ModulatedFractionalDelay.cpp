#include "ModulatedFractionalDelay.h"

namespace corvane
{
void ModulatedFractionalDelay::prepare (double newSampleRate, double startPhase) noexcept
{
    sampleRate = newSampleRate;
    phase = resetPhase = startPhase;
    for (const auto quality : {Quality::Live, Quality::Studio})
    {
        const auto step = radiansPerSecond (quality) / sampleRate;
        rotations[(size_t) quality] = {std::cos (step), std::sin (step)};
    }
    reset();
}

void ModulatedFractionalDelay::reset() noexcept
{
    buffer.fill (0.0f);
    writeIndex = 0;
    phase = resetPhase;
    samplesUntilResync = 0; // the next sample takes the exact sine of its phase
}
} // namespace corvane
