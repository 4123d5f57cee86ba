#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

// The runner owns the message manager and the GUI subsystem for every test, as a host would.
int main (int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juce;
    ::testing::InitGoogleTest (&argc, argv);
    return RUN_ALL_TESTS();
}
