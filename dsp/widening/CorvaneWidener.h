#pragma once

#include "AllpassChain.h"
#include "GuitarBandSplitter.h"
#include "LR4HighPass.h"
#include "LR4LowPass.h"
#include "ModulatedFractionalDelay.h"
#include "Quality.h"
#include "TransientDetector.h"
#include <array>
#include <juce_audio_basics/juce_audio_basics.h>

namespace corvane
{
/** Stereo widener for guitar: builds new side content from the decorrelated body and presence
    bands of the mid signal (never from the low band), pulls it back on transients and when the
    output drifts towards negative correlation, and adds it to the existing side. Two modes:
    0 "Legacy" and 1 "Adaptive Side V2", which adds band-limited side filters and a side-to-mid
    ratio limiter. */
class CorvaneWidener
{
public:
    /** The controls, written by the owner before every block. */
    struct Settings
    {
        float width = 0.5f;            /**< 0..1, already clamped; 0 bypasses the widener */
        float depth = 0.5f;            /**< 0..1, amount of synthetic side */
        float lowMonoHz = 300.0f;      /**< Hz, below which nothing is decorrelated */
        float bodyWidth = 0.5f;        /**< 0..1, synthetic side from the body band */
        float presenceWidth = 0.7f;    /**< 0..1, synthetic side from the presence band */
        float transientProtect = 0.6f; /**< 0..1, how far attacks pull the synthetic side back */
        float motion = 0.25f;          /**< 0..1, depth of the delay modulation */
        float monoSafety = 0.7f;       /**< 0..1, strictness of the correlation guard and limiter */
        float outputTrimDb = 0.0f;     /**< dB, output gain; -100 dB or less is silence */
        int quality = 0;               /**< 0 Live, 1 Studio (see Quality) */
        int mode = 0;                  /**< 0 "Legacy", 1 "Adaptive Side V2" */
    };

    /** Values of Settings::mode. */
    static constexpr int legacyMode = 0, adaptiveMode = 1;

    /** Sets every rate, cutoff and coefficient, starts the smoothed controls at the settings, then
        clears. Call before processing; it may allocate. */
    void prepare (double newSampleRate);
    /** Clears the audio state of both modes; keeps settings, smoothing, quality and coefficients.
        Real-time safe. */
    void reset() noexcept;
    /** Widens channels 0 and 1 in place (a single channel is treated as L = R). Applies the
        settings at the block start; denormals are flushed meanwhile. Real-time safe. */
    void process (juce::AudioBuffer<float>& buffer) noexcept;

    /** The controls for the next block. */
    Settings settings;

    /** Quality the filters and delays are set up for, 0 or 1. Real-time safe. */
    int getActiveQuality() const noexcept { return activeQuality; }
    /** Mode whose state is live, 0 or 1. Real-time safe. */
    int getActiveMode() const noexcept { return activeMode; }
    /** Correlation guard gain on the synthetic side, 0.05..1. Real-time safe. */
    float getGuardGain() const noexcept { return guardGain; }
    /** Side-to-mid ratio limiter gain of "Adaptive Side V2", 0.05..1. Real-time safe. */
    float getLimiterGain() const noexcept { return limiterGain; }
    /** Low-mono frequency in Hz as of the last block set-up, which tuned the crossovers to it. Real-time safe. */
    float getLowMonoCutoffHz() const noexcept { return lowMonoSmoothed.getCurrentValue(); }
    /** Band splitter of a mode (0 or 1) for branch 0 (A) or 1 (B), for inspection. Real-time safe. */
    const GuitarBandSplitter& getSplitter (int mode, int branch) const noexcept;

private:
    using Smoothed = juce::SmoothedValue<float, juce::ValueSmoothingTypes::Linear>;
    // Element order of the per-mode chains and delays.
    enum Branch
    {
        bodyA,
        bodyB,
        presenceA,
        presenceB,
        numBranches
    };

    bool prepareBlock (int numSamples) noexcept;
    void applyQuality() noexcept;
    void clearLegacyState() noexcept;
    void clearAdaptiveState() noexcept;
    void clearCorrelation() noexcept;
    void updateCorrelationGuard (float left, float right, float monoSafety) noexcept;
    void processLegacy (juce::AudioBuffer<float>& buffer) noexcept;
    void processAdaptive (juce::AudioBuffer<float>& buffer) noexcept;

