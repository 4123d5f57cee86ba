// Renders the editor offscreen into a PNG (default: docs/screenshot.png) in a lively state: wide,
// adaptive, both suppression amounts up, after a few seconds of the demo guitar phrase have run
// through the processor while the emblem's timer ticked, so the meters drive its sparks.

#include "editor/PluginEditor.h"
#include "processor/ParameterIds.h"
#include "tools/render/DemoPhrase.h"

#include <iostream>

namespace
{
constexpr double sampleRate = 48000.0;
constexpr int blockSize = 400;      // four blocks per 33 ms timer tick (1600 samples)
constexpr int blocksPerTick = 4;
constexpr int ticks = 120;          // four seconds of audio and animation
constexpr int settleTicks = 60;     // the meters and the emblem's activity have settled after two seconds

// Plays the demo phrase block by block, from the start again when it runs out.
void runBlocks (CorvaneAudioProcessor& processor, const juce::AudioBuffer<float>& phrase, int& position, int count)
{
    juce::AudioBuffer<float> buffer (2, blockSize);
    juce::MidiBuffer midi;
    for (int block = 0; block < count; ++block)
    {
        if (position + blockSize > phrase.getNumSamples())
            position = 0;
        for (int ch = 0; ch < 2; ++ch)
            buffer.copyFrom (ch, 0, phrase, 0, position, blockSize);
        position += blockSize;
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
    processor.setParameterRawValue (ParameterIds::width, 0.86f);
    processor.setParameterRawValue (ParameterIds::widenerMode, 1.0f);
    processor.setParameterRawValue (ParameterIds::resonanceAmount, 0.9f);
    processor.setParameterRawValue (ParameterIds::harshnessAmount, 0.8f);
    processor.prepareToPlay (sampleRate, blockSize);

    std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditorIfNeeded());
    auto* stage = findStage (*editor);
    if (stage == nullptr)
        return 1;
    stage->setRandomSeed (0x5ca1ab1e); // the same sparks on every run

    // Once settled, keep the frame with the most sparks in flight.
    const auto phrase = DemoPhrase::render (sampleRate);
    int position = 0;
    juce::Image snapshot;
    size_t mostSparks = 0;
    for (int tick = 0; tick < ticks; ++tick)
    {
        runBlocks (processor, phrase, position, blocksPerTick);
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
