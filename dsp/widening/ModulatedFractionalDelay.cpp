#include "ModulatedFractionalDelay.h"

namespace corvane
{
void ModulatedFractionalDelay::prepare (double newSampleRate, double startPhase) noexcept
{
    sampleRate = newSampleRate;
    phase = resetPhase = startPhase;
    reset();
}

void ModulatedFractionalDelay::reset() noexcept
{
    buffer.fill (0.0f);
    writeIndex = 0;
    phase = resetPhase;
}
} // namespace corvane
