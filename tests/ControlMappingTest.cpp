#include "processor/ControlMapping.h"
#include "processor/PluginProcessor.h"

#include <gtest/gtest.h>

namespace
{
struct ControlMappingTest : ::testing::Test
{
    CorvaneAudioProcessor processor;
    ControlMapping mapping { processor.parameters };

    corvane::CorvaneWidener::Settings widenerAtWidth (float width)
    {
        processor.setParameterRawValue ("width", width);
        corvane::CorvaneWidener::Settings settings;
        mapping.writeWidenerSettings (settings);
        return settings;
    }
};
} // namespace

// The automatic widener curves at the ends and the middle of the width control. Tolerances are the
// precision of the quoted figures.
TEST_F (ControlMappingTest, WidenerFollowsWidthWithTheAutomaticCurves)
{
    struct Case { float width, depth, bodyWidth, presenceWidth, transientProtect, motion, trimDb; };
    for (const auto& c : { Case { 0.0f, 0.46f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f },
                           Case { 0.5f, 0.69f, 0.551f, 0.418f, 0.5f, 0.0022f, 0.1625f },
                           Case { 1.0f, 0.92f, 0.9f, 1.0f, 1.0f, 0.4f, 0.65f } })
    {
        SCOPED_TRACE (c.width);
        const auto s = widenerAtWidth (c.width);
        EXPECT_EQ (s.width, c.width);
        EXPECT_NEAR (s.depth, c.depth, 5e-4f);
        EXPECT_NEAR (s.bodyWidth, c.bodyWidth, 5e-4f);
        EXPECT_NEAR (s.presenceWidth, c.presenceWidth, 5e-4f);
        EXPECT_NEAR (s.transientProtect, c.transientProtect, 5e-4f);
        EXPECT_NEAR (s.motion, c.motion, 5e-5f);
        EXPECT_NEAR (s.outputTrimDb, c.trimDb, 5e-5f);
        EXPECT_EQ (s.lowMonoHz, 300.0f);
        EXPECT_EQ (s.monoSafety, 0.0f);
        EXPECT_EQ (s.quality, 0);
        EXPECT_EQ (s.mode, 0);
    }
}

TEST_F (ControlMappingTest, OverrideSwitchesHandEachSettingToItsParameter)
{
    processor.setParameterRawValue ("width", 1.0f);
    processor.setParameterRawValue ("quality", 1.0f);
    processor.setParameterRawValue ("widenerMode", 1.0f);
    struct Override { const char* id; float value; float corvane::CorvaneWidener::Settings::*field; };
    const Override overrides[] = {
        { "depth", 0.2f, &corvane::CorvaneWidener::Settings::depth },
        { "lowMono", 450.0f, &corvane::CorvaneWidener::Settings::lowMonoHz },
        { "bodyWidth", 0.3f, &corvane::CorvaneWidener::Settings::bodyWidth },
        { "presenceWidth", 0.1f, &corvane::CorvaneWidener::Settings::presenceWidth },
        { "transientProtect", 0.25f, &corvane::CorvaneWidener::Settings::transientProtect },
        { "motion", 0.9f, &corvane::CorvaneWidener::Settings::motion },
        { "monoSafety", 0.8f, &corvane::CorvaneWidener::Settings::monoSafety },
        { "outputTrim", -6.0f, &corvane::CorvaneWidener::Settings::outputTrimDb },
    };
    for (const auto& o : overrides)
        processor.setParameterRawValue (o.id, o.value);

    corvane::CorvaneWidener::Settings automatic;
    mapping.writeWidenerSettings (automatic);
    for (const auto& o : overrides)
    {
        processor.setParameterRawValue (juce::String (o.id) + "Manual", 1.0f);
        corvane::CorvaneWidener::Settings s;
        mapping.writeWidenerSettings (s);
        EXPECT_NEAR (s.*o.field, o.value, 1e-6f) << o.id;
        EXPECT_NE (automatic.*o.field, o.value) << o.id;
        EXPECT_EQ (s.quality, 1);
        EXPECT_EQ (s.mode, 1);
    }
}

