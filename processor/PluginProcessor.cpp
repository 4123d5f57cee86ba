#include "processor/PluginProcessor.h"

#include "editor/PluginEditor.h"
#include "processor/ParameterIds.h"
#include "processor/SavedStateReader.h"

namespace
{
// STFT frames of the suppressor: 1024 samples, hop 256 (Live); 2048 samples, hop 512 (Studio).
constexpr int liveFftOrder = 10, liveHopSize = 256;
constexpr int studioFftOrder = 11, studioHopSize = 512;

using Layout = juce::AudioProcessorValueTreeState::ParameterLayout;

void addFloat (Layout& layout, const char* id, const char* name, juce::NormalisableRange<float> range,
               float defaultValue, const char* label = "")
{
    layout.add (std::make_unique<juce::AudioParameterFloat> (
        juce::ParameterID { id }, name, range, defaultValue, juce::AudioParameterFloatAttributes().withLabel (label)));
}

void addUnitFloat (Layout& layout, const char* id, const char* name, float defaultValue)
{
    addFloat (layout, id, name, { 0.0f, 1.0f, 0.001f, 1.0f }, defaultValue);
}

void addBool (Layout& layout, const juce::String& id, const juce::String& name)
{
    layout.add (std::make_unique<juce::AudioParameterBool> (juce::ParameterID { id }, name, false));
}

void addChoice (Layout& layout, const char* id, const char* name, const char* first, const char* second)
{
    layout.add (std::make_unique<juce::AudioParameterChoice> (juce::ParameterID { id }, name,
                                                              juce::StringArray { first, second }, 0));
}

template <size_t N>
void addOverrideSwitches (Layout& layout, const std::array<const char*, N>& baseIds)
{
    // The switch is named after the base ID, not the display name: hosts show e.g. "depth Manual Override".
    for (const auto* baseId : baseIds)
        addBool (layout, juce::String (baseId) + ParameterIds::manualSuffix, juce::String (baseId) + " Manual Override");
}
} // namespace

CorvaneAudioProcessor::CorvaneAudioProcessor()
    : AudioProcessor (BusesProperties()
                          .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                          .withOutput ("Output", juce::AudioChannelSet::stereo(), true)),
      parameters (*this, nullptr, "PARAMETERS", createParameterLayout())
{
}

CorvaneAudioProcessor::~CorvaneAudioProcessor() = default;

juce::AudioProcessorValueTreeState::ParameterLayout CorvaneAudioProcessor::createParameterLayout()
{
    namespace id = ParameterIds;
    Layout layout;
    addBool (layout, id::bypass, "Bypass");
    addUnitFloat (layout, id::width, "Width", 0.5f);
    addChoice (layout, id::widenerMode, "Widener Mode", "Legacy", "Adaptive Side V2");
    addUnitFloat (layout, id::depth, "Depth", 0.5f);
    addFloat (layout, id::lowMono, "Low Mono Frequency", { 80.0f, 600.0f, 1.0f, 0.35f }, 300.0f, "Hz");
    addUnitFloat (layout, id::bodyWidth, "Body Width", 0.5f);
    addUnitFloat (layout, id::presenceWidth, "Presence Width", 0.7f);
    addUnitFloat (layout, id::transientProtect, "Transient Protect", 0.6f);
    addUnitFloat (layout, id::motion, "Motion", 0.25f);
    addUnitFloat (layout, id::monoSafety, "Mono Safety", 0.7f);
    addFloat (layout, id::outputTrim, "Output Trim", { -18.0f, 6.0f, 0.1f, 1.0f }, 0.0f, "dB");
    addChoice (layout, id::quality, "Quality", "Live", "Studio");
    addUnitFloat (layout, id::resonanceAmount, "Resonance Suppress", 0.0f);
    addUnitFloat (layout, id::resonanceSensitivity, "Resonance Sensitivity", 0.5f);
    addUnitFloat (layout, id::resonanceSharpness, "Resonance Sharpness", 0.5f);
    addFloat (layout, id::resonanceAttack, "Resonance Attack", { 5.0f, 200.0f, 0.1f, 1.0f }, 50.0f, "ms");
    addFloat (layout, id::resonanceRelease, "Resonance Release", { 20.0f, 500.0f, 0.1f, 1.0f }, 120.0f, "ms");
    addFloat (layout, id::resonanceMaxReduction, "Resonance Max Reduction", { 0.0f, 24.0f, 0.1f, 1.0f }, 16.0f, "dB");
    addUnitFloat (layout, id::harshnessAmount, "Harshness", 0.0f);
    addUnitFloat (layout, id::harshnessSensitivity, "Harshness Sensitivity", 0.5f);
    addFloat (layout, id::harshnessMaxReduction, "Harshness Max Reduction", { 0.0f, 24.0f, 0.1f, 1.0f }, 8.0f, "dB");
    addFloat (layout, id::harshnessLowHz, "Harshness Low", { 200.0f, 6000.0f, 1.0f, 0.35f }, 700.0f, "Hz");
    addFloat (layout, id::harshnessHighHz, "Harshness High", { 1000.0f, 20000.0f, 1.0f, 0.35f }, 20000.0f, "Hz");
    addBool (layout, id::resonanceDeltaMonitor, "Resonance Delta Monitor");
    addBool (layout, id::resonanceBypass, "Resonance Bypass");
    addOverrideSwitches (layout, id::widenerManualParameterIds);
    addOverrideSwitches (layout, id::suppressorManualParameterIds);
    return layout;
}

