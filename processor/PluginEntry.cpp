#include "processor/PluginProcessor.h"

// The entry point every plug-in wrapper calls to create the processor.
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new CorvaneAudioProcessor();
}
