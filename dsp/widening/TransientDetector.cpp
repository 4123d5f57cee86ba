#include "TransientDetector.h"

namespace corvane
{
void TransientDetector::prepare (double sampleRate, double attackMs, double releaseMs, double slowMs, double holdReleaseMs) noexcept
{
    attackCoeff = onePoleCoefficient (sampleRate, attackMs);
    releaseCoeff = onePoleCoefficient (sampleRate, releaseMs);
    slowCoeff = onePoleCoefficient (sampleRate, slowMs);
    holdReleaseCoeff = holdReleaseMs > 0.0 ? onePoleCoefficient (sampleRate, holdReleaseMs) : 0.0f;
    reset();
}
} // namespace corvane