    // What a mode's per-sample step hands back: output mid and side and the trim gain on both.
    struct MidSideOut
    {
        float mid, side, trim;
    };
    template <typename SampleStep>
    static void forEachMidSide (juce::AudioBuffer<float>& buffer, SampleStep&& step) noexcept;
    Quality quality() const noexcept { return activeQuality == 1 ? Quality::Studio : Quality::Live; }

    double sampleRate = 48000.0;
    int activeQuality = 0;
    int activeMode = legacyMode;

    // "Legacy" state
    std::array<GuitarBandSplitter, 2> legacySplitters;
    LR4HighPass airHighPass;
    std::array<AllpassChain, numBranches> legacyAllpass;
    std::array<ModulatedFractionalDelay, numBranches> legacyDelays;
    TransientDetector presenceTransient;
    float exciteLevel = 0.0f;
    float exciteAttackCoeff = 0.0f, exciteReleaseCoeff = 0.0f;

    // Shared by both modes: mid transients and the correlation guard
    TransientDetector midTransient;
    float crossPower = 0.0f, leftPower = 0.0f, rightPower = 0.0f;
    float correlationCoeff = 0.0f;
    float guardGain = 1.0f;
    float guardDownCoeff = 0.0f, guardUpCoeff = 0.0f;

    // "Adaptive Side V2" state
    std::array<GuitarBandSplitter, 2> adaptiveSplitters;
    std::array<AllpassChain, numBranches> adaptiveAllpass;
    std::array<ModulatedFractionalDelay, numBranches> adaptiveDelays;
    LR4HighPass bodySideHighPass;
    LR4LowPass presenceSideLowPass;
    TransientDetector sideTransient;
    float midPower = 0.0f, sidePower = 0.0f;
    float limiterGain = 1.0f;
    float powerCoeff = 0.0f, limiterDownCoeff = 0.0f, limiterUpCoeff = 0.0f;

    // Smoothed controls, each advanced once per sample except the low-mono cutoff (once per block)
    Smoothed widthSmoothed, depthSmoothed, lowMonoSmoothed, bodyWidthSmoothed, presenceWidthSmoothed,
        transientProtectSmoothed, motionSmoothed, monoSafetySmoothed, trimGainSmoothed;
};

// Feeds every sample's mid and side to step and writes (mid +- side) x trim back in place. A single
// channel counts as L = R, and only it is written.
template <typename SampleStep>
void CorvaneWidener::forEachMidSide (juce::AudioBuffer<float>& buffer, SampleStep&& step) noexcept
{
    auto* left = buffer.getWritePointer (0);
    auto* right = buffer.getNumChannels() > 1 ? buffer.getWritePointer (1) : nullptr;
    for (int n = 0; n < buffer.getNumSamples(); ++n)
    {
        const auto inLeft = left[n];
        const auto inRight = right != nullptr ? right[n] : inLeft;
        const auto out = step (0.5f * (inLeft + inRight), 0.5f * (inLeft - inRight));
        left[n] = (out.mid + out.side) * out.trim;
        if (right != nullptr)
            right[n] = (out.mid - out.side) * out.trim;
    }
}

// Inline: both per-sample loops call it, from their own source files.
inline void CorvaneWidener::updateCorrelationGuard (float left, float right, float monoSafety) noexcept
{
    onePoleStep (crossPower, correlationCoeff, left * right);
    onePoleStep (leftPower, correlationCoeff, left * left);
    onePoleStep (rightPower, correlationCoeff, right * right);
    const auto correlation = crossPower / (std::sqrt (leftPower * rightPower) + 1e-12f);

    // Threshold from -0.65 (mono safety 0) to 0.10 (mono safety 1); never below 5 % of the side.
    const auto threshold = 0.75f * monoSafety - 0.65f;
    const auto target = correlation < threshold ? std::clamp (1.0f - 1.6f * (threshold - correlation), 0.05f, 1.0f) : 1.0f;
    onePoleStep (guardGain, target < guardGain ? guardDownCoeff : guardUpCoeff, target);
}
} // namespace corvane
