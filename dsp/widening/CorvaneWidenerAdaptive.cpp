// Per-sample loop of mode 1, "Adaptive Side V2": the body side is high-passed at the low-mono
// frequency, the presence side ducks on its own attacks and is low-passed, and a side-to-mid ratio
// limiter keeps the total side below the mid.
#include "CorvaneWidener.h"

namespace corvane
{
void CorvaneWidener::processAdaptive (juce::AudioBuffer<float>& buffer) noexcept
{
    const auto q = quality();
    forEachMidSide (buffer, [this, q] (float mid, float side) noexcept
    {
        const auto bandsA = adaptiveSplitters[0].split (mid);
        const auto bandsB = adaptiveSplitters[1].split (mid);
        const auto midHold = midTransient.stepHeld (std::abs (mid), 0.05f);

        const auto transientProtect = transientProtectSmoothed.getNextValue();
        const auto width = widthSmoothed.getNextValue();
        const auto depth = depthSmoothed.getNextValue();
        // Wider settings also deepen the modulation; the floor keeps some motion at low width.
        const auto widthCurve = std::clamp (0.18f + 0.82f * width, 0.0f, 1.0f);
        const auto modDepth = (0.35f + 0.65f * widthCurve) * motionSmoothed.getNextValue();

        const auto bodyDelayedA = adaptiveDelays[bodyA].process (adaptiveAllpass[bodyA].process (bandsA.body), 0.2f * modDepth, q, 0.08f);
        const auto bodyDelayedB = adaptiveDelays[bodyB].process (adaptiveAllpass[bodyB].process (bandsB.body), 0.2f * modDepth, q, 0.08f);
        const auto bodySide = bodySideHighPass.processSample (0.5f * (bodyDelayedA - bodyDelayedB));

        const auto presenceDelayedA = adaptiveDelays[presenceA].process (adaptiveAllpass[presenceA].process (bandsA.presence), modDepth, q, 1.0f);
        const auto presenceDelayedB = adaptiveDelays[presenceB].process (adaptiveAllpass[presenceB].process (bandsB.presence), 0.72f * modDepth, q, 1.0f);
        auto presenceSide = 0.5f * (presenceDelayedA - presenceDelayedB);
        presenceSide *= 1.0f - 0.25f * sideTransient.step (std::abs (presenceSide), 0.02f);
        presenceSide = presenceSideLowPass.processSample (presenceSide);

        const auto bodyWidth = bodyWidthSmoothed.getNextValue();
        const auto presenceWidth = presenceWidthSmoothed.getNextValue();
        const auto monoSafety = monoSafetySmoothed.getNextValue();

        const auto smoothWidth = width * width * (3.0f - 2.0f * width);
        const auto amount = (0.9f + 1.9f * smoothWidth) * (1.0f - 0.72f * transientProtect * midHold) * width * depth;
        const auto synth = amount * ((0.3f + 0.85f * widthCurve) * bodyWidth * bodySide
                                     + (0.25f + 0.95f * widthCurve * widthCurve) * presenceWidth * presenceSide);

        // Side-to-mid ratio limiter: the averaged side RMS may reach 1.05 (mono safety 0) down to
        // 0.72 (mono safety 1) times the mid RMS before the synthetic side is pulled back.
        const auto totalSide = side + synth;
        onePoleStep (midPower, powerCoeff, mid * mid);
        onePoleStep (sidePower, powerCoeff, totalSide * totalSide);
        const auto ratio = std::sqrt (sidePower / (midPower + 1e-12f));
        const auto limit = 1.05f + (0.72f - 1.05f) * monoSafety;
        const auto limiterTarget = ratio > limit ? std::clamp (limit / ratio, 0.05f, 1.0f) : 1.0f;
        onePoleStep (limiterGain, limiterTarget < limiterGain ? limiterDownCoeff : limiterUpCoeff, limiterTarget);

        const auto guardedSide = side + synth * limiterGain;
        updateCorrelationGuard (mid + guardedSide, mid - guardedSide, monoSafety);

        return MidSideOut { mid, side + synth * limiterGain * guardGain, trimGainSmoothed.getNextValue() };
    });
}
} // namespace corvane
