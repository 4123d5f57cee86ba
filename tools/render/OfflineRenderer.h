#pragma once

#include "processor/PluginProcessor.h"

#include <functional>

/** Drives a prepared processor over a whole signal in host-sized blocks, as a host bouncing a track. */
class OfflineRenderer
{
public:
    struct Result
    {
        juce::AudioBuffer<float> output; // stereo, as long as the input
        int latencySamples = 0;          // the latency the processor reported while rendering
        float largestReductionDb = 0.0f; // the deepest cut the suppressor reported
        double processingSeconds = 0.0;  // wall time spent inside processBlock
    };

    /** Called now and then with the fraction done, 0 to 1. */
    using Progress = std::function<void (double)>;

    /** Prepares the processor for the input's rate and the block size, then renders. A mono input
        feeds a mono input bus when `monoBus` is set, else both channels of the stereo bus. With
        `compensateLatency` the output is shifted back by the reported latency and the tail is
        flushed with silence; otherwise it is exactly what successive blocks produced. */
    static Result render (CorvaneAudioProcessor& processor, const juce::AudioBuffer<float>& input, double sampleRate,
                          int blockSize, bool monoBus, bool compensateLatency, const Progress& progress = {});

private:
    static void fillBlock (juce::AudioBuffer<float>& block, const juce::AudioBuffer<float>& input, int start, int numSamples, bool monoBus);
};
