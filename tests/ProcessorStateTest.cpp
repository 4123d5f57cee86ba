#include "processor/PluginProcessor.h"

#include <gtest/gtest.h>

#include <optional>

namespace
{
juce::MemoryBlock stateOf (CorvaneAudioProcessor& processor)
{
    juce::MemoryBlock block;
    processor.getStateInformation (block);
    return block;
}

// Wraps XML text in the binary header exactly as the framework writes it.
juce::MemoryBlock blobFromXmlText (const juce::String& xml, std::optional<int> storedLength = {})
{
    const auto utf8 = xml.toStdString();
    juce::MemoryOutputStream out;
    out.writeInt (0x21324356);
    out.writeInt (storedLength.value_or ((int) utf8.size()));
    out.write (utf8.data(), utf8.size());
    out.writeByte (0);
    return out.getMemoryBlock();
}

juce::String paramXml (const juce::String& id, const juce::String& value)
{
    return "<PARAM id=\"" + id + "\" value=\"" + value + "\"/>";
}

float raw (CorvaneAudioProcessor& p, const char* id) { return p.parameters.getRawParameterValue (id)->load(); }

void randomiseAll (CorvaneAudioProcessor& p, juce::Random& random)
{
    for (auto* parameter : p.getParameters())
        parameter->setValueNotifyingHost (random.nextFloat());
}

// Every parameter holds a finite value inside its own range.
void expectSane (CorvaneAudioProcessor& p)
{
    for (auto* parameter : p.parameters.processor.getParameters())
    {
        auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (parameter);
        const auto value = p.parameters.getRawParameterValue (ranged->paramID)->load();
        ASSERT_TRUE (std::isfinite (value)) << ranged->paramID;
        ASSERT_GE (value, ranged->getNormalisableRange().start) << ranged->paramID;
        ASSERT_LE (value, ranged->getNormalisableRange().end) << ranged->paramID;
    }
}
} // namespace

TEST (ProcessorStateTest, FreshBlobHasTheFrameworkLayoutAndEveryDefault)
{
    CorvaneAudioProcessor processor;
    const auto blob = stateOf (processor);
    const auto* bytes = static_cast<const char*> (blob.getData());
    ASSERT_GT (blob.getSize(), 9u);
    EXPECT_EQ (juce::String (bytes, 4), "VC2!");
    EXPECT_EQ ((size_t) juce::ByteOrder::littleEndianInt (bytes + 4), blob.getSize() - 9);
    EXPECT_EQ (bytes[blob.getSize() - 1], 0);

    const auto text = juce::String::fromUTF8 (bytes + 8, (int) blob.getSize() - 9);
    EXPECT_TRUE (text.startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>")) << text.substring (0, 80);
    EXPECT_FALSE (text.containsAnyOf ("\r\n"));

    const auto xml = juce::parseXML (text);
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getNumAttributes(), 0);
    ASSERT_EQ (xml->getNumChildElements(), 42);
    for (auto* param : processor.getParameters())
    {
        auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (param);
        auto* child = xml->getChildByAttribute ("id", ranged->paramID);
        ASSERT_NE (child, nullptr) << ranged->paramID;
        EXPECT_EQ (child->getTagName(), "PARAM");
        EXPECT_FLOAT_EQ ((float) child->getDoubleAttribute ("value"), ranged->convertFrom0to1 (ranged->getDefaultValue()));
    }
}

TEST (ProcessorStateTest, SaveChangeRestoreBringsBackEveryValueByteExact)
{
    juce::Random random (42);
    CorvaneAudioProcessor processor;
    randomiseAll (processor, random);
    const auto saved = stateOf (processor);

    randomiseAll (processor, random);
    processor.setStateInformation (saved.getData(), (int) saved.getSize());
    EXPECT_EQ (stateOf (processor), saved);


    CorvaneAudioProcessor other;
    other.setStateInformation (saved.getData(), (int) saved.getSize());
    EXPECT_EQ (stateOf (other), saved);
}

TEST (ProcessorStateTest, RootTagIsMatchedIgnoringCase)
{
    CorvaneAudioProcessor processor;
    const auto lower = blobFromXmlText ("<parameters>" + paramXml ("width", "0.9") + "</parameters>");
    processor.setStateInformation (lower.getData(), (int) lower.getSize());
    EXPECT_FLOAT_EQ (raw (processor, "width"), 0.9f);

    const auto other = blobFromXmlText ("<SETTINGS>" + paramXml ("width", "0.1") + "</SETTINGS>");
    processor.setStateInformation (other.getData(), (int) other.getSize());
    EXPECT_FLOAT_EQ (raw (processor, "width"), 0.9f);
}