const juce::String CorvaneAudioProcessor::getName() const { return "Corvane"; }

void CorvaneAudioProcessor::prepareToPlay (double sampleRate, int samplesPerBlock)
{
    widener.prepare (sampleRate);

    // The suppressor's frame size is chosen here only; the widener follows quality block by block.
    const auto studio = controls.isOn (ParameterIds::quality);
    suppressor.prepare (sampleRate, studio ? studioFftOrder : liveFftOrder, studio ? studioHopSize : liveHopSize);

    suppressorActive.store (false, std::memory_order_relaxed);
    setLatencySamples (0);

    dryDelayBuffer.setSize (2, juce::jmax (suppressor.getLatencySamples(), 1), false, false, true);
    dryDelayBuffer.clear();
    delayedDryBuffer.setSize (2, juce::jmax (samplesPerBlock, 0), false, false, true);
    dryDelayWritePos = 0;
}

void CorvaneAudioProcessor::releaseResources() {}

void CorvaneAudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    if (controls.isOn (ParameterIds::bypass))
        return;

    replaceNonFiniteSamples (buffer);
    duplicateMonoInput (buffer);

    if (updateSuppressorEngagement())
        runSuppressionStage (buffer);

    // The widener flushes denormals itself for its whole stage and passes a channel-less block.
    controls.writeWidenerSettings (widener.settings);
    widener.process (buffer);
}

void CorvaneAudioProcessor::replaceNonFiniteSamples (juce::AudioBuffer<float>& buffer) const noexcept
{
    // One NaN or infinity would poison every filter, delay and detector downstream for good.
    for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
    {
        auto* samples = buffer.getWritePointer (ch);
        for (int i = 0; i < buffer.getNumSamples(); ++i)
            if (! std::isfinite (samples[i]))
                samples[i] = 0.0f;
    }
}

void CorvaneAudioProcessor::duplicateMonoInput (juce::AudioBuffer<float>& buffer) const noexcept
{
    if (getTotalNumInputChannels() == 1 && buffer.getNumChannels() >= 2 && buffer.getNumSamples() > 0)
        buffer.copyFrom (1, 0, buffer, 0, 0, buffer.getNumSamples());
}

bool CorvaneAudioProcessor::updateSuppressorEngagement() noexcept
{
    const auto amount = controls.rawValue (ParameterIds::resonanceAmount);
    const auto harshness = controls.rawValue (ParameterIds::harshnessAmount);
    const auto engaged = ! controls.isOn (ParameterIds::resonanceBypass) && juce::jmax (amount, harshness) > 0.0f;
    if (engaged != suppressorActive.load (std::memory_order_relaxed))
    {
        suppressorActive.store (engaged, std::memory_order_relaxed);
        suppressor.reset();
        setLatencySamples (engaged ? suppressor.getLatencySamples() : 0);
    }
    return engaged;
}

