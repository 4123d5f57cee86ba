#include "processor/ParameterIds.h"
#include "processor/PluginProcessor.h"

#include <gtest/gtest.h>

namespace
{
struct Expected
{
    const char* id;
    const char* name;
    float start, end, interval, skew, defaultValue;
    const char* label;
    double defaultNormalised; // where the host's slider sits at the default
};

// Every float parameter with its designed range, default and unit.
const Expected floats[] = {
    { "width", "Width", 0, 1, 0.001f, 1, 0.5f, "", 0.5 },
    { "depth", "Depth", 0, 1, 0.001f, 1, 0.5f, "", 0.5 },
    { "lowMono", "Low Mono Frequency", 80, 600, 1, 0.35f, 300, "Hz", 0.740 },
    { "bodyWidth", "Body Width", 0, 1, 0.001f, 1, 0.5f, "", 0.5 },
    { "presenceWidth", "Presence Width", 0, 1, 0.001f, 1, 0.7f, "", 0.7 },
    { "transientProtect", "Transient Protect", 0, 1, 0.001f, 1, 0.6f, "", 0.6 },
    { "motion", "Motion", 0, 1, 0.001f, 1, 0.25f, "", 0.25 },
    { "monoSafety", "Mono Safety", 0, 1, 0.001f, 1, 0.7f, "", 0.7 },
    { "outputTrim", "Output Trim", -18, 6, 0.1f, 1, 0, "dB", 0.75 },
    { "resonanceAmount", "Resonance Suppress", 0, 1, 0.001f, 1, 0, "", 0.0 },
    { "resonanceSensitivity", "Resonance Sensitivity", 0, 1, 0.001f, 1, 0.5f, "", 0.5 },
    { "resonanceSharpness", "Resonance Sharpness", 0, 1, 0.001f, 1, 0.5f, "", 0.5 },
    { "resonanceAttack", "Resonance Attack", 5, 200, 0.1f, 1, 50, "ms", 45.0 / 195.0 },
    { "resonanceRelease", "Resonance Release", 20, 500, 0.1f, 1, 120, "ms", 100.0 / 480.0 },
    { "resonanceMaxReduction", "Resonance Max Reduction", 0, 24, 0.1f, 1, 16, "dB", 16.0 / 24.0 },
    { "harshnessAmount", "Harshness", 0, 1, 0.001f, 1, 0, "", 0.0 },
    { "harshnessSensitivity", "Harshness Sensitivity", 0, 1, 0.001f, 1, 0.5f, "", 0.5 },
    { "harshnessMaxReduction", "Harshness Max Reduction", 0, 24, 0.1f, 1, 8, "dB", 8.0 / 24.0 },
    { "harshnessLowHz", "Harshness Low", 200, 6000, 1, 0.35f, 700, "Hz", 0.424 },
    { "harshnessHighHz", "Harshness High", 1000, 20000, 1, 0.35f, 20000, "Hz", 1.0 },
};

struct ProcessorParametersTest : ::testing::Test
{
    CorvaneAudioProcessor processor;

    juce::RangedAudioParameter& parameter (const juce::String& id)
    {
        auto* p = processor.parameters.getParameter (id);
        EXPECT_NE (p, nullptr) << id;
        return *p;
    }
};

juce::StringArray expectedHostOrder()
{
    juce::StringArray ids { "bypass", "width", "widenerMode", "depth", "lowMono", "bodyWidth", "presenceWidth",
                            "transientProtect", "motion", "monoSafety", "outputTrim", "quality", "resonanceAmount",
                            "resonanceSensitivity", "resonanceSharpness", "resonanceAttack", "resonanceRelease",
                            "resonanceMaxReduction", "harshnessAmount", "harshnessSensitivity",
                            "harshnessMaxReduction", "harshnessLowHz", "harshnessHighHz", "resonanceDeltaMonitor",
                            "resonanceBypass" };
    for (const auto* base : { "depth", "lowMono", "bodyWidth", "presenceWidth", "transientProtect", "motion",
                              "monoSafety", "outputTrim", "resonanceSensitivity", "resonanceSharpness",
                              "resonanceAttack", "resonanceRelease", "resonanceMaxReduction",
                              "harshnessSensitivity", "harshnessMaxReduction", "harshnessLowHz", "harshnessHighHz" })
        ids.add (juce::String (base) + "Manual");
    return ids;
}
} // namespace

