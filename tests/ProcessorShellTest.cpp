#include "processor/PluginProcessor.h"

#include <gtest/gtest.h>

namespace
{
using Set = juce::AudioChannelSet;

juce::AudioProcessor::BusesLayout layoutOf (const Set& in, const Set& out)
{
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (in);
    layout.outputBuses.add (out);
    return layout;
}
} // namespace

TEST (ProcessorShellTest, AcceptsOnlyMonoOrStereoInWithStereoOut)
{
    CorvaneAudioProcessor processor;
    struct Case { Set in, out; bool accepted; };
    const Case cases[] = {
        { Set::mono(), Set::stereo(), true },
        { Set::stereo(), Set::stereo(), true },
        { Set::disabled(), Set::stereo(), false },
        { Set::stereo(), Set::mono(), false },
        { Set::mono(), Set::mono(), false },
        { Set::create5point1(), Set::stereo(), false },
        { Set::stereo(), Set::quadraphonic(), false },
    };
    for (const auto& c : cases)
        EXPECT_EQ (processor.isBusesLayoutSupported (layoutOf (c.in, c.out)), c.accepted)
            << c.in.getDescription() << " -> " << c.out.getDescription();

    juce::AudioProcessor::BusesLayout noBuses;
    EXPECT_FALSE (processor.isBusesLayoutSupported (noBuses));
}

TEST (ProcessorShellTest, FixedAnswersToTheHost)
{
    CorvaneAudioProcessor processor;
    EXPECT_EQ (processor.getName(), "Corvane");
    EXPECT_EQ (processor.getTailLengthSeconds(), 0.05);
    EXPECT_FALSE (processor.acceptsMidi());
    EXPECT_FALSE (processor.producesMidi());
    EXPECT_FALSE (processor.isMidiEffect());
    EXPECT_TRUE (processor.hasEditor());
    EXPECT_EQ (processor.getNumPrograms(), 1);
    EXPECT_EQ (processor.getCurrentProgram(), 0);
    processor.setCurrentProgram (3);
    processor.changeProgramName (0, "ignored");
    EXPECT_EQ (processor.getCurrentProgram(), 0);
    EXPECT_EQ (processor.getProgramName (5), juce::String());
    EXPECT_EQ (processor.getBypassParameter(), processor.parameters.getParameter ("bypass"));
    EXPECT_EQ (processor.getMainBusNumInputChannels(), 2);
    EXPECT_EQ (processor.getMainBusNumOutputChannels(), 2);
    EXPECT_EQ (processor.getBus (true, 0)->getName(), "Input");
    EXPECT_EQ (processor.getBus (false, 0)->getName(), "Output");
    EXPECT_EQ (processor.getLatencySamples(), 0);
}

// With bypass on, a stereo buffer and a mono input on a stereo bus both come back untouched.
TEST (ProcessorShellTest, BypassReturnsTheBlockBitExact)
{
    for (const auto& input : { Set::stereo(), Set::mono() })
    {
        CorvaneAudioProcessor processor;
        ASSERT_TRUE (processor.setBusesLayout (layoutOf (input, Set::stereo())));
        processor.getBypassParameter()->setValueNotifyingHost (1.0f);
        processor.prepareToPlay (48000.0, 256);

        juce::Random random (7);
        juce::AudioBuffer<float> buffer (2, 256);
        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < buffer.getNumSamples(); ++i)
                buffer.setSample (ch, i, random.nextFloat() * 2.0f - 1.0f);
        const auto original = buffer;
        juce::MidiBuffer midi;
        processor.processBlock (buffer, midi);

        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < buffer.getNumSamples(); ++i)
                ASSERT_EQ (buffer.getSample (ch, i), original.getSample (ch, i)) << input.getDescription();
    }
}

TEST (ProcessorShellTest, CreatesAnEditor)
{
    CorvaneAudioProcessor processor;
    std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditor());
    ASSERT_NE (editor, nullptr);
    EXPECT_EQ (&editor->processor, &processor);
}
