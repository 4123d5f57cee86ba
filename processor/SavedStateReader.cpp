#include "processor/SavedStateReader.h"

#include "processor/NumberText.h"

namespace
{
// The framework's binary XML wrapper: "VC2!" read as a little-endian integer.
constexpr juce::uint32 binaryXmlMagic = 0x21324356;
constexpr int headerBytes = 8;
const juce::Identifier entryType ("PARAM");
const juce::Identifier idAttribute ("id");
const juce::Identifier valueAttribute ("value");
} // namespace

juce::ValueTree SavedStateReader::read (const void* data, int sizeInBytes, const juce::AudioProcessorValueTreeState& parameters)
{
    const auto text = extractText (data, sizeInBytes);
    if (text.isEmpty() || nestsTooDeeply (text))
        return {};

    const auto xml = juce::XmlDocument::parse (text);
    if (xml == nullptr || ! xml->hasTagName (parameters.state.getType().toString()))
        return {};

    return toParameterTree (*xml, parameters);
}

juce::String SavedStateReader::extractText (const void* data, int sizeInBytes)
{
    if (data == nullptr || sizeInBytes <= headerBytes)
        return {};

    const auto* bytes = static_cast<const char*> (data);
    if (juce::ByteOrder::littleEndianInt (bytes) != binaryXmlMagic)
        return {};

    const auto storedLength = (int) juce::ByteOrder::littleEndianInt (bytes + 4);
    if (storedLength <= 0)
        return {};

    // A length beyond the data present is cut to what is there.
    const auto length = juce::jmin (storedLength, sizeInBytes - headerBytes);
    return juce::String::fromUTF8 (bytes + headerBytes, length);
}

bool SavedStateReader::nestsTooDeeply (const juce::String& xmlText)
{
    // A conservative scan: every "<name" opens, every "</" and "/>" closes. Declarations, comments
    // and CDATA never open an element, so this can only overestimate the depth, never miss it.
    int depth = 0;
    for (auto p = xmlText.getCharPointer(); ! p.isEmpty(); ++p)
    {
        const auto c = *p;
        const auto next = *(p + 1);
        if (c == '<' && next != '/' && next != '?' && next != '!')
        {
            if (++depth > maxNestingDepth)
                return true;
        }
        else if ((c == '<' && next == '/') || (c == '/' && next == '>'))
        {
            depth = juce::jmax (0, depth - 1);
        }
    }
    return false;
}

juce::ValueTree SavedStateReader::toParameterTree (const juce::XmlElement& root, const juce::AudioProcessorValueTreeState& parameters)
{
    const auto currentValue = [&parameters] (const juce::String& id) { return juce::var (parameters.getRawParameterValue (id)->load()); };

    // Stored entries keep their order, so that restoring and saving again gives back the same bytes.
    // When an ID appears twice the later entry wins, as it would when installed as it stands.
    juce::ValueTree tree (parameters.state.getType());
    juce::StringArray restoredIds;
    for (const auto* stored : root.getChildIterator())
    {
        const auto id = stored->getStringAttribute (idAttribute);
        if (parameters.getParameter (id) == nullptr || isStoredAgainLater (*stored, id))
            continue;

        juce::ValueTree entry (entryType);
        entry.setProperty (idAttribute, id, nullptr);
        if (stored->hasAttribute (valueAttribute))
        {
            const auto text = stored->getStringAttribute (valueAttribute);
            entry.setProperty (valueAttribute, NumberText::parseFinite (text).has_value() ? juce::var (text) : currentValue (id), nullptr);
        }
        tree.appendChild (entry, nullptr);
        restoredIds.add (id);
    }

    // Parameters the blob does not mention keep their values, appended in the parameter state's own
    // (alphabetical) order.
    juce::StringArray missingIds;
    for (const auto* parameter : parameters.processor.getParameters())
        if (const auto* ranged = dynamic_cast<const juce::RangedAudioParameter*> (parameter))
            if (! restoredIds.contains (ranged->paramID))
                missingIds.add (ranged->paramID);
    missingIds.sort (false);

    for (const auto& id : missingIds)
        tree.appendChild (juce::ValueTree (entryType, { { idAttribute, id }, { valueAttribute, currentValue (id) } }), nullptr);
    return tree;
}

bool SavedStateReader::isStoredAgainLater (const juce::XmlElement& stored, const juce::String& parameterId)
{
    for (const auto* later = stored.getNextElement(); later != nullptr; later = later->getNextElement())
        if (later->getStringAttribute (idAttribute) == parameterId)
            return true;
    return false;
}
