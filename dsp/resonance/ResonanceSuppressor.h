#pragma once

#include "STFTProcessor.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <array>
#include <atomic>
#include <complex>
#include <utility>
#include <vector>

namespace resonance
{
/** Spectral dynamic equaliser for one or two channels. Every STFT frame it attenuates bins that
    stand out from their neighbourhood (resonances) and sub-bands of a presence band that stand out
    from the rest of the spectrum (harshness); the larger attenuation wins in each bin. */
class ResonanceSuppressor
{
public:
    /** What the user controls; out-of-range values are made safe where they are used. */
    struct Settings
    {
        /** Scales the resonance attenuation; 0…1, not clamped. */
        float amount = 0.0f;
        /** Lowers the resonance threshold; 0…1. */
        float sensitivity = 0.5f;
        /** Narrows the neighbourhood and the detection range; 0…1. */
        float sharpness = 0.5f;
        /** Time constant of rising resonance detection. */
        float attackMs = 50.0f;
        /** Time constant of falling resonance detection. */
        float releaseMs = 120.0f;
        /** Resonance attenuation at full detection and amount 1. */
        float maxReductionDb = 16.0f;
        /** Scales the harshness attenuation; 0…1, not clamped. */
        float harshnessAmount = 0.0f;
        /** Lowers the harshness threshold; 0…1. */
        float harshnessSensitivity = 0.5f;
        /** Harshness attenuation at full detection and amount 1. */
        float harshnessMaxReductionDb = 8.0f;
        /** Lower edge of the harshness band. */
        float harshnessLowHz = 2000.0f;
        /** Upper edge of the harshness band. */
        float harshnessHighHz = 8000.0f;
    };

    /** Prepares both channels' frame engines (frame 2^fftOrder, hop hopSize) and clears all state.
        Allocates: call from the set-up path. */
    void prepare (double newSampleRate, int fftOrder, int hopSize);

    /** Stores the settings and updates the resonance attack and release. Real-time safe. */
    void setSettings (const Settings& newSettings) noexcept;

    /** Clears audio history, detector state and meters of both channels; keeps sizes and settings. Real-time safe. */
    void reset() noexcept;

    /** Suppresses channels 0 and 1 of the buffer in place, delaying them by the latency; further
        channels are untouched. Does nothing while both amounts are 0 or below. Real-time safe. */
    void process (juce::AudioBuffer<float>& buffer) noexcept;

    /** Runs the detectors and gains of one frame of a channel (0 or 1) on a spectrum laid out like
        the frames of process (getNumBins() bins, DC first). For tools and tests. Real-time safe. */
    void processSpectrum (int channel, std::complex<float>* bins, int numBins) noexcept;

    /** Delay that process adds, in samples: the frame size; 0 before prepare. Real-time safe. */
    int getLatencySamples() const noexcept { return channels[0].stft.getFftSize(); }

    /** Number of bins in a frame; 0 before prepare. Real-time safe. */
    int getNumBins() const noexcept { return channels[0].stft.getNumBins(); }

    /** Largest attenuation in dB of the channel's latest frame; safe to call from any thread. */
    float getLatestReductionDb (int channel) const noexcept;

private:
    static constexpr int numBands = 6;

    struct Channel
    {
        STFTProcessor stft;
        std::vector<float> detection;                // smoothed resonance detection per bin, 0…1
        std::atomic<float> latestReductionDb { 0.0f };
        std::array<float, numBands> bandEnergy {};   // smoothed mean power per harshness sub-band
        std::array<float, numBands> bandDetection {};
        std::array<float, numBands> bandReductionDb {}; // used by the next frame's bins
        float referenceEnergy = 0.0f;               // smoothed mean power outside the band
    };

    // Where each bin sits relative to the harshness band; rebuilt when the band edges change.
    struct BandLayout
    {
        float lowHz = 0.0f, highHz = 0.0f;
        std::vector<int> subBand;          // sub-band index 0…5
        std::vector<float> membership;     // 0 outside, ramping to 1 inside
        std::vector<float> referenceShare; // weight in the reference power
        std::vector<float> weight;         // frequency weight of the bin's centre
        std::array<float, numBands> subBandWeight {}; // frequency weight of each sub-band's centre
    };

    // Power sums of one frame, accumulated in double.
    struct BandSums
    {
        std::array<double, numBands> power {}, weight {};
        double referencePower = 0.0, referenceWeight = 0.0;
    };

    void processFrame (Channel& channel, std::complex<float>* bins, int numBins) noexcept;
    float suppressBins (Channel& channel, std::complex<float>* bins, int numBins, BandSums& sums) noexcept;
    float neighbourhoodTopThreeSum (int bin, int numBins, int halfWidth) const noexcept;
    void findRightNeighbourFloors (int numBins, int halfWidth) noexcept;
    void updateHarshness (Channel& channel, const BandSums& sums) noexcept;
    void updateBandLayout (float lowHz, float highHz) noexcept;
    std::pair<float, float> harshnessBandEdges() const noexcept;
    int neighbourhoodHalfWidth() const noexcept;
    void updateDetectionCoefficients() noexcept;
    static float frequencyWeight (float hz) noexcept;

    // Per-channel state, settings and timing.
    std::array<Channel, 2> channels;
    Settings settings;
    double sampleRate = 48000.0;
    double hopMs = 0.0;

    // Per-frame coefficients of the one-pole smoothers.
    float attackCoeff = 0.0f, releaseCoeff = 0.0f;
    float bandSmoothCoeff = 0.0f;
    float harshnessAttackCoeff = 0.0f, harshnessReleaseCoeff = 0.0f;

    // Frame scratch, sized in prepare.
    BandLayout layout;
    std::vector<float> binHz;       // centre frequency of each bin
    std::vector<float> magnitudes;  // this frame's magnitudes, zero-padded past the last bin
    std::array<std::vector<float>, 3> rightTopThree; // the three largest right neighbours per bin
    std::vector<float> rightFloor;  // their sum
};
} // namespace resonance
