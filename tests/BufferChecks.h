#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <cmath>

namespace testing_support
{
/** True when every sample of every channel is a finite number. */
inline bool allFinite (const juce::AudioBuffer<float>& buffer)
{
    for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
        for (int n = 0; n < buffer.getNumSamples(); ++n)
            if (! std::isfinite (buffer.getSample (ch, n)))
                return false;
    return true;
}
} // namespace testing_support
