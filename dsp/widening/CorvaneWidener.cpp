#include "CorvaneWidener.h"

namespace corvane
{
namespace
{
constexpr double rampSeconds = 0.025;
constexpr double branchStartPhases[] = {0.0, 2.173, 0.0, 2.173}; // body A, body B, presence A, presence B
constexpr float airCutoffHz = 5000.0f;

float presenceSideCutoffHz (Quality quality) noexcept
{
    return quality == Quality::Studio ? 8000.0f : 7200.0f;
}
float trimGain (float trimDb) noexcept
{
    return juce::Decibels::decibelsToGain (trimDb);
}

// A target within float tolerance of the current one leaves a running ramp alone. JUCE 8's smoother
// does this itself; older versions compare exactly, so the tolerance is applied here.
void setTarget (juce::SmoothedValue<float>& smoothed, float target) noexcept
{
#if JUCE_MAJOR_VERSION < 8
    const auto current = smoothed.getTargetValue();
    const auto difference = std::abs (target - current);
    const auto tolerance = std::numeric_limits<float>::epsilon() * std::max (std::abs (target), std::abs (current));
    if (std::isfinite (target) && std::isfinite (current) && (difference <= std::numeric_limits<float>::min() || difference <= tolerance))
        return;
#endif
    smoothed.setTargetValue (target);
}
} // namespace

void CorvaneWidener::prepare (double newSampleRate)
{
    sampleRate = newSampleRate;

    for (auto* splitters : {&legacySplitters, &adaptiveSplitters})
        for (auto& splitter : *splitters)
            splitter.prepare (sampleRate);
    airHighPass.prepare (sampleRate, airCutoffHz);
    bodySideHighPass.prepare (sampleRate, GuitarBandSplitter::defaultLowCutoffHz);
    for (size_t i = 0; i < numBranches; ++i)
    {
        legacyDelays[i].prepare (sampleRate, branchStartPhases[i]);
        adaptiveDelays[i].prepare (sampleRate, branchStartPhases[i]);
    }

    midTransient.prepare (sampleRate, 0.7, 18.0, 45.0, 35.0);
    presenceTransient.prepare (sampleRate, 0.7, 18.0, 45.0, 35.0);
    sideTransient.prepare (sampleRate, 3.0, 28.0, 110.0, 0.0);
    correlationCoeff = onePoleCoefficient (sampleRate, 45.0);
    guardDownCoeff = onePoleCoefficient (sampleRate, 12.0);
    guardUpCoeff = onePoleCoefficient (sampleRate, 180.0);
    powerCoeff = onePoleCoefficient (sampleRate, 45.0);
    limiterDownCoeff = onePoleCoefficient (sampleRate, 8.0);
    limiterUpCoeff = onePoleCoefficient (sampleRate, 180.0);
    exciteAttackCoeff = onePoleCoefficient (sampleRate, 1.5);
    exciteReleaseCoeff = onePoleCoefficient (sampleRate, 45.0);

    const std::pair<Smoothed*, float> controls[] = {
        {&widthSmoothed, settings.width},
        {&depthSmoothed, settings.depth},
        {&lowMonoSmoothed, settings.lowMonoHz},
        {&bodyWidthSmoothed, settings.bodyWidth},
        {&presenceWidthSmoothed, settings.presenceWidth},
        {&transientProtectSmoothed, settings.transientProtect},
        {&motionSmoothed, settings.motion},
        {&monoSafetySmoothed, settings.monoSafety},
        {&trimGainSmoothed, trimGain (settings.outputTrimDb)},
    };
    for (const auto& [smoothed, value] : controls)
    {
        smoothed->reset (sampleRate, rampSeconds);
        smoothed->setCurrentAndTargetValue (value);
    }

    applyQuality();
    reset();
}

void CorvaneWidener::reset() noexcept
{
    clearLegacyState();
    clearAdaptiveState();
    midTransient.reset();
    presenceTransient.reset();
    clearCorrelation();
    activeMode = juce::jlimit (legacyMode, adaptiveMode, settings.mode);
}

void CorvaneWidener::process (juce::AudioBuffer<float>& buffer) noexcept
{
    if (buffer.getNumChannels() == 0)
        return;

    const juce::ScopedNoDenormals noDenormals;
    if (!prepareBlock (buffer.getNumSamples()))
        return;

    if (activeMode == adaptiveMode)
        processAdaptive (buffer);
    else
        processLegacy (buffer);
}

const GuitarBandSplitter& CorvaneWidener::getSplitter (int mode, int branch) const noexcept
{
    jassert (branch == 0 || branch == 1);
    return (mode == adaptiveMode ? adaptiveSplitters : legacySplitters)[(size_t) branch];
}

bool CorvaneWidener::prepareBlock (int numSamples) noexcept
{
    if (settings.width <= 0.0f)
    {
        // Bypassed: the block passes untouched, and widening restarts from the dry signal later.
        widthSmoothed.setCurrentAndTargetValue (0.0f);
        trimGainSmoothed.setCurrentAndTargetValue (1.0f);
        reset();
        return false;
    }

    if (juce::jlimit (0, 1, settings.quality) != activeQuality)
    {
        applyQuality();
        clearLegacyState();
        clearAdaptiveState();
        clearCorrelation();
    }

    const auto mode = juce::jlimit (legacyMode, adaptiveMode, settings.mode);
    if (mode != activeMode)
    {
        // Only the mode being entered starts from silence; the other keeps its stale state.
        if (mode == adaptiveMode)
            clearAdaptiveState();
        else
            clearLegacyState();
        clearCorrelation();
        activeMode = mode;
    }

    setTarget (widthSmoothed, settings.width);
    setTarget (depthSmoothed, settings.depth);
    setTarget (lowMonoSmoothed, settings.lowMonoHz);
    setTarget (bodyWidthSmoothed, settings.bodyWidth);
    setTarget (presenceWidthSmoothed, settings.presenceWidth);
    setTarget (transientProtectSmoothed, settings.transientProtect);
    setTarget (motionSmoothed, settings.motion);
    setTarget (monoSafetySmoothed, settings.monoSafety);
    setTarget (trimGainSmoothed, trimGain (settings.outputTrimDb));

    // Block rate on purpose: the crossovers are redesigned once per block, never per sample.
    const auto lowMonoHz = lowMonoSmoothed.skip (numSamples);
    for (auto* splitters : {&legacySplitters, &adaptiveSplitters})
        for (auto& splitter : *splitters)
            splitter.lowSplit.setCutoff (lowMonoHz);
    bodySideHighPass.setCutoff (lowMonoHz);
    return true;
}

void CorvaneWidener::applyQuality() noexcept
{
    activeQuality = juce::jlimit (0, 1, settings.quality);
    const auto stages = AllpassChain::stagesFor (quality());
    for (auto* chains : {&legacyAllpass, &adaptiveAllpass})
        for (size_t i = 0; i < numBranches; ++i)
            (*chains)[i].install (i % 2 == 0 ? AllpassChain::tableA : AllpassChain::tableB, stages);
    presenceSideLowPass.prepare (sampleRate, presenceSideCutoffHz (quality()));
}

void CorvaneWidener::clearLegacyState() noexcept
{
    for (auto& splitter : legacySplitters)
        splitter.reset();
    airHighPass.reset();
    for (auto& chain : legacyAllpass)
        chain.clear();
    for (auto& delay : legacyDelays)
        delay.reset();
    exciteLevel = 0.0f;
}

void CorvaneWidener::clearAdaptiveState() noexcept
{
    for (auto& splitter : adaptiveSplitters)
        splitter.reset();
    for (auto& chain : adaptiveAllpass)
        chain.clear();
    for (auto& delay : adaptiveDelays)
        delay.reset();
    presenceSideLowPass.reset();
    sideTransient.reset();
    midPower = sidePower = 0.0f;
    limiterGain = 1.0f;
    bodySideHighPass.reset();
}

void CorvaneWidener::clearCorrelation() noexcept
{
    crossPower = leftPower = rightPower = 0.0f;
    guardGain = 1.0f;
}
} // namespace corvane
