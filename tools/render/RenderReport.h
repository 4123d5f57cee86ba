#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

/** What the render tool reports about one render, as a single JSON object. */
struct RenderReport
{
    double inputPeakDb = 0.0, inputRmsDb = 0.0;
    double outputPeakDb = 0.0, outputRmsDb = 0.0;
    double correlation = 0.0;            // of the output's left and right, -1 to 1
    double sideToMidDb = 0.0;            // energy of (L - R) / 2 against (L + R) / 2 of the output
    double monoFoldDownDeviationDb = 0.0; // energy of the output's L + R against the input's L + R
    int latencySamples = 0;
    double largestReductionDb = 0.0;
    double speedTimesRealTime = 0.0;

    /** Measures a stereo output against its input (one or two channels; a mono input counts as
        both sides). `alignedOutput` must already be aligned with the input. */
    static RenderReport measure (const juce::AudioBuffer<float>& input, const juce::AudioBuffer<float>& alignedOutput);

    /** The report as one line of JSON; values that are not finite (silence in dB) are null. */
    juce::String toJson() const;
};
