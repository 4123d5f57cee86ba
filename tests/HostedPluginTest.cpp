#include <juce_audio_processors/juce_audio_processors.h>

#include <gtest/gtest.h>

// Loads the built VST3 and LV2 binaries through JUCE's own plug-in hosting, as a real host would.
namespace
{
constexpr double sampleRate = 48000.0;
constexpr int blockSize = 512;

std::unique_ptr<juce::PluginDescription> findVst3()
{
    juce::VST3PluginFormat format;
    juce::OwnedArray<juce::PluginDescription> found;
    format.findAllTypesForFile (found, CORVANE_VST3_PATH);
    return found.isEmpty() ? nullptr : std::make_unique<juce::PluginDescription> (*found[0]);
}

std::unique_ptr<juce::PluginDescription> findLv2()
{
    // JUCE's LV2 host discovers bundles by folder and names plug-ins by URI.
    juce::LV2PluginFormat format;
    const auto bundleParent = juce::File (CORVANE_LV2_PATH).getParentDirectory();
    const auto uris = format.searchPathsForPlugins (juce::FileSearchPath (bundleParent.getFullPathName()), true, false);
    if (! uris.contains (CORVANE_LV2_URI))
        return nullptr;
    juce::OwnedArray<juce::PluginDescription> found;
    format.findAllTypesForFile (found, CORVANE_LV2_URI);
    return found.isEmpty() ? nullptr : std::make_unique<juce::PluginDescription> (*found[0]);
}

juce::AudioProcessorParameter* parameterNamed (juce::AudioPluginInstance& plugin, const juce::String& name)
{
    for (auto* p : plugin.getParameters())
        if (p->getName (100) == name)
            return p;
    return nullptr;
}

struct HostedPluginTest : ::testing::TestWithParam<const char*>
{
    std::unique_ptr<juce::AudioPluginInstance> load()
    {
        const auto description = juce::String (GetParam()) == "VST3" ? findVst3() : findLv2();
        if (description == nullptr)
            return nullptr;
        EXPECT_EQ (description->name, "Corvane");
        EXPECT_FALSE (description->isInstrument);

        juce::AudioPluginFormatManager manager;
        manager.addDefaultFormats();
        juce::String error;
        auto plugin = manager.createPluginInstance (*description, sampleRate, blockSize, error);
        EXPECT_TRUE (error.isEmpty()) << error;
        return plugin;
    }
};
} // namespace

TEST_P (HostedPluginTest, FindsStereoBusesAndAllParameters)
{
    auto plugin = load();
    ASSERT_NE (plugin, nullptr) << "plug-in not found";
    EXPECT_EQ (plugin->getMainBusNumInputChannels(), 2);
    EXPECT_EQ (plugin->getMainBusNumOutputChannels(), 2);
    EXPECT_EQ (plugin->getParameters().size(), 42);
    for (const auto* name : { "Bypass", "Width", "Widener Mode", "Low Mono Frequency", "Output Trim",
                              "Resonance Suppress", "Harshness High", "outputTrim Manual Override",
                              "harshnessHighHz Manual Override" })
        EXPECT_NE (parameterNamed (*plugin, name), nullptr) << name;
    EXPECT_NEAR (parameterNamed (*plugin, "Width")->getValue(), 0.5f, 1e-6f);
}

TEST_P (HostedPluginTest, BypassedPluginReturnsItsInputBitExact)
{
    auto plugin = load();
    ASSERT_NE (plugin, nullptr);
    plugin->prepareToPlay (sampleRate, blockSize); // the LV2 host rebuilds the instance here
    auto* bypass = parameterNamed (*plugin, "Bypass");
    ASSERT_NE (bypass, nullptr);
    bypass->setValueNotifyingHost (1.0f);

    juce::Random random (99);
    juce::MidiBuffer midi;
    for (int block = 0; block < 8; ++block)
    {
        juce::AudioBuffer<float> buffer (2, blockSize);
        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < blockSize; ++i)
                buffer.setSample (ch, i, random.nextFloat() * 2.0f - 1.0f);
        const auto input = buffer;
        plugin->processBlock (buffer, midi);
        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < blockSize; ++i)
                ASSERT_EQ (buffer.getSample (ch, i), input.getSample (ch, i)) << "block " << block << " ch " << ch << " i " << i;
    }
    plugin->releaseResources();
}

TEST_P (HostedPluginTest, RestoresASavedState)
{
    auto plugin = load();
    ASSERT_NE (plugin, nullptr);
    plugin->prepareToPlay (sampleRate, blockSize);
    auto* width = parameterNamed (*plugin, "Width");
    auto* quality = parameterNamed (*plugin, "Quality");
    ASSERT_NE (width, nullptr);
    ASSERT_NE (quality, nullptr);

    width->setValueNotifyingHost (0.8f);
    quality->setValueNotifyingHost (1.0f);
    juce::MemoryBlock saved;
    plugin->getStateInformation (saved);

    width->setValueNotifyingHost (0.1f);
    quality->setValueNotifyingHost (0.0f);
    plugin->setStateInformation (saved.getData(), (int) saved.getSize());
    EXPECT_NEAR (width->getValue(), 0.8f, 1e-6f);
    EXPECT_NEAR (quality->getValue(), 1.0f, 1e-6f);
    plugin->releaseResources();
}

INSTANTIATE_TEST_SUITE_P (Formats, HostedPluginTest, ::testing::Values ("VST3", "LV2"));
