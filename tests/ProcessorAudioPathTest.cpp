#include "processor/PluginProcessor.h"
#include "tests/AllocationCounter.h"
#include "tests/BufferChecks.h"

#include <gtest/gtest.h>

namespace
{
// A guitar-like test signal: a few partials with a slow swell, plus a little noise, per channel.
juce::AudioBuffer<float> testSignal (int numChannels, int length, int seed = 1)
{
    juce::Random random (seed);
    juce::AudioBuffer<float> buffer (numChannels, length);
    for (int ch = 0; ch < numChannels; ++ch)
        for (int i = 0; i < length; ++i)
        {
            const auto t = i / 48000.0;
            const auto tone = 0.3 * std::sin (2.0 * juce::MathConstants<double>::pi * 196.0 * t)
                              + 0.2 * std::sin (2.0 * juce::MathConstants<double>::pi * (2450.0 + 30.0 * ch) * t);
            buffer.setSample (ch, i, (float) (tone * (0.5 + 0.5 * std::sin (3.0 * t)) + 0.05 * (random.nextFloat() - 0.5f)));
        }
    return buffer;
}

// Runs a whole signal through in blocks of the given size and returns what came out.
juce::AudioBuffer<float> processInBlocks (CorvaneAudioProcessor& processor, const juce::AudioBuffer<float>& input, int blockSize)
{
    juce::AudioBuffer<float> output (input);
    juce::MidiBuffer midi;
    for (int start = 0; start < output.getNumSamples(); start += blockSize)
    {
        const auto n = juce::jmin (blockSize, output.getNumSamples() - start);
        juce::AudioBuffer<float> view (output.getArrayOfWritePointers(), output.getNumChannels(), start, n);
        processor.processBlock (view, midi);
    }
    return output;
}

void processOneBlock (CorvaneAudioProcessor& processor, int numSamples)
{
    auto buffer = testSignal (2, numSamples);
    juce::MidiBuffer midi;
    processor.processBlock (buffer, midi);
}

juce::AudioProcessor::BusesLayout monoInStereoOut()
{
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (juce::AudioChannelSet::mono());
    layout.outputBuses.add (juce::AudioChannelSet::stereo());
    return layout;
}
} // namespace

// A mono input on a stereo bus reaches every stage centred: channel 1 is a copy of channel 0.
TEST (ProcessorAudioPathTest, MonoInputIsDuplicatedBeforeProcessing)
{
    CorvaneAudioProcessor processor;
    ASSERT_TRUE (processor.setBusesLayout (monoInStereoOut()));
    processor.setParameterRawValue ("width", 0.0f); // the widener passes the block unchanged at width 0
    processor.prepareToPlay (48000.0, 256);

    auto buffer = testSignal (2, 256);
    const auto input = buffer;
    juce::MidiBuffer midi;
    processor.processBlock (buffer, midi);
    for (int i = 0; i < 256; ++i)
    {
        ASSERT_EQ (buffer.getSample (0, i), input.getSample (0, i));
        ASSERT_EQ (buffer.getSample (1, i), input.getSample (0, i));
    }
}

