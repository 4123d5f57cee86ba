#include "tools/render/RenderOptions.h"

#include "processor/NumberText.h"

#include <cmath>

namespace
{
// The largest processBlock size the tool accepts; far beyond any host's.
constexpr int maxBlockSize = 1 << 16;

RenderFailure usageFailure (const juce::String& message) { return { RenderFailure::usageError, message }; }
} // namespace

juce::String RenderCommandLine::usage()
{
    return "usage: corvane-render [--in IN] [--out OUT] [--set ID=VALUE]... [--state FILE] [--block N] "
           "[--raw] [--mono-bus] [--report]";
}

std::optional<RenderOptions> RenderCommandLine::parse (const juce::StringArray& arguments, RenderFailure& failure)
{
    RenderOptions options;
    for (int i = 0; i < arguments.size(); ++i)
    {
        const auto& argument = arguments[i];
        const auto takesValue = argument == "--in" || argument == "--out" || argument == "--set"
                                || argument == "--state" || argument == "--block";
        if (takesValue && i + 1 >= arguments.size())
        {
            failure = usageFailure (argument + " needs a value");
            return std::nullopt;
        }

        if (argument == "--in")
            options.inputFile = juce::File::getCurrentWorkingDirectory().getChildFile (arguments[++i]);
        else if (argument == "--out")
            options.outputFile = juce::File::getCurrentWorkingDirectory().getChildFile (arguments[++i]);
        else if (argument == "--state")
            options.stateFile = juce::File::getCurrentWorkingDirectory().getChildFile (arguments[++i]);
        else if (argument == "--set")
        {
            if (! parseParameterValue (arguments[++i], options, failure))
                return std::nullopt;
        }
        else if (argument == "--block")
        {
            if (! parseBlockSize (arguments[++i], options, failure))
                return std::nullopt;
        }
        else if (argument == "--raw")
            options.raw = true;
        else if (argument == "--mono-bus")
            options.monoBus = true;
        else if (argument == "--report")
            options.report = true;
        else
        {
            failure = usageFailure ("unknown argument '" + argument + "'");
            return std::nullopt;
        }
    }
    return options;
}

bool RenderCommandLine::parseParameterValue (const juce::String& assignment, RenderOptions& options, RenderFailure& failure)
{
    const auto id = assignment.upToFirstOccurrenceOf ("=", false, false).trim();
    const auto valueText = assignment.fromFirstOccurrenceOf ("=", false, false);
    if (! assignment.contains ("=") || id.isEmpty())
    {
        failure = usageFailure ("--set expects ID=VALUE, got '" + assignment + "'");
        return false;
    }
    const auto value = NumberText::parseFinite (valueText);
    if (! value)
    {
        failure = usageFailure ("malformed value '" + valueText + "' for parameter '" + id + "'");
        return false;
    }
    options.parameterValues.emplace_back (id, (float) *value);
    return true;
}

bool RenderCommandLine::parseBlockSize (const juce::String& text, RenderOptions& options, RenderFailure& failure)
{
    const auto value = NumberText::parseFinite (text);
    if (! value || *value != std::floor (*value) || *value < 1.0 || *value > maxBlockSize)
    {
        failure = usageFailure ("--block expects a whole number from 1 to " + juce::String (maxBlockSize) + ", got '" + text + "'");
        return false;
    }
    options.blockSize = (int) *value;
    return true;
}