// Hosts address parameters by index: the order and the IDs are part of every saved session.
TEST_F (ProcessorParametersTest, HostSeesFortyTwoParametersInDesignedOrder)
{
    const auto& params = processor.getParameters();
    const auto ids = expectedHostOrder();
    ASSERT_EQ (params.size(), 42);
    ASSERT_EQ (ParameterIds::count, 42);
    for (int i = 0; i < params.size(); ++i)
    {
        auto* withId = dynamic_cast<juce::AudioProcessorParameterWithID*> (params[i]);
        ASSERT_NE (withId, nullptr);
        EXPECT_EQ (withId->paramID, ids[i]) << "index " << i;
        EXPECT_EQ (withId->getVersionHint(), 0);
        EXPECT_TRUE (withId->isAutomatable());
        EXPECT_FALSE (withId->isMetaParameter());
        EXPECT_EQ (withId->getCategory(), juce::AudioProcessorParameter::genericParameter);
    }
}

TEST_F (ProcessorParametersTest, FloatRangesDefaultsAndLabelsMatchTheDesign)
{
    for (const auto& e : floats)
    {
        SCOPED_TRACE (e.id);
        auto* p = dynamic_cast<juce::AudioParameterFloat*> (&parameter (e.id));
        ASSERT_NE (p, nullptr);
        EXPECT_EQ (p->getName (100), e.name);
        EXPECT_EQ (p->getLabel(), e.label);
        EXPECT_EQ (p->range.start, e.start);
        EXPECT_EQ (p->range.end, e.end);
        EXPECT_EQ (p->range.interval, e.interval);
        EXPECT_EQ (p->range.skew, e.skew);
        EXPECT_FALSE (p->range.symmetricSkew);
        EXPECT_EQ (p->get(), e.defaultValue);
        EXPECT_NEAR (static_cast<juce::AudioProcessorParameter*> (p)->getDefaultValue(), e.defaultNormalised, 5e-4); // the design quotes three decimals
    }
}

TEST_F (ProcessorParametersTest, BoolsChoicesAndOverrideSwitches)
{
    struct Choice { const char* id; const char* name; const char* first; const char* second; };
    for (const auto& c : { Choice { "widenerMode", "Widener Mode", "Legacy", "Adaptive Side V2" },
                           Choice { "quality", "Quality", "Live", "Studio" } })
    {
        auto* p = dynamic_cast<juce::AudioParameterChoice*> (&parameter (c.id));
        ASSERT_NE (p, nullptr);
        EXPECT_EQ (p->getName (100), c.name);
        EXPECT_EQ (p->choices, juce::StringArray ({ c.first, c.second }));
        EXPECT_EQ (p->getIndex(), 0);
    }

    for (const auto& [id, name] : { std::pair { "bypass", "Bypass" },
                                    std::pair { "resonanceDeltaMonitor", "Resonance Delta Monitor" },
                                    std::pair { "resonanceBypass", "Resonance Bypass" },
                                    std::pair { "outputTrimManual", "outputTrim Manual Override" },
                                    std::pair { "harshnessHighHzManual", "harshnessHighHz Manual Override" },
                                    std::pair { "depthManual", "depth Manual Override" } })
    {
        auto* p = dynamic_cast<juce::AudioParameterBool*> (&parameter (id));
        ASSERT_NE (p, nullptr) << id;
        EXPECT_EQ (p->getName (100), name);
        EXPECT_FALSE (p->get());
    }
}

TEST_F (ProcessorParametersTest, ValueTextsAndIntervalSnapping)
{
    EXPECT_EQ (parameter ("lowMono").getCurrentValueAsText(), "300");
    EXPECT_EQ (parameter ("width").getCurrentValueAsText(), "0.500");
    EXPECT_EQ (parameter ("outputTrim").getCurrentValueAsText(), "0.0");
    EXPECT_EQ (parameter ("quality").getCurrentValueAsText(), "Live");
    EXPECT_EQ (parameter ("bypass").getCurrentValueAsText(), "Off");

    auto setRaw = [this] (const char* id, float value)
    {
        EXPECT_TRUE (processor.setParameterRawValue (id, value));
        return processor.parameters.getRawParameterValue (id)->load();
    };
    EXPECT_EQ (setRaw ("lowMono", 300.4f), 300.0f);
    EXPECT_NEAR (setRaw ("outputTrim", -3.27f), -3.3f, 1e-5f);
    EXPECT_EQ (setRaw ("quality", 1.0f), 1.0f);
    EXPECT_EQ (setRaw ("widenerMode", 1.0f), 1.0f);
}
