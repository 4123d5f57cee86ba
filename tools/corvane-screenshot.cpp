// Renders the editor offscreen into a PNG (default: docs/screenshot.png) in a lively state: wide,
// adaptive, both suppression amounts up, after a few seconds of a strummed synthetic guitar have run
// through the processor while the emblem's timer ticked, so the meters drive its sparks.

#include "editor/PluginEditor.h"
#include "processor/ParameterIds.h"

#include <iostream>
#include <vector>

namespace
{
constexpr double sampleRate = 48000.0;
constexpr int blockSize = 400;      // four blocks per 33 ms timer tick (1600 samples)
constexpr int blocksPerTick = 4;
constexpr int ticks = 120;          // four seconds of audio and animation
constexpr int settleTicks = 60;     // the meters and the emblem's activity have settled after two seconds

/** A Karplus-Strong plucked string: a noise burst circulating in a damped delay line. */
class PluckedString
{
public:
    explicit PluckedString (double frequencyHz)
        : line ((size_t) juce::jmax (2, juce::roundToInt (sampleRate / frequencyHz)), 0.0f)
    {
    }

    void pluck (juce::Random& random, float level)
    {
        for (auto& sample : line)
            sample = level * (2.0f * random.nextFloat() - 1.0f);
    }

    float next()
    {
        const auto current = line[position];
        const auto following = line[(position + 1) % line.size()];
        line[position] = 0.996f * 0.5f * (current + following); // averaging darkens each round trip
        position = (position + 1) % line.size();
        return current;
    }

private:
    std::vector<float> line;
    size_t position = 0;
};

/** An open E major chord strummed down every 0.75 s, each string 15 ms after the previous. */
class StrummedGuitar
{
public:
    float next()
    {
        const auto strumLength = (juce::int64) (0.75 * sampleRate);
        const auto inStrum = sampleIndex % strumLength;
        for (size_t i = 0; i < strings.size(); ++i)
            if (inStrum == (juce::int64) (0.015 * sampleRate * (double) i))
                strings[i].pluck (random, 0.35f);
        ++sampleIndex;

        float sum = 0.0f;
        for (auto& string : strings)
            sum += string.next();
        return sum;
    }

private:
    std::vector<PluckedString> strings { PluckedString (82.41), PluckedString (123.47), PluckedString (164.81),
                                         PluckedString (207.65), PluckedString (246.94), PluckedString (329.63) };
    juce::Random random { 0x67755461 };
    juce::int64 sampleIndex = 0;
};

void setParameter (CorvaneAudioProcessor& processor, const char* id, float value)
{
    auto* parameter = processor.parameters.getParameter (id);
    parameter->setValueNotifyingHost (parameter->convertTo0to1 (value));
}

void runBlocks (CorvaneAudioProcessor& processor, StrummedGuitar& guitar, int count)
{
    juce::AudioBuffer<float> buffer (2, blockSize);
    juce::MidiBuffer midi;
    for (int block = 0; block < count; ++block)
    {
        for (int n = 0; n < blockSize; ++n)
        {
            const auto sample = guitar.next();
            buffer.setSample (0, n, sample);
            buffer.setSample (1, n, sample);
        }
        processor.processBlock (buffer, midi);
    }
}

CorvaneAudioProcessorEditor::UlmiraStage* findStage (juce::Component& editor)
{
    for (auto* child : editor.getChildren())
        if (auto* stage = dynamic_cast<CorvaneAudioProcessorEditor::UlmiraStage*> (child))
            return stage;
    return nullptr;
}

bool writePng (const juce::Image& image, const juce::File& file)
{
    file.getParentDirectory().createDirectory();
    file.deleteFile(); // a FileOutputStream appends to an existing file
    juce::FileOutputStream out (file);
    return out.openedOk() && juce::PNGImageFormat().writeImageToStream (image, out);
}
} // namespace

int main (int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI gui;
    const auto output = juce::File::getCurrentWorkingDirectory().getChildFile (argc > 1 ? argv[1] : "docs/screenshot.png");

    CorvaneAudioProcessor processor;
    setParameter (processor, ParameterIds::width, 0.86f);
    setParameter (processor, ParameterIds::widenerMode, 1.0f);
    setParameter (processor, ParameterIds::resonanceAmount, 0.9f);
    setParameter (processor, ParameterIds::harshnessAmount, 0.8f);
    processor.prepareToPlay (sampleRate, blockSize);

    std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditorIfNeeded());
    auto* stage = findStage (*editor);
    if (stage == nullptr)
        return 1;
    stage->setRandomSeed (0x5ca1ab1e); // the same sparks on every run

    // Once settled, keep the frame with the most sparks in flight.
    StrummedGuitar guitar;
    juce::Image snapshot;
    size_t mostSparks = 0;
    for (int tick = 0; tick < ticks; ++tick)
    {
        runBlocks (processor, guitar, blocksPerTick);
        stage->timerCallback();
        if (tick == settleTicks || (tick > settleTicks && stage->getSparks().size() > mostSparks))
        {
            mostSparks = stage->getSparks().size();
            snapshot = editor->createComponentSnapshot (editor->getLocalBounds(), true, 1.0f);
        }
    }
    editor.reset();
    processor.releaseResources();

    if (! writePng (snapshot, output))
    {
        std::cerr << "could not write " << output.getFullPathName() << '\n';
        return 1;
    }
    std::cout << output.getFullPathName() << ' ' << snapshot.getWidth() << 'x' << snapshot.getHeight() << '\n';
    return 0;
}