// Missing entries keep their values, unknown IDs do nothing, out-of-range values clamp, and a value
// that is not a finite number is treated like a missing entry.
TEST (ProcessorStateTest, PartialUnknownOutOfRangeAndNonFiniteValues)
{
    CorvaneAudioProcessor processor;
    processor.setParameterRawValue ("depth", 0.8f);
    processor.setParameterRawValue ("motion", 0.9f);
    processor.setParameterRawValue ("monoSafety", 0.1f);

    juce::String body;
    body << paramXml ("width", "0.25") << paramXml ("noSuchParameter", "3") << paramXml ("lowMono", "5000")
         << paramXml ("outputTrim", "-99") << paramXml ("depth", "nan") << paramXml ("motion", "inf")
         << paramXml ("monoSafety", "garbage") << paramXml ("bodyWidth", "1e999") << paramXml ("presenceWidth", "")
         << paramXml ("transientProtect", "-inf");
    const auto blob = blobFromXmlText ("<PARAMETERS>" + body + "</PARAMETERS>");
    processor.setStateInformation (blob.getData(), (int) blob.getSize());

    EXPECT_FLOAT_EQ (raw (processor, "width"), 0.25f);
    EXPECT_FLOAT_EQ (raw (processor, "lowMono"), 600.0f);
    EXPECT_FLOAT_EQ (raw (processor, "outputTrim"), -18.0f);
    EXPECT_FLOAT_EQ (raw (processor, "depth"), 0.8f);
    EXPECT_FLOAT_EQ (raw (processor, "motion"), 0.9f);
    EXPECT_FLOAT_EQ (raw (processor, "monoSafety"), 0.1f);
    EXPECT_FLOAT_EQ (raw (processor, "bodyWidth"), 0.5f);
    EXPECT_FLOAT_EQ (raw (processor, "presenceWidth"), 0.7f);
    EXPECT_FLOAT_EQ (raw (processor, "transientProtect"), 0.6f);
    expectSane (processor);

    // A restored state with missing entries still saves all 42.
    const auto resaved = juce::AudioProcessor::getXmlFromBinary (stateOf (processor).getData(), (int) stateOf (processor).getSize());
    ASSERT_NE (resaved, nullptr);
    EXPECT_EQ (resaved->getNumChildElements(), 42);
}

TEST (ProcessorStateTest, MalformedBlobsChangeNothing)
{
    CorvaneAudioProcessor processor;
    processor.setParameterRawValue ("width", 0.33f);
    const auto before = stateOf (processor);
    const auto good = blobFromXmlText ("<PARAMETERS>" + paramXml ("width", "0.9") + "</PARAMETERS>");

    auto withMagic = [&] (juce::uint32 magic) { auto b = good; *static_cast<juce::uint32*> (b.getData()) = juce::ByteOrder::swapIfBigEndian (magic); return b; };
    const auto deep = juce::String::repeatedString ("<a>", 200000);

    const std::vector<juce::MemoryBlock> blobs {
        {},
        juce::MemoryBlock (good.getData(), 8),
        withMagic (0x12345678),
        blobFromXmlText ("<PARAMETERS>" + paramXml ("width", "0.9") + "</PARAMETERS>", 0),
        blobFromXmlText ("<PARAMETERS>" + paramXml ("width", "0.9") + "</PARAMETERS>", -5),
        blobFromXmlText ("<PARAMETERS><PARAM id=\"width\" value=\"0.9\"</PARAMETERS>"),
        blobFromXmlText ("not xml at all"),
        blobFromXmlText ("<PARAMETERS>" + deep),
        blobFromXmlText ("<PARAMETERS>" + deep + paramXml ("width", "0.9") + "</PARAMETERS>"),
    };
    for (size_t i = 0; i < blobs.size(); ++i)
    {
        processor.setStateInformation (blobs[i].getData(), (int) blobs[i].getSize());
        EXPECT_EQ (stateOf (processor), before) << "blob " << i;
    }
    processor.setStateInformation (nullptr, 100);
    EXPECT_EQ (stateOf (processor), before);
}

TEST (ProcessorStateTest, StoredLengthBeyondTheDataIsCutToTheData)
{
    CorvaneAudioProcessor processor;
    const auto blob = blobFromXmlText ("<PARAMETERS>" + paramXml ("width", "0.9") + "</PARAMETERS>", 0x7fffffff);
    processor.setStateInformation (blob.getData(), (int) blob.getSize());
    EXPECT_FLOAT_EQ (raw (processor, "width"), 0.9f);
}

// Thousands of random and mutated blobs: every one leaves every parameter finite and in range, and
// the processor keeps saving and restoring.
TEST (ProcessorStateTest, RandomAndMutatedBlobsNeverCorruptTheState)
{
    juce::Random random (1234);
    CorvaneAudioProcessor source;
    randomiseAll (source, random);
    const auto valid = stateOf (source);

    CorvaneAudioProcessor processor;
    for (int round = 0; round < 3000; ++round)
    {
        juce::MemoryBlock blob = valid;
        auto* bytes = static_cast<juce::uint8*> (blob.getData());
        switch (round % 6)
        {
            case 0: blob.setSize ((size_t) random.nextInt ((int) valid.getSize())); break; // truncated
            case 1: for (int i = 0; i < 1 + random.nextInt (8); ++i) bytes[random.nextInt ((int) blob.getSize())] ^= (juce::uint8) (1 << random.nextInt (8)); break;
            case 2: bytes[8 + random.nextInt ((int) blob.getSize() - 9)] = (juce::uint8) random.nextInt (256); break;
            case 3: *reinterpret_cast<juce::int32*> (bytes + 4) = random.nextInt(); break;
            case 4: blob.setSize ((size_t) random.nextInt (64)); for (size_t i = 0; i < blob.getSize(); ++i) static_cast<juce::uint8*> (blob.getData())[i] = (juce::uint8) random.nextInt (256); break;
            default:
            {
                // Splice a random slice of the text elsewhere: broken nesting and attributes.
                auto text = juce::String::fromUTF8 ((const char*) bytes + 8, (int) valid.getSize() - 9);
                const auto from = random.nextInt (text.length()), len = random.nextInt (200);
                text = text.replaceSection (random.nextInt (text.length()), 0, text.substring (from, from + len));
                blob = blobFromXmlText (text);
                break;
            }
        }
        processor.setStateInformation (blob.getData(), (int) blob.getSize());
        expectSane (processor);
        if (HasFatalFailure())
            FAIL() << "round " << round;
    }

    processor.setStateInformation (valid.getData(), (int) valid.getSize());
    EXPECT_EQ (stateOf (processor), valid);
}