TEST_F (ControlMappingTest, SuppressorFollowsTheAmountsWithTheAutomaticCurves)
{
    struct Case { float r, sensitivity, sharpness, attackMs, releaseMs, maxReductionDb; };
    for (const auto& c : { Case { 0.0f, 0.35f, 0.35f, 70.0f, 160.0f, 6.0f }, Case { 0.5f, 0.6f, 0.55f, 50.0f, 120.0f, 15.0f },
                           Case { 1.0f, 0.85f, 0.75f, 30.0f, 80.0f, 24.0f } })
    {
        processor.setParameterRawValue ("resonanceAmount", c.r);
        const auto s = mapping.suppressorSettings();
        EXPECT_EQ (s.amount, c.r);
        EXPECT_NEAR (s.sensitivity, c.sensitivity, 1e-6f);
        EXPECT_NEAR (s.sharpness, c.sharpness, 1e-6f);
        EXPECT_NEAR (s.attackMs, c.attackMs, 1e-4f);
        EXPECT_NEAR (s.releaseMs, c.releaseMs, 1e-4f);
        EXPECT_NEAR (s.maxReductionDb, c.maxReductionDb, 1e-5f);
    }

    struct HarshCase { float h, sensitivity, maxReductionDb; };
    for (const auto& c : { HarshCase { 0.0f, 0.35f, 3.0f }, HarshCase { 0.175f, 0.4375f, 5.625f },
                           HarshCase { 0.35f, 0.525f, 8.25f }, HarshCase { 1.0f, 1.0f, 8.25f } })
    {
        processor.setParameterRawValue ("harshnessAmount", c.h);
        const auto s = mapping.suppressorSettings();
        EXPECT_NEAR (s.harshnessAmount, c.h, 1e-6f);
        EXPECT_NEAR (s.harshnessSensitivity, c.sensitivity, 1e-5f) << c.h;
        EXPECT_NEAR (s.harshnessMaxReductionDb, c.maxReductionDb, 1e-5f) << c.h;
        EXPECT_EQ (s.harshnessLowHz, 700.0f);
        EXPECT_EQ (s.harshnessHighHz, 20000.0f);
    }

    processor.setParameterRawValue ("harshnessLowHzManual", 1.0f);
    processor.setParameterRawValue ("harshnessLowHz", 1500.0f);
    processor.setParameterRawValue ("resonanceAttackManual", 1.0f);
    processor.setParameterRawValue ("resonanceAttack", 12.5f);
    EXPECT_EQ (mapping.suppressorSettings().harshnessLowHz, 1500.0f);
    EXPECT_NEAR (mapping.suppressorSettings().attackMs, 12.5f, 1e-4f);
}

// Whatever path a NaN takes into a parameter's stored value, the DSP gets the parameter's default.
TEST_F (ControlMappingTest, NonFiniteParameterValuesBecomeTheirDefaults)
{
    processor.setParameterRawValue ("lowMonoManual", 1.0f);
    for (const auto* id : { "width", "resonanceAmount", "harshnessAmount", "lowMono" })
        processor.parameters.getRawParameterValue (id)->store (std::numeric_limits<float>::quiet_NaN());

    corvane::CorvaneWidener::Settings w;
    mapping.writeWidenerSettings (w);
    const auto s = mapping.suppressorSettings();
    EXPECT_EQ (w.width, 0.5f);
    EXPECT_EQ (w.lowMonoHz, 300.0f);
    EXPECT_EQ (s.amount, 0.0f);
    EXPECT_EQ (s.harshnessAmount, 0.0f);
    EXPECT_TRUE (std::isfinite (w.depth) && std::isfinite (w.outputTrimDb) && std::isfinite (s.sensitivity));
}
