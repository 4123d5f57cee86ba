#include "tools/render/RenderJob.h"

#include "processor/SavedStateReader.h"
#include "tools/render/DemoPhrase.h"

#include <juce_audio_formats/juce_audio_formats.h>

namespace
{
constexpr double demoSampleRate = 48000.0;
constexpr int outputBitsPerSample = 32; // written as IEEE float

RenderFailure ioFailure (const juce::String& message) { return { RenderFailure::ioError, message }; }
RenderFailure usageFailure (const juce::String& message) { return { RenderFailure::usageError, message }; }

RenderFailure cannotWrite (const juce::File& target, const juce::String& why)
{
    return ioFailure ("cannot write output '" + target.getFullPathName() + "': " + why);
}
} // namespace

RenderJob::RenderJob (RenderOptions optionsToUse) : options (std::move (optionsToUse)) {}

std::optional<RenderFailure> RenderJob::load()
{
    if (auto failure = checkOutputTarget())
        return failure;
    if (auto failure = loadInput())
        return failure;
    return applyParameters();
}

std::optional<RenderFailure> RenderJob::checkOutputTarget() const
{
    const auto& target = options.outputFile;
    if (target == juce::File())
        return std::nullopt;
    if (target.isDirectory())
        return cannotWrite (target, "it is a folder");
    if (! target.getParentDirectory().isDirectory())
        return cannotWrite (target, "its folder does not exist");
    return std::nullopt;
}

std::optional<RenderFailure> RenderJob::render (const OfflineRenderer::Progress& progress)
{
    const auto result = OfflineRenderer::render (*processor, input, sampleRate, options.blockSize, options.monoBus, ! options.raw, progress);

    // The measurements compare signals that line up, so a raw render is shifted by its latency first.
    juce::AudioBuffer<float> aligned (2, input.getNumSamples());
    aligned.clear();
    const auto shift = options.raw ? result.latencySamples : 0;
    for (int ch = 0; ch < 2; ++ch)
        if (input.getNumSamples() > shift)
            aligned.copyFrom (ch, 0, result.output, ch, shift, input.getNumSamples() - shift);

    report = RenderReport::measure (input, aligned);
    report.latencySamples = result.latencySamples;
    report.largestReductionDb = result.largestReductionDb;
    report.speedTimesRealTime = result.processingSeconds > 0.0 ? inputSeconds / result.processingSeconds : 0.0;

    if (options.outputFile != juce::File())
        return writeOutput (result.output);
    return std::nullopt;
}

std::optional<RenderFailure> RenderJob::loadInput()
{
    if (options.inputFile == juce::File())
    {
        sampleRate = demoSampleRate;
        input = DemoPhrase::render (sampleRate);
    }
    else
    {
        if (! options.inputFile.existsAsFile())
            return ioFailure ("cannot read input '" + options.inputFile.getFullPathName() + "': no such file");

        juce::AudioFormatManager formats;
        formats.registerBasicFormats();
        std::unique_ptr<juce::AudioFormatReader> reader (formats.createReaderFor (options.inputFile));
        if (reader == nullptr || reader->sampleRate <= 0.0)
            return ioFailure ("cannot read input '" + options.inputFile.getFullPathName() + "': not a readable WAV file");
        if (reader->numChannels < 1 || reader->numChannels > 2)
            return usageFailure ("input '" + options.inputFile.getFileName() + "' has " + juce::String (reader->numChannels)
                                 + " channels; only mono and stereo are supported");
        if (reader->lengthInSamples > std::numeric_limits<int>::max() / 2)
            return ioFailure ("input '" + options.inputFile.getFileName() + "' is too long");

        sampleRate = reader->sampleRate;
        input.setSize ((int) reader->numChannels, (int) reader->lengthInSamples);
        if (! reader->read (&input, 0, input.getNumSamples(), 0, true, true))
            return ioFailure ("cannot read input '" + options.inputFile.getFullPathName() + "': the file is damaged");
    }

    if (options.monoBus && input.getNumChannels() != 1)
        return usageFailure ("--mono-bus needs a mono input, but '" + options.inputFile.getFileName() + "' is stereo");

    inputSeconds = input.getNumSamples() / sampleRate;
    return std::nullopt;
}

std::optional<RenderFailure> RenderJob::applyParameters()
{
    if (options.stateFile != juce::File())
    {
        juce::MemoryBlock blob;
        if (! options.stateFile.loadFileAsData (blob))
            return ioFailure ("cannot read state file '" + options.stateFile.getFullPathName() + "'");
        if (! SavedStateReader::read (blob.getData(), (int) blob.getSize(), processor->parameters).isValid())
            return ioFailure ("state file '" + options.stateFile.getFullPathName() + "' is not a saved Corvane state");
        processor->setStateInformation (blob.getData(), (int) blob.getSize());
    }

    // Values go through the parameter, so they are clamped and snapped exactly like host automation.
    for (const auto& [id, value] : options.parameterValues)
    {
        if (! processor->setParameterRawValue (id, value))
            return usageFailure ("unknown parameter '" + id + "'");
    }
    return std::nullopt;
}

std::optional<RenderFailure> RenderJob::writeOutput (const juce::AudioBuffer<float>& output) const
{
    const auto& target = options.outputFile;
    // Written next to the target and renamed over it at the end: a partial file never replaces a good one.
    juce::TemporaryFile temporary (target, juce::TemporaryFile::useHiddenFile);
    {
        auto stream = temporary.getFile().createOutputStream();
        if (stream == nullptr)
            return cannotWrite (target, "the folder is not writable");

        juce::WavAudioFormat wav;
        std::unique_ptr<juce::AudioFormatWriter> writer (
            wav.createWriterFor (stream.get(), sampleRate, 2, outputBitsPerSample, {}, 0));
        if (writer == nullptr)
            return cannotWrite (target, "the WAV writer refused the format");
        stream.release(); // the writer owns the stream now

        if (! writer->writeFromAudioSampleBuffer (output, 0, output.getNumSamples()) || ! writer->flush())
            return cannotWrite (target, "the disk refused the data");
    }

    if (! temporary.overwriteTargetFileWithTemporary())
        return cannotWrite (target, "could not replace the file");
    return std::nullopt;
}
