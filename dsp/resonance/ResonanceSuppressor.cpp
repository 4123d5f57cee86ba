#include "ResonanceSuppressor.h"

namespace resonance
{
namespace
{
constexpr float magnitudeFloor = 1.0e-9f; // keeps silent bins at a ratio of 0 dB
constexpr float powerFloor = 1.0e-12f;
constexpr int maxHalfWidth = 48;

float smoothstep (float t) noexcept
{
    t = juce::jlimit (0.0f, 1.0f, t);
    return t * t * (3.0f - 2.0f * t);
}

float smoothingCoeff (double hopMs, double timeConstantMs) noexcept
{
    return (float) std::exp (-hopMs / timeConstantMs);
}

// The three largest values offered; a value must be strictly greater to displace one.
struct TopThree
{
    float first = 0.0f, second = 0.0f, third = 0.0f;

    void offer (float value) noexcept
    {
        if (value <= third)
            return;

        if (value <= second)
            third = value;
        else if (value <= first)
            third = std::exchange (second, value);
        else
            third = std::exchange (second, std::exchange (first, value));
    }

    float sum() const noexcept { return first + second + third; }
};
} // namespace

void ResonanceSuppressor::prepare (double newSampleRate, int fftOrder, int hopSize)
{
    sampleRate = newSampleRate;

    for (auto& channel : channels)
    {
        channel.stft.prepare (fftOrder, hopSize);
        channel.detection.assign ((size_t) channel.stft.getNumBins(), 0.0f);
    }

    hopMs = channels[0].stft.getHopSize() * 1000.0 / sampleRate;
    bandSmoothCoeff = smoothingCoeff (hopMs, 250.0);
    harshnessAttackCoeff = smoothingCoeff (hopMs, 400.0);
    harshnessReleaseCoeff = smoothingCoeff (hopMs, 700.0);
    updateDetectionCoefficients();

    const auto numBins = (size_t) getNumBins();
    binHz.resize (numBins);
    for (size_t i = 0; i < numBins; ++i)
        binHz[i] = (float) (sampleRate * (double) i / (double) getLatencySamples());

    magnitudes.assign (numBins + maxHalfWidth, 0.0f);
    for (auto& values : rightTopThree)
        values.assign (numBins, 0.0f);
    rightFloor.assign (numBins, 0.0f);

    layout.subBand.assign (numBins, 0);
    layout.membership.assign (numBins, 0.0f);
    layout.referenceShare.assign (numBins, 0.0f);
    layout.weight.assign (numBins, 0.0f);
    const auto [lowHz, highHz] = harshnessBandEdges();
    updateBandLayout (lowHz, highHz);

    reset();
}

void ResonanceSuppressor::setSettings (const Settings& newSettings) noexcept
{
    settings = newSettings;
    updateDetectionCoefficients();
}

void ResonanceSuppressor::updateDetectionCoefficients() noexcept
{
    attackCoeff = smoothingCoeff (hopMs, std::max ((double) settings.attackMs, 1.0));
    releaseCoeff = smoothingCoeff (hopMs, std::max ((double) settings.releaseMs, 1.0));
}

void ResonanceSuppressor::reset() noexcept
{
    for (auto& channel : channels)
    {
        channel.stft.reset();
        std::fill (channel.detection.begin(), channel.detection.end(), 0.0f);
        channel.latestReductionDb.store (0.0f, std::memory_order_relaxed);
        channel.bandEnergy.fill (0.0f);
        channel.bandDetection.fill (0.0f);
        channel.bandReductionDb.fill (0.0f);
        channel.referenceEnergy = 0.0f;
    }
}

void ResonanceSuppressor::process (juce::AudioBuffer<float>& buffer) noexcept
{
    if (buffer.getNumChannels() == 0 || (settings.amount <= 0.0f && settings.harshnessAmount <= 0.0f))
        return;

    // Capturing only the suppressor keeps each callback inside std::function's own storage.
    const STFTProcessor::FrameCallback frameCallbacks[] = {
        [this] (std::complex<float>* bins, int numBins) { processFrame (channels[0], bins, numBins); },
        [this] (std::complex<float>* bins, int numBins) { processFrame (channels[1], bins, numBins); }
    };

    for (int ch = 0; ch < std::min (buffer.getNumChannels(), 2); ++ch)
    {
        auto* samples = buffer.getWritePointer (ch);
        channels[(size_t) ch].stft.process (samples, samples, buffer.getNumSamples(), frameCallbacks[ch]);
    }
}

void ResonanceSuppressor::processSpectrum (int channel, std::complex<float>* bins, int numBins) noexcept
{
    if (juce::isPositiveAndBelow (channel, 2))
        processFrame (channels[(size_t) channel], bins, std::min (numBins, getNumBins()));
}

float ResonanceSuppressor::getLatestReductionDb (int channel) const noexcept
{
    if (! juce::isPositiveAndBelow (channel, 2))
        return 0.0f;

    return channels[(size_t) channel].latestReductionDb.load (std::memory_order_relaxed);
}

void ResonanceSuppressor::processFrame (Channel& channel, std::complex<float>* bins, int numBins) noexcept
{
    const auto [lowHz, highHz] = harshnessBandEdges();
    if (lowHz != layout.lowHz || highHz != layout.highHz)
        updateBandLayout (lowHz, highHz);

    BandSums sums;
    const auto largestReductionDb = numBins >= 3 ? suppressBins (channel, bins, numBins, sums) : 0.0f;
    channel.latestReductionDb.store (largestReductionDb, std::memory_order_relaxed);
    updateHarshness (channel, sums);
}

float ResonanceSuppressor::suppressBins (Channel& channel, std::complex<float>* bins, int numBins, BandSums& sums) noexcept
{
    // Bins are visited in order and scaled in place, so each bin sees its lower neighbours already
    // attenuated in this frame. Magnitudes are computed once and scaled along with their bins.
    for (int i = 1; i < numBins - 1; ++i)
        magnitudes[(size_t) i] = (float) std::sqrt ((double) bins[i].real() * bins[i].real() + (double) bins[i].imag() * bins[i].imag());
    std::fill (magnitudes.begin() + numBins - 1, magnitudes.end(), 0.0f); // Nyquist is nobody's neighbour

    const auto halfWidth = neighbourhoodHalfWidth();
    findRightNeighbourFloors (numBins, halfWidth);

    const auto sharpness = juce::jlimit (0.0f, 1.0f, settings.sharpness);
    const auto thresholdDb = 18.0f - 13.0f * settings.sensitivity;
    const auto rangeDb = 9.0f - 6.0f * sharpness;

    // The right-hand neighbours alone bound the neighbourhood from below, so a bin that stays under
    // the threshold against them needs no full search. The margin is far above log10's rounding.
    const auto floorRatio = std::pow (10.0f, thresholdDb / 20.0f) * 0.9999f;

    float largestReductionDb = 0.0f;
    for (int i = 1; i < numBins - 1; ++i)
    {
        const auto magnitude = magnitudes[(size_t) i];
        auto target = 0.0f;
        if (magnitude + magnitudeFloor > (rightFloor[(size_t) i] / 3.0f + magnitudeFloor) * floorRatio)
        {
            const auto neighbourMean = neighbourhoodTopThreeSum (i, numBins, halfWidth) / 3.0f;
            const auto ratioDb = 20.0f * std::log10 ((magnitude + magnitudeFloor) / (neighbourMean + magnitudeFloor));
            target = juce::jlimit (0.0f, 1.0f, (ratioDb - thresholdDb) / rangeDb);
        }

        auto& detection = channel.detection[(size_t) i];
        const auto coeff = target > detection ? attackCoeff : releaseCoeff;
        detection = coeff * detection + (1.0f - coeff) * target;

        const auto power = (double) magnitude * (double) magnitude;
        const auto membership = layout.membership[(size_t) i];
        auto harshnessDb = 0.0f;
        if (membership > 0.0f)
        {
            const auto subBand = (size_t) layout.subBand[(size_t) i];
            sums.power[subBand] += power * membership;
            sums.weight[subBand] += membership;
            harshnessDb = membership * channel.bandReductionDb[subBand] * layout.weight[(size_t) i];
        }

        if (const auto share = layout.referenceShare[(size_t) i]; share > 0.0f)
        {
            sums.referencePower += power * share;
            sums.referenceWeight += share;
        }

        const auto reductionDb = std::max (settings.maxReductionDb * (settings.amount * detection), harshnessDb);
        if (reductionDb != 0.0f)
        {
            const auto gain = reductionDb < 100.0f ? std::pow (10.0f, -0.05f * reductionDb) : 0.0f;
            bins[i] *= gain;
            magnitudes[(size_t) i] *= gain;
        }

        if (reductionDb > largestReductionDb)
            largestReductionDb = reductionDb;
    }

    return largestReductionDb;
}

float ResonanceSuppressor::neighbourhoodTopThreeSum (int bin, int numBins, int halfWidth) const noexcept
{
    TopThree top;
    for (int j = std::max (bin - halfWidth, 1); j < bin; ++j)
        top.offer (magnitudes[(size_t) j]);
    for (int j = bin + 1; j <= std::min (bin + halfWidth, numBins - 2); ++j)
        top.offer (magnitudes[(size_t) j]);
    return top.sum();
}

void ResonanceSuppressor::findRightNeighbourFloors (int numBins, int halfWidth) noexcept
{
    // One pass per offset keeps the inner loop free of dependencies, so it vectorises; the
    // zero padding past the last bin stands in for missing neighbours.
    auto* first = rightTopThree[0].data();
    auto* second = rightTopThree[1].data();
    auto* third = rightTopThree[2].data();
    std::fill_n (first, numBins, 0.0f);
    std::fill_n (second, numBins, 0.0f);
    std::fill_n (third, numBins, 0.0f);

    for (int offset = 1; offset <= halfWidth; ++offset)
    {
        const auto* neighbour = magnitudes.data() + offset;
        for (int i = 1; i < numBins - 1; ++i)
        {
            const auto value = neighbour[i];
            const auto belowFirst = std::min (first[i], value);
            first[i] = std::max (first[i], value);
            const auto belowSecond = std::min (second[i], belowFirst);
            second[i] = std::max (second[i], belowFirst);
            third[i] = std::max (third[i], belowSecond);
        }
    }

    for (int i = 1; i < numBins - 1; ++i)
        rightFloor[(size_t) i] = first[i] + second[i] + third[i];
}

void ResonanceSuppressor::updateHarshness (Channel& channel, const BandSums& sums) noexcept
{
    const auto smooth = [c = bandSmoothCoeff] (float state, double input) { return c * state + (1.0f - c) * (float) input; };

    channel.referenceEnergy = smooth (channel.referenceEnergy, sums.referenceWeight > 0.0 ? sums.referencePower / sums.referenceWeight : 0.0);

    for (size_t k = 0; k < (size_t) numBands; ++k)
    {
        channel.bandEnergy[k] = smooth (channel.bandEnergy[k], sums.weight[k] > 0.0 ? sums.power[k] / sums.weight[k] : 0.0);

        // Sub-bands where the ear is most sensitive trigger earlier: 6 dB per unit of weight above 1.
        const auto levelDb = 10.0f * std::log10 ((channel.bandEnergy[k] + powerFloor) / (channel.referenceEnergy + powerFloor));
        const auto thresholdDb = (10.0f - 10.0f * settings.harshnessSensitivity) - 6.0f * (layout.subBandWeight[k] - 1.0f);
        const auto target = juce::jlimit (0.0f, 1.0f, (levelDb - thresholdDb) / 6.0f);

        auto& detection = channel.bandDetection[k];
        const auto coeff = target > detection ? harshnessAttackCoeff : harshnessReleaseCoeff;
        detection = coeff * detection + (1.0f - coeff) * target;
        channel.bandReductionDb[k] = settings.harshnessMaxReductionDb * (settings.harshnessAmount * detection);
    }
}

std::pair<float, float> ResonanceSuppressor::harshnessBandEdges() const noexcept
{
    const auto lowHz = std::max (settings.harshnessLowHz, 20.0f);
    return { lowHz, std::max (settings.harshnessHighHz, lowHz + 200.0f) };
}

void ResonanceSuppressor::updateBandLayout (float lowHz, float highHz) noexcept
{
    layout.lowHz = lowHz;
    layout.highHz = highHz;

    // Linear ramps around both edges: C below the low edge, B above the high edge (kept under Nyquist).
    const auto lowRampHz = std::max (0.2f * lowHz, 1.0f);
    const auto highRampHz = std::max (std::min (0.3f * std::max ((float) (sampleRate / 2.0) - highHz, 0.0f), 0.2f * highHz), 1.0f);
    const auto logSpan = std::log (highHz / lowHz);

    for (size_t i = 0; i < binHz.size(); ++i)
    {
        const auto f = binHz[i];
        const auto position = std::log (juce::jlimit (lowHz, highHz, f) / lowHz) / logSpan * (float) numBands;
        layout.subBand[i] = juce::jlimit (0, numBands - 1, (int) position);

        const auto rising = juce::jlimit (0.0f, 1.0f, (f - (lowHz - lowRampHz)) / (2.0f * lowRampHz));
        const auto falling = juce::jlimit (0.0f, 1.0f, ((highHz + highRampHz) - f) / (2.0f * highRampHz));
        const auto membership = std::min (rising, falling);
        layout.membership[i] = membership;
        layout.referenceShare[i] = (membership < 1.0f && f >= 0.75f * lowHz) ? 1.0f - membership : 0.0f;
        layout.weight[i] = frequencyWeight (f);
    }

    for (size_t k = 0; k < (size_t) numBands; ++k)
        layout.subBandWeight[k] = frequencyWeight (lowHz * std::pow (highHz / lowHz, ((float) k + 0.5f) / (float) numBands));
}

int ResonanceSuppressor::neighbourhoodHalfWidth() const noexcept
{
    const auto binWidthHz = (float) (sampleRate / (double) getLatencySamples());
    const auto sharpness = juce::jlimit (0.0f, 1.0f, settings.sharpness);
    return juce::jlimit (2, maxHalfWidth, (int) std::round ((550.0f - 290.0f * sharpness) / binWidthHz));
}

float ResonanceSuppressor::frequencyWeight (float hz) noexcept
{
    // Emphasises the presence region around 2.4 to 3.6 kHz and the air above 16 kHz.
    if (hz < 700.0f)
        return 0.7f;
    if (hz < 2400.0f)
        return 0.7f + 1.3f * smoothstep ((hz - 700.0f) / 1700.0f);
    if (hz <= 3600.0f)
        return 2.0f;
    if (hz < 8000.0f)
        return 2.0f - 1.2f * smoothstep ((hz - 3600.0f) / 4400.0f);
    if (hz < 16000.0f)
        return 0.8f + 1.4000001f * smoothstep ((hz - 8000.0f) / 8000.0f);
    return 2.2f;
}
} // namespace resonance
