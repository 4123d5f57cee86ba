#include "processor/SavedStateReader.h"

#include <cmath>

namespace
{
// The framework's binary XML wrapper: "VC2!" read as a little-endian integer.
constexpr juce::uint32 binaryXmlMagic = 0x21324356;
constexpr int headerBytes = 8;
} // namespace

std::unique_ptr<juce::XmlElement> SavedStateReader::read (const void* data, int sizeInBytes)
{
    const auto text = extractText (data, sizeInBytes);
    if (text.isEmpty() || nestsTooDeeply (text))
        return nullptr;

    auto xml = juce::XmlDocument::parse (text);
    if (xml != nullptr)
        dropNonFiniteValues (*xml);
    return xml;
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

bool SavedStateReader::isFiniteNumber (const juce::String& text)
{
    // The framework's own number reader, which is what turns the text into the parameter value
    // and, unlike strtod, does not depend on the C locale.
    const auto trimmed = text.trim();
    if (trimmed.isEmpty())
        return false;

    auto p = trimmed.getCharPointer();
    const auto value = juce::CharacterFunctions::readDoubleValue (p);
    return p.isEmpty() && std::isfinite (value);
}

void SavedStateReader::dropNonFiniteValues (juce::XmlElement& root)
{
    // Dropping the whole entry leaves that parameter at its current value when the state is installed.
    juce::Array<juce::XmlElement*> rejected;
    for (auto* child : root.getChildIterator())
        if (child->hasAttribute ("value") && ! isFiniteNumber (child->getStringAttribute ("value")))
            rejected.add (child);

    for (auto* child : rejected)
        root.removeChildElement (child, true);
}
