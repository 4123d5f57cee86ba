#pragma once

#include "dsp/resonance/ResonanceSuppressor.h"
#include "dsp/widening/CorvaneWidener.h"

#include <juce_audio_processors/juce_audio_processors.h>

/** Turns the parameters into the settings of the two DSP stages, once per block.

    The three macros (width, resonance amount, harshness amount) give every detail setting an
    automatic value; a detail's override switch hands that setting to its own parameter instead.
    Parameters are read by ID at every use. A value that is not a finite number (a host can automate
    one) is replaced by the parameter's default, so it never reaches the DSP. Real-time safe: no
    allocation, no locks. */
class ControlMapping
{
public:
    explicit ControlMapping (const juce::AudioProcessorValueTreeState& parametersToRead) noexcept;

    /** The raw value of a parameter in its own unit, or its default when not finite. */
    float rawValue (const char* parameterId) const noexcept;

    /** True when a bool is on, or a two-way choice is at its second entry (raw value above 0.5). */
    bool isOn (const char* parameterId) const noexcept;

    /** Writes all eleven widener settings from the current parameters. */
    void writeWidenerSettings (corvane::CorvaneWidener::Settings& settings) const noexcept;

    /** The eleven suppressor settings from the current parameters. */
    resonance::ResonanceSuppressor::Settings suppressorSettings() const noexcept;

private:
    /** The detail parameter's value when its override switch is on, else the automatic value. */
    float detailOrAutomatic (const char* detailId, const char* overrideId, float automatic) const noexcept;

    const juce::AudioProcessorValueTreeState& parameters;
};
