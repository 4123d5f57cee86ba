#include "tools/render/OfflineRenderer.h"

OfflineRenderer::Result OfflineRenderer::render (CorvaneAudioProcessor& processor, const juce::AudioBuffer<float>& input,
                                                 double sampleRate, int blockSize, bool monoBus, bool compensateLatency,
                                                 const Progress& progress)
{
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (monoBus ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo());
    layout.outputBuses.add (juce::AudioChannelSet::stereo());
    processor.setBusesLayout (layout);
    processor.setRateAndBufferSizeDetails (sampleRate, blockSize);
    processor.prepareToPlay (sampleRate, blockSize);

    const auto inputLength = input.getNumSamples();
    juce::AudioBuffer<float> produced (2, inputLength + blockSize);
    juce::AudioBuffer<float> block (2, blockSize);
    juce::MidiBuffer midi;
    Result result;

    // After the input, silence flushes the tail through until the latency is covered.
    int position = 0;
    const auto samplesNeeded = [&] { return inputLength + (compensateLatency ? result.latencySamples : 0); };
    while (position < samplesNeeded())
    {
        const auto numSamples = juce::jmin (blockSize, samplesNeeded() - position);
        fillBlock (block, input, position, numSamples, monoBus);
        juce::AudioBuffer<float> view (block.getArrayOfWritePointers(), 2, numSamples);

        const auto started = juce::Time::getHighResolutionTicks();
        processor.processBlock (view, midi);
        result.processingSeconds += juce::Time::highResolutionTicksToSeconds (juce::Time::getHighResolutionTicks() - started);

        result.latencySamples = processor.getLatencySamples();
        if (processor.isSuppressorActive())
            result.largestReductionDb = juce::jmax (result.largestReductionDb, processor.latestReductionDb (0), processor.latestReductionDb (1));

        if (produced.getNumSamples() < position + numSamples)
            produced.setSize (2, position + numSamples + blockSize, true, false, true);
        for (int ch = 0; ch < 2; ++ch)
            produced.copyFrom (ch, position, view, ch, 0, numSamples);
        position += numSamples;

        if (progress)
            progress (juce::jmin (1.0, (double) position / juce::jmax (1, samplesNeeded())));
    }

    const auto offset = compensateLatency ? result.latencySamples : 0;
    result.output.setSize (2, inputLength);
    for (int ch = 0; ch < 2; ++ch)
        result.output.copyFrom (ch, 0, produced, ch, offset, inputLength);
    return result;
}

void OfflineRenderer::fillBlock (juce::AudioBuffer<float>& block, const juce::AudioBuffer<float>& input, int start, int numSamples, bool monoBus)
{
    block.clear();
    const auto available = juce::jlimit (0, numSamples, input.getNumSamples() - start);
    if (available <= 0)
        return;

    block.copyFrom (0, 0, input, 0, start, available);
    // A mono bus leaves the second channel to the processor, which copies the first one into it.
    if (input.getNumChannels() > 1)
        block.copyFrom (1, 0, input, 1, start, available);
    else if (! monoBus)
        block.copyFrom (1, 0, input, 0, start, available);
}