// The latency follows the suppression stage, with the frame size fixed at prepareToPlay.
TEST (ProcessorAudioPathTest, LatencyFollowsTheSuppressionStage)
{
    for (const auto sampleRate : { 44100.0, 48000.0, 96000.0 })
    {
        CorvaneAudioProcessor processor;
        processor.prepareToPlay (sampleRate, 512);
        processOneBlock (processor, 512);
        EXPECT_EQ (processor.getLatencySamples(), 0);
        EXPECT_FALSE (processor.isSuppressorActive());

        processor.setParameterRawValue ("resonanceAmount", 0.4f);
        processOneBlock (processor, 512);
        EXPECT_EQ (processor.getLatencySamples(), 1024) << sampleRate;
        EXPECT_TRUE (processor.isSuppressorActive());

        processor.setParameterRawValue ("quality", 1.0f); // read at the next prepareToPlay only
        processOneBlock (processor, 512);
        EXPECT_EQ (processor.getLatencySamples(), 1024);

        processor.prepareToPlay (sampleRate, 512); // disengages until the next block
        EXPECT_EQ (processor.getLatencySamples(), 0);
        EXPECT_FALSE (processor.isSuppressorActive());
        processOneBlock (processor, 512);
        EXPECT_EQ (processor.getLatencySamples(), 2048);

        processor.setParameterRawValue ("resonanceBypass", 1.0f);
        processOneBlock (processor, 512);
        EXPECT_EQ (processor.getLatencySamples(), 0);
        processor.setParameterRawValue ("resonanceBypass", 0.0f);
        processor.setParameterRawValue ("resonanceAmount", 0.0f);
        processor.setParameterRawValue ("harshnessAmount", 0.3f);
        processOneBlock (processor, 512);
        EXPECT_EQ (processor.getLatencySamples(), 2048);
        processor.setParameterRawValue ("harshnessAmount", 0.0f);
        processOneBlock (processor, 512);
        EXPECT_EQ (processor.getLatencySamples(), 0);
    }
}

// Delta plus wet equals the dry input delayed by the latency: the monitor plays exactly what the
// suppressor removed. Also with host blocks longer than announced, and blocks of zero samples.
TEST (ProcessorAudioPathTest, DeltaMonitorPlusWetIsTheDelayedDry)
{
    struct Case { int preparedBlock, blockSize; bool studio; };
    for (const auto& c : { Case { 512, 512, false }, Case { 256, 1000, false }, Case { 512, 333, true }, Case { 0, 128, false } })
    {
        SCOPED_TRACE (juce::String (c.preparedBlock) + "/" + juce::String (c.blockSize));
        CorvaneAudioProcessor wet, delta;
        for (auto* p : { &wet, &delta })
        {
            p->setParameterRawValue ("width", 0.0f);
            p->setParameterRawValue ("resonanceAmount", 1.0f);
            p->setParameterRawValue ("harshnessAmount", 1.0f);
            p->setParameterRawValue ("quality", c.studio ? 1.0f : 0.0f);
            p->prepareToPlay (48000.0, c.preparedBlock);
        }
        delta.setParameterRawValue ("resonanceDeltaMonitor", 1.0f);

        const auto input = testSignal (2, 48000);
        const auto wetOut = processInBlocks (wet, input, c.blockSize);
        const auto deltaOut = processInBlocks (delta, input, c.blockSize);
        const auto latency = wet.getLatencySamples();
        ASSERT_EQ (latency, c.studio ? 2048 : 1024);

        double removedEnergy = 0.0;
        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < input.getNumSamples(); ++i)
            {
                const auto dry = i >= latency ? input.getSample (ch, i - latency) : 0.0f;
                // Float subtraction and addition of signals below 1: a few ulps of the dry sample.
                ASSERT_NEAR (deltaOut.getSample (ch, i) + wetOut.getSample (ch, i), dry, 1e-6f) << ch << " " << i;
                removedEnergy += deltaOut.getSample (ch, i) * deltaOut.getSample (ch, i);
            }
        EXPECT_GT (removedEnergy, 1e-3); // the suppressor really cut something
    }
}

TEST (ProcessorAudioPathTest, ZeroLengthBlocksAndZeroPreparedSizeAreHarmless)
{
    CorvaneAudioProcessor processor;
    processor.setParameterRawValue ("resonanceAmount", 0.5f);
    processor.setParameterRawValue ("resonanceDeltaMonitor", 1.0f);
    processor.prepareToPlay (44100.0, 0);
    juce::AudioBuffer<float> empty (2, 0);
    juce::MidiBuffer midi;
    processor.processBlock (empty, midi);
    auto output = processInBlocks (processor, testSignal (2, 4096), 100);
    EXPECT_TRUE (testing_support::allFinite (output));
    EXPECT_EQ (processor.getLatencySamples(), 1024);
}

