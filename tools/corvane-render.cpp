#include "tools/render/RenderJob.h"

#include <iostream>
#include <unistd.h>

namespace
{
// Long renders show a progress bar, but only to a person watching a terminal.
constexpr double progressBarMinimumSeconds = 20.0;

OfflineRenderer::Progress progressBar (double inputSeconds)
{
    if (! isatty (STDERR_FILENO) || inputSeconds < progressBarMinimumSeconds)
        return {};

    return [lastShown = -1] (double fraction) mutable
    {
        const auto percent = (int) (fraction * 100.0);
        if (percent == lastShown)
            return;
        lastShown = percent;
        const auto filled = percent / 2;
        std::cerr << "\r[" << std::string ((size_t) filled, '#') << std::string ((size_t) (50 - filled), ' ') << "] "
                  << percent << "%" << (percent >= 100 ? "\n" : "") << std::flush;
    };
}
} // namespace

int main (int argc, char* argv[])
{
    juce::ScopedJuceInitialiser_GUI juce;

    juce::StringArray arguments;
    for (int i = 1; i < argc; ++i)
        arguments.add (juce::String::fromUTF8 (argv[i]));

    RenderFailure failure;
    const auto options = RenderCommandLine::parse (arguments, failure);
    if (! options)
    {
        std::cerr << "corvane-render: " << failure.message << "\n" << RenderCommandLine::usage() << std::endl;
        return failure.exitCode;
    }

    RenderJob job (*options);
    auto jobFailure = job.load();
    if (! jobFailure)
        jobFailure = job.render (progressBar (job.getInputSeconds()));
    if (jobFailure)
    {
        std::cerr << "corvane-render: " << jobFailure->message << std::endl;
        return jobFailure->exitCode;
    }

    if (options->report)
        std::cout << job.getReport().toJson() << std::endl;
    return 0;
}
