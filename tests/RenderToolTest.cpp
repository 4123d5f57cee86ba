#include "tools/render/OfflineRenderer.h"

#include <gtest/gtest.h>
#include <juce_audio_formats/juce_audio_formats.h>

// Runs the built corvane-render program as a user would and checks its files and exit codes.
namespace
{
struct Run
{
    int exitCode = -1;
    juce::String output;
};

Run runTool (const juce::StringArray& arguments)
{
    juce::ChildProcess process;
    juce::StringArray command { CORVANE_RENDER_PATH };
    command.addArray (arguments);
    if (! process.start (command))
        return {};
    Run run;
    run.output = process.readAllProcessOutput();
    process.waitForProcessToFinish (60000);
    run.exitCode = (int) process.getExitCode();
    return run;
}

void writeWav (const juce::File& file, const juce::AudioBuffer<float>& buffer, double sampleRate)
{
    file.deleteFile();
    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatWriter> writer (
        wav.createWriterFor (file.createOutputStream().release(), sampleRate, (unsigned int) buffer.getNumChannels(), 32, {}, 0));
    ASSERT_NE (writer, nullptr);
    writer->writeFromAudioSampleBuffer (buffer, 0, buffer.getNumSamples());
}

juce::AudioBuffer<float> readWav (const juce::File& file, double* sampleRate = nullptr)
{
    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatReader> reader (wav.createReaderFor (file.createInputStream().release(), true));
    if (reader == nullptr)
        return {};
    juce::AudioBuffer<float> buffer ((int) reader->numChannels, (int) reader->lengthInSamples);
    reader->read (&buffer, 0, buffer.getNumSamples(), 0, true, true);
    if (sampleRate != nullptr)
        *sampleRate = reader->sampleRate;
    return buffer;
}

juce::AudioBuffer<float> noiseAndTone (int numChannels, int length)
{
    juce::Random random (3);
    juce::AudioBuffer<float> buffer (numChannels, length);
    for (int ch = 0; ch < numChannels; ++ch)
        for (int i = 0; i < length; ++i)
            buffer.setSample (ch, i, 0.4f * (float) std::sin (0.33 * i + ch) + 0.1f * (random.nextFloat() - 0.5f));
    return buffer;
}

struct RenderToolTest : ::testing::Test
{
    juce::TemporaryFile folderName;
    juce::File folder = folderName.getFile();

    void SetUp() override { ASSERT_TRUE (folder.createDirectory()); }
    void TearDown() override { folder.deleteRecursively(); }
};
} // namespace

// --raw writes exactly what successive processBlock calls produce for the same settings.
TEST_F (RenderToolTest, RawOutputEqualsDrivingTheProcessorDirectly)
{
    const auto input = noiseAndTone (2, 20000);
    const auto in = folder.getChildFile ("in.wav"), out = folder.getChildFile ("out.wav");
    writeWav (in, input, 44100.0);

    const juce::StringArray settings { "--set", "width=0.8", "--set", "widenerMode=1", "--set", "resonanceAmount=0.6",
                                       "--set", "harshnessAmount=0.3", "--set", "quality=1" };
    auto arguments = juce::StringArray { "--in", in.getFullPathName(), "--out", out.getFullPathName(), "--raw", "--block", "300" };
    arguments.addArray (settings);
    ASSERT_EQ (runTool (arguments).exitCode, 0);

    CorvaneAudioProcessor processor;
    for (int i = 1; i < settings.size(); i += 2)
        processor.setParameterRawValue (settings[i].upToFirstOccurrenceOf ("=", false, false),
                                        settings[i].fromFirstOccurrenceOf ("=", false, false).getFloatValue());
    const auto expected = OfflineRenderer::render (processor, input, 44100.0, 300, false, false).output;

    double rate = 0.0;
    const auto written = readWav (out, &rate);
    EXPECT_EQ (rate, 44100.0);
    ASSERT_EQ (written.getNumChannels(), 2);
    ASSERT_EQ (written.getNumSamples(), input.getNumSamples());
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < input.getNumSamples(); ++i)
            ASSERT_EQ (written.getSample (ch, i), expected.getSample (ch, i)) << ch << " " << i;
}

// The default output is shifted back by the latency, with the tail flushed through: sample i of
// the compensated render is sample i + latency of the raw one.
TEST_F (RenderToolTest, CompensatedOutputIsAlignedWithTheInput)
{
    const auto input = noiseAndTone (1, 10000);
    const auto in = folder.getChildFile ("mono.wav"), raw = folder.getChildFile ("raw.wav"), aligned = folder.getChildFile ("aligned.wav");
    writeWav (in, input, 48000.0);

    for (const auto& [file, extra] : { std::pair { raw, juce::String ("--raw") }, std::pair { aligned, juce::String ("--report") } })
    {
        const auto run = runTool ({ "--in", in.getFullPathName(), "--out", file.getFullPathName(), "--mono-bus",
                                    "--set", "resonanceAmount=0.5", extra });
        ASSERT_EQ (run.exitCode, 0) << run.output;
        if (extra == "--report")
        {
            const auto report = juce::JSON::parse (run.output);
            EXPECT_EQ ((int) report["latencySamples"], 1024);
            EXPECT_TRUE ((double) report["speedTimesRealTime"] > 0.0);
            EXPECT_NEAR ((double) report["correlation"], 1.0, 0.05); // a mono source stays nearly mono at the default width
        }
    }

    const auto rawOut = readWav (raw), alignedOut = readWav (aligned);
    ASSERT_EQ (alignedOut.getNumSamples(), input.getNumSamples());
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i + 1024 < input.getNumSamples(); ++i)
            ASSERT_EQ (alignedOut.getSample (ch, i), rawOut.getSample (ch, i + 1024)) << ch << " " << i;
    EXPECT_GT (alignedOut.getRMSLevel (0, input.getNumSamples() - 1024, 1024), 0.05f); // the flushed tail
}

