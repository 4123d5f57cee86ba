#pragma once

#include "tools/render/OfflineRenderer.h"
#include "tools/render/RenderOptions.h"
#include "tools/render/RenderReport.h"

#include <optional>

/** One run of the render tool: read the input (or make the demo), restore the state and parameter
    values, render, measure, and write the output so that an existing file is only ever replaced by
    a complete one. */
class RenderJob
{
public:
    explicit RenderJob (RenderOptions optionsToUse);

    /** Reads the input and sets up the processor. Returns the failure that stops the job, if any. */
    std::optional<RenderFailure> load();

    /** Renders, measures and writes the output. Call after a successful load(). */
    std::optional<RenderFailure> render (const OfflineRenderer::Progress& progress = {});

    /** The measurements of the last successful run. */
    const RenderReport& getReport() const noexcept { return report; }

    /** Seconds of audio in the input, known once it is loaded. */
    double getInputSeconds() const noexcept { return inputSeconds; }

private:
    std::optional<RenderFailure> checkOutputTarget() const;
    std::optional<RenderFailure> loadInput();
    std::optional<RenderFailure> applyParameters();
    std::optional<RenderFailure> writeOutput (const juce::AudioBuffer<float>& output) const;

    RenderOptions options;
    std::unique_ptr<CorvaneAudioProcessor> processor = std::make_unique<CorvaneAudioProcessor>();
    juce::AudioBuffer<float> input;
    double sampleRate = 48000.0;
    double inputSeconds = 0.0;
    RenderReport report;
};
