// Per-sample loop of mode 0, "Legacy": decorrelated body and presence side, presence side excited
// by presence attacks, and a small air lift of the mid above 5 kHz.
#include "CorvaneWidener.h"

namespace corvane
{
void CorvaneWidener::processLegacy (juce::AudioBuffer<float>& buffer) noexcept
{
    const auto q = quality();
    forEachMidSide (buffer, [this, q] (float mid, float side) noexcept
    {
        const auto bandsA = legacySplitters[0].split (mid);
        const auto bandsB = legacySplitters[1].split (mid);
        const auto air = airHighPass.processSample (mid);

        const auto motion = motionSmoothed.getNextValue();
        const auto bodyDelayedA = legacyDelays[bodyA].process (legacyAllpass[bodyA].process (bandsA.body), 0.2f * motion, q, 0.08f);
        const auto bodyDelayedB = legacyDelays[bodyB].process (legacyAllpass[bodyB].process (bandsB.body), 0.2f * motion, q, 0.08f);
        const auto presenceDelayedA = legacyDelays[presenceA].process (legacyAllpass[presenceA].process (bandsA.presence), motion, q, 1.0f);
        const auto presenceDelayedB = legacyDelays[presenceB].process (legacyAllpass[presenceB].process (bandsB.presence), motion, q, 1.0f);

        const auto midHold = midTransient.stepHeld (std::abs (mid), 0.05f);
        const auto transientProtect = transientProtectSmoothed.getNextValue();
        const auto width = widthSmoothed.getNextValue();
        const auto depth = depthSmoothed.getNextValue();

        // Presence attacks (before decorrelation) lift the presence side by up to 4 dB at full width.
        const auto presenceHold = presenceTransient.stepHeld (std::abs (0.5f * (bandsA.presence + bandsB.presence)), 0.05f);
        const auto excite = std::sqrt (presenceHold);
        onePoleStep (exciteLevel, excite > exciteLevel ? exciteAttackCoeff : exciteReleaseCoeff, excite);
        const auto exciteGain = juce::Decibels::decibelsToGain (4.0f * width * width * exciteLevel);

        const auto bodyWidth = bodyWidthSmoothed.getNextValue();
        const auto presenceWidth = presenceWidthSmoothed.getNextValue();
        const auto monoSafety = monoSafetySmoothed.getNextValue();
        const auto airGain = juce::Decibels::decibelsToGain (1.35f * width * width) - 1.0f;

        const auto bodySide = 0.5f * (bodyDelayedA - bodyDelayedB);
        const auto presenceSide = 0.5f * (presenceDelayedA - presenceDelayedB);
        const auto amount = (1.0f - transientProtect * midHold) * width * depth;
        const auto synth = amount * ((0.9f - 0.2f * amount) * bodyWidth * bodySide
                                     + (1.05f + 0.18f * amount) * presenceWidth * exciteGain * presenceSide);

        const auto liftedMid = mid + airGain * air;
        updateCorrelationGuard (liftedMid + side + synth, liftedMid - (side + synth), monoSafety);

        return MidSideOut { liftedMid, side + synth * guardGain, trimGainSmoothed.getNextValue() };
    });
}
} // namespace corvane