// Every error names the problem on one line, exits 2 for usage and 1 for I/O, and leaves an
// existing output file exactly as it was, with no temporary file behind.
TEST_F (RenderToolTest, ErrorsExitCleanlyAndWriteNothing)
{
    const auto stereo = folder.getChildFile ("stereo.wav"), mono = folder.getChildFile ("mono.wav");
    const auto quad = folder.getChildFile ("quad.wav"), junk = folder.getChildFile ("junk.wav");
    const auto out = folder.getChildFile ("existing.wav");
    writeWav (stereo, noiseAndTone (2, 1000), 48000.0);
    writeWav (mono, noiseAndTone (1, 1000), 48000.0);
    writeWav (quad, noiseAndTone (4, 1000), 48000.0);
    junk.replaceWithText ("not audio");
    ASSERT_TRUE (out.replaceWithText ("keep me"));

    struct Case { juce::StringArray arguments; int exitCode; const char* mentions; };
    const auto o = out.getFullPathName();
    const Case cases[] = {
        { { "--set", "noSuchParameter=1", "--out", o }, 2, "noSuchParameter" },
        { { "--set", "width=wide", "--out", o }, 2, "wide" },
        { { "--set", "width=nan", "--out", o }, 2, "nan" },
        { { "--set", "width", "--out", o }, 2, "ID=VALUE" },
        { { "--block", "0", "--out", o }, 2, "--block" },
        { { "--frobnicate", "--out", o }, 2, "--frobnicate" },
        { { "--out" }, 2, "--out" },
        { { "--in", folder.getChildFile ("missing.wav").getFullPathName(), "--out", o }, 1, "missing.wav" },
        { { "--in", junk.getFullPathName(), "--out", o }, 1, "junk.wav" },
        { { "--in", quad.getFullPathName(), "--out", o }, 2, "4 channels" },
        { { "--in", stereo.getFullPathName(), "--mono-bus", "--out", o }, 2, "--mono-bus" },
        { { "--state", junk.getFullPathName(), "--out", o }, 1, "junk.wav" },
        { { "--in", mono.getFullPathName(), "--out", folder.getChildFile ("no/such/folder.wav").getFullPathName() }, 1, "folder.wav" },
        { { "--in", mono.getFullPathName(), "--out", folder.getFullPathName() }, 1, "folder" },
    };
    for (const auto& c : cases)
    {
        const auto run = runTool (c.arguments);
        EXPECT_EQ (run.exitCode, c.exitCode) << c.arguments.joinIntoString (" ");
        EXPECT_TRUE (run.output.contains (c.mentions)) << run.output;
        EXPECT_EQ (out.loadFileAsString(), "keep me") << c.arguments.joinIntoString (" ");
    }
    EXPECT_EQ (folder.getNumberOfChildFiles (juce::File::findFilesAndDirectories | juce::File::ignoreHiddenFiles, "*"), 5);
    EXPECT_EQ (folder.getNumberOfChildFiles (juce::File::findFilesAndDirectories, ".*"), 0);
}

// A saved state and --set values are applied before playback starts, clamped like automation.
TEST_F (RenderToolTest, StateAndSetValuesAreApplied)
{
    CorvaneAudioProcessor source;
    source.parameters.getParameter ("width")->setValueNotifyingHost (0.0f);
    juce::MemoryBlock state;
    source.getStateInformation (state);
    const auto stateFile = folder.getChildFile ("narrow.state");
    ASSERT_TRUE (stateFile.replaceWithData (state.getData(), state.getSize()));

    // Width 0 from the state leaves the demo untouched; --set after it widens again.
    const auto narrow = juce::JSON::parse (runTool ({ "--state", stateFile.getFullPathName(), "--report" }).output);
    EXPECT_NEAR ((double) narrow["monoFoldDownDeviationDb"], 0.0, 1e-3);
    EXPECT_TRUE (narrow["sideToMidDb"].isVoid() || (double) narrow["sideToMidDb"] < -100.0);

    const auto wide = juce::JSON::parse (runTool ({ "--state", stateFile.getFullPathName(), "--set", "width=7", "--set", "widenerMode=1", "--report" }).output);
    EXPECT_GT ((double) wide["sideToMidDb"], -30.0);
}