void CorvaneAudioProcessor::runSuppressionStage (juce::AudioBuffer<float>& buffer)
{
    const auto latency = suppressor.getLatencySamples();
    const auto deltaOn = controls.isOn (ParameterIds::resonanceDeltaMonitor) && latency > 0
                         && dryDelayBuffer.getNumSamples() >= latency;
    if (deltaOn)
        delayDryInput (buffer, latency);

    suppressor.setSettings (controls.suppressorSettings());
    suppressor.process (buffer);

    if (deltaOn)
        replaceWithDelta (buffer);
}

void CorvaneAudioProcessor::delayDryInput (const juce::AudioBuffer<float>& buffer, int latency)
{
    // The one allocation allowed on the audio thread: a host block longer than it announced.
    if (delayedDryBuffer.getNumSamples() < buffer.getNumSamples())
        delayedDryBuffer.setSize (2, buffer.getNumSamples(), false, false, true);

    const auto numChannels = juce::jmin (buffer.getNumChannels(), dryDelayBuffer.getNumChannels());
    for (int i = 0; i < buffer.getNumSamples(); ++i)
    {
        for (int ch = 0; ch < numChannels; ++ch)
        {
            auto* ring = dryDelayBuffer.getWritePointer (ch);
            delayedDryBuffer.setSample (ch, i, ring[dryDelayWritePos]);
            ring[dryDelayWritePos] = buffer.getSample (ch, i);
        }
        dryDelayWritePos = (dryDelayWritePos + 1) % latency;
    }
}

void CorvaneAudioProcessor::replaceWithDelta (juce::AudioBuffer<float>& buffer) const noexcept
{
    // What the suppressor removed: the dry input, delayed to line up, minus the processed block.
    const auto numChannels = juce::jmin (buffer.getNumChannels(), delayedDryBuffer.getNumChannels());
    for (int ch = 0; ch < numChannels; ++ch)
    {
        auto* wet = buffer.getWritePointer (ch);
        const auto* dry = delayedDryBuffer.getReadPointer (ch);
        for (int i = 0; i < buffer.getNumSamples(); ++i)
            wet[i] = dry[i] - wet[i];
    }
}

double CorvaneAudioProcessor::getTailLengthSeconds() const { return 0.05; }
bool CorvaneAudioProcessor::acceptsMidi() const { return false; }
bool CorvaneAudioProcessor::producesMidi() const { return false; }
bool CorvaneAudioProcessor::isMidiEffect() const { return false; }

juce::AudioProcessorParameter* CorvaneAudioProcessor::getBypassParameter() const
{
    return parameters.getParameter (ParameterIds::bypass);
}

juce::AudioProcessorEditor* CorvaneAudioProcessor::createEditor()
{
    return new CorvaneAudioProcessorEditor (*this);
}

bool CorvaneAudioProcessor::hasEditor() const { return true; }

int CorvaneAudioProcessor::getNumPrograms() { return 1; }
int CorvaneAudioProcessor::getCurrentProgram() { return 0; }
void CorvaneAudioProcessor::setCurrentProgram (int) {}
const juce::String CorvaneAudioProcessor::getProgramName (int) { return {}; }
void CorvaneAudioProcessor::changeProgramName (int, const juce::String&) {}

void CorvaneAudioProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    const auto state = parameters.copyState();
    if (const auto xml = state.createXml())
        copyXmlToBinary (*xml, destData);
}

void CorvaneAudioProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    auto restored = SavedStateReader::read (data, sizeInBytes, parameters);
    if (restored.isValid())
        parameters.replaceState (restored);
}

bool CorvaneAudioProcessor::isBusesLayoutSupported (const BusesLayout& layouts) const
{
    const auto in = layouts.getMainInputChannelSet();
    const auto out = layouts.getMainOutputChannelSet();
    if (in != juce::AudioChannelSet::mono() && in != juce::AudioChannelSet::stereo())
        return false;
    return out == juce::AudioChannelSet::stereo();
}

bool CorvaneAudioProcessor::setParameterRawValue (juce::StringRef parameterId, float rawValue)
{
    auto* parameter = parameters.getParameter (parameterId);
    if (parameter == nullptr)
        return false;
    parameter->setValueNotifyingHost (parameter->convertTo0to1 (rawValue));
    return true;
}

bool CorvaneAudioProcessor::isSuppressorActive() const noexcept
{
    return suppressorActive.load (std::memory_order_relaxed);
}

float CorvaneAudioProcessor::latestReductionDb (int channel) const noexcept
{
    return suppressor.getLatestReductionDb (channel);
}
