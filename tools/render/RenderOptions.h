#pragma once

#include <juce_core/juce_core.h>

#include <optional>
#include <utility>
#include <vector>

/** Everything the command line of the render tool asks for. */
struct RenderOptions
{
    juce::File inputFile;  // empty: render the built-in demo phrase
    juce::File outputFile; // empty: write nothing
    juce::File stateFile;  // empty: keep the defaults
    std::vector<std::pair<juce::String, float>> parameterValues; // raw values by parameter ID, in order
    int blockSize = 512;
    bool raw = false;
    bool monoBus = false;
    bool report = false;
};

/** A failure that ends the tool: one line for the user and the exit code. */
struct RenderFailure
{
    static constexpr int usageError = 2;
    static constexpr int ioError = 1;

    int exitCode = usageError;
    juce::String message;
};

/** Reads the render tool's arguments. Knows nothing about the processor, so unknown parameter IDs
    are caught later, where the parameters are. */
class RenderCommandLine
{
public:
    /** The options, or the usage error that stops the tool. */
    static std::optional<RenderOptions> parse (const juce::StringArray& arguments, RenderFailure& failure);

    /** The one-paragraph usage text. */
    static juce::String usage();

private:
    static bool parseParameterValue (const juce::String& assignment, RenderOptions& options, RenderFailure& failure);
    static bool parseBlockSize (const juce::String& text, RenderOptions& options, RenderFailure& failure);
};