// Once prepared, processBlock never touches the heap, whatever the settings, for blocks up to the
// prepared size.
TEST (ProcessorAudioPathTest, ProcessBlockAllocatesNothing)
{
    struct Case { bool studio; int mode; float resonance, harshness; bool delta; };
    for (const auto& c : { Case { false, 0, 0.0f, 0.0f, false }, Case { false, 1, 0.7f, 0.0f, false },
                           Case { true, 0, 0.7f, 0.6f, true }, Case { true, 1, 1.0f, 1.0f, false },
                           Case { false, 1, 0.2f, 0.9f, true } })
    {
        CorvaneAudioProcessor processor;
        processor.setParameterRawValue ("quality", c.studio ? 1.0f : 0.0f);
        processor.setParameterRawValue ("widenerMode", (float) c.mode);
        processor.setParameterRawValue ("resonanceAmount", c.resonance);
        processor.setParameterRawValue ("harshnessAmount", c.harshness);
        processor.setParameterRawValue ("resonanceDeltaMonitor", c.delta ? 1.0f : 0.0f);
        processor.setParameterRawValue ("width", 0.9f);
        processor.prepareToPlay (48000.0, 512);

        auto input = testSignal (2, 512);
        juce::Random random (5);
        juce::MidiBuffer midi;
        long allocations = 0;
        for (int block = 0; block < 200; ++block)
        {
            const auto n = 1 + random.nextInt (512);
            juce::AudioBuffer<float> view (input.getArrayOfWritePointers(), 2, n);
            // Switching the widener's quality and mode and the suppressor on and off all happen in here.
            if (block % 50 == 25)
            {
                processor.setParameterRawValue ("quality", c.studio ? 0.0f : 1.0f);
                processor.setParameterRawValue ("widenerMode", c.mode == 1 ? 0.0f : 1.0f);
                processor.setParameterRawValue ("resonanceBypass", block % 100 == 25 ? 1.0f : 0.0f);
            }
            testing_support::ScopedAllocationCount count;
            processor.processBlock (view, midi);
            allocations += count.count();
        }
        EXPECT_EQ (allocations, 0) << "studio " << c.studio << " mode " << c.mode;
    }
}

// Random automation of every parameter, random block sizes and hostile input never produce a
// non-finite sample, and the effect comes back at once after a burst of NaN or infinity.
TEST (ProcessorAudioPathTest, AbuseNeverProducesNonFiniteOutput)
{
    CorvaneAudioProcessor processor;
    processor.prepareToPlay (48000.0, 4096);
    juce::Random random (77);
    juce::MidiBuffer midi;
    const float hostile[] = { std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                              -std::numeric_limits<float>::infinity(), 1e-40f, 1.0f, -1.0f, 1e30f };

    for (int block = 0; block < 300; ++block)
    {
        for (auto* parameter : processor.getParameters())
            if (parameter != processor.getBypassParameter() && random.nextInt (4) == 0)
                parameter->setValueNotifyingHost (random.nextFloat());

        auto buffer = testSignal (2, 1 + random.nextInt (4096), block);
        if (block % 3 == 0)
            for (int i = 0; i < buffer.getNumSamples(); i += 1 + random.nextInt (64))
                buffer.setSample (random.nextInt (2), i, hostile[random.nextInt (7)]);
        processor.processBlock (buffer, midi);
        ASSERT_TRUE (testing_support::allFinite (buffer)) << "block " << block;
    }

    // Recovery: after a block of pure NaN, the very next block carries signal again.
    processor.setParameterRawValue ("width", 0.8f);
    processor.setParameterRawValue ("resonanceBypass", 1.0f);
    juce::AudioBuffer<float> poison (2, 512);
    for (int ch = 0; ch < 2; ++ch)
        juce::FloatVectorOperations::fill (poison.getWritePointer (ch), std::numeric_limits<float>::quiet_NaN(), 512);
    processor.processBlock (poison, midi);
    ASSERT_TRUE (testing_support::allFinite (poison));
    auto after = testSignal (2, 2048);
    processor.processBlock (after, midi);
    ASSERT_TRUE (testing_support::allFinite (after));
    EXPECT_GT (after.getRMSLevel (0, 1024, 1024), 0.05f);
}
