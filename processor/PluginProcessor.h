#pragma once

#include "dsp/resonance/ResonanceSuppressor.h"
#include "dsp/widening/CorvaneWidener.h"
#include "processor/ControlMapping.h"

#include <juce_audio_processors/juce_audio_processors.h>

/** The plug-in's audio processor: buses, parameters, saved state and the per-block chain. */
class CorvaneAudioProcessor : public juce::AudioProcessor
{
public:
    /** Builds the parameters at their defaults; starts no timer, thread or listener. */
    CorvaneAudioProcessor();
    /** Destroys the members in reverse order; nothing else. */
    ~CorvaneAudioProcessor() override;

    /** Builds the 42 parameters in host order. Reads no processor state. */
    static juce::AudioProcessorValueTreeState::ParameterLayout createParameterLayout();

    /** "Corvane", also the stand-alone app's name and window title. */
    const juce::String getName() const override;
    /** Prepares every stage for the rate and maximum block size. Allocates. */
    void prepareToPlay (double sampleRate, int samplesPerBlock) override;
    /** Keeps every buffer until the next prepareToPlay. */
    void releaseResources() override;
    /** Processes one block in place. Real-time safe. */
    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;
    using juce::AudioProcessor::processBlock;

    /** 0.05 s of tail after the input stops. */
    double getTailLengthSeconds() const override;
    /** No MIDI in, no MIDI out, not a MIDI effect. */
    bool acceptsMidi() const override;
    /** False: no MIDI out. */
    bool producesMidi() const override;
    /** False: an audio effect. */
    bool isMidiEffect() const override;
    /** The `bypass` parameter, which hosts switch as the plug-in's own bypass. */
    juce::AudioProcessorParameter* getBypassParameter() const override;

    /** A new editor window; the caller owns it. Message thread. */
    juce::AudioProcessorEditor* createEditor() override;
    /** True: the plug-in has its own window. */
    bool hasEditor() const override;

    /** One unnamed program; the program calls accept any index and change nothing. */
    int getNumPrograms() override;
    /** Always 0. */
    int getCurrentProgram() override;
    /** Ignores the index. */
    void setCurrentProgram (int index) override;
    /** An empty name for any index. */
    const juce::String getProgramName (int index) override;
    /** Ignores the new name. */
    void changeProgramName (int index, const juce::String& newName) override;

    /** Writes the parameter values as a binary XML blob. Message thread. */
    void getStateInformation (juce::MemoryBlock& destData) override;
    /** Restores parameter values from a blob; any malformed blob is ignored. Message thread. */
    void setStateInformation (const void* data, int sizeInBytes) override;

    /** Mono or stereo in, stereo out; nothing else. */
    bool isBusesLayoutSupported (const BusesLayout& layouts) const override;

    /** Sets a parameter from a value in its own unit, clamped and snapped exactly like host
        automation. False when no parameter has this ID. Message thread. */
    bool setParameterRawValue (juce::StringRef parameterId, float rawValue);

    /** True while the suppression stage is engaged. Any thread, lock-free. */
    bool isSuppressorActive() const noexcept;
    /** The largest reduction, in dB (0 or more), in the latest frame of a channel. Any thread, lock-free. */
    float latestReductionDb (int channel) const noexcept;

    /** Every parameter and its state tree; the editor attaches its controls here. */
    juce::AudioProcessorValueTreeState parameters;

private:
    void replaceNonFiniteSamples (juce::AudioBuffer<float>& buffer) const noexcept;
    void duplicateMonoInput (juce::AudioBuffer<float>& buffer) const noexcept;
    bool updateSuppressorEngagement() noexcept;
    void runSuppressionStage (juce::AudioBuffer<float>& buffer);
    void delayDryInput (const juce::AudioBuffer<float>& buffer, int latency);
    void replaceWithDelta (juce::AudioBuffer<float>& buffer) const noexcept;

    corvane::CorvaneWidener widener;
    resonance::ResonanceSuppressor suppressor;
    std::atomic<bool> suppressorActive { false };
    juce::AudioBuffer<float> dryDelayBuffer;   // ring that delays the dry input by the latency
    juce::AudioBuffer<float> delayedDryBuffer; // this block's delayed dry samples
    int dryDelayWritePos = 0;
    ControlMapping controls { parameters };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CorvaneAudioProcessor)
};
