#include "editor/PluginEditor.h"
#include "processor/ParameterIds.h"

#include <gtest/gtest.h>

#include <malloc.h>

namespace
{
using Editor = CorvaneAudioProcessorEditor;
using LookAndFeel = CorvaneLookAndFeel;

/** The children in the order the editor adds them. */
enum Child
{
    maker, version, bypass, title, subtitle, stage, widthCaption, widthValue, widthSlider, widthMin, widthMid, widthMax,
    modeCaption, modeBox, toneProtection, delta, quality, resonanceCaption, resonanceFader, resonanceOff,
    harshnessCaption, harshnessFader, harshnessOff, outputCaption, outputKnob, childCount
};

/** Counts the host gestures and value changes of one parameter. */
struct GestureCounter : juce::AudioProcessorListener
{
    explicit GestureCounter (int index) : parameterIndex (index) {}
    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value) override
    {
        if (index == parameterIndex)
            values.push_back (value);
    }
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}
    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index) override { begins += index == parameterIndex; }
    void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index) override { ends += index == parameterIndex; }

    int parameterIndex;
    int begins = 0, ends = 0;
    std::vector<float> values;
};

struct EditorFixture : ::testing::Test
{
    template <typename T>
    T& child (Child which) { return dynamic_cast<T&> (*editor->getChildComponent ((int) which)); }

    juce::String text (Child which) { return child<juce::Label> (which).getText(); }

    void setParameter (const char* id, float value) { processor.setParameterRawValue (id, value); }

    CorvaneAudioProcessor processor;
    std::unique_ptr<Editor> editor = std::make_unique<Editor> (processor);
};
} // namespace

TEST (PluginEditorTest, WithLetterSpacingPutsOneSpaceBetweenCharacters)
{
    struct Case { juce::String in, out; };
    for (const auto& c : { Case { "", "" }, Case { "A", "A" }, Case { "AB", "A B" }, Case { "MODE", "M O D E" },
                           Case { "TONE PROTECTION", "T O N E   P R O T E C T I O N" },
                           Case { juce::String (juce::CharPointer_UTF8 ("\xc3\x84\xc3\x98")),
                                  juce::String (juce::CharPointer_UTF8 ("\xc3\x84 \xc3\x98")) } })
        EXPECT_EQ (Editor::withLetterSpacing (c.in), c.out) << c.in;
}

TEST_F (EditorFixture, FixedSizeAndLayout)
{
    EXPECT_EQ (editor->getBounds(), juce::Rectangle<int> (960, 696));
    EXPECT_FALSE (editor->isResizable());
    EXPECT_EQ (editor->resizableCorner, nullptr);
    ASSERT_EQ (editor->getNumChildComponents(), (int) childCount);

    const juce::Rectangle<int> expected[] = {
        { 48, 0, 260, 78 },    { 744, 0, 80, 78 },    { 834, 24, 78, 30 },   { 16, 83, 651, 44 },   { 16, 127, 651, 38 },
        { 16, 165, 651, 291 }, { 241, 456, 80, 34 },  { 331, 456, 110, 34 }, { 61, 494, 560, 30 },  { 61, 524, 186, 26 },
        { 247, 524, 188, 26 }, { 435, 524, 186, 26 }, { 227, 560, 50, 28 },  { 285, 560, 170, 28 }, { 679, 83, 265, 28 },
        { 766, 115, 90, 22 },  { 756, 143, 110, 24 }, { 695, 181, 110, 22 }, { 695, 203, 110, 255 }, { 695, 458, 110, 16 },
        { 817, 181, 111, 22 }, { 817, 203, 111, 255 }, { 817, 458, 111, 16 }, { 679, 480, 265, 22 }, { 772, 502, 78, 102 },
    };
    for (int i = 0; i < childCount; ++i)
    {
        EXPECT_EQ (editor->getChildComponent (i)->getBounds(), expected[i]) << "child " << i;
        EXPECT_TRUE (editor->getChildComponent (i)->isVisible()) << "child " << i;
    }

    editor->setSize (1200, 900); // a host may try: the table does not move
    EXPECT_EQ (child<juce::Component> (outputKnob).getBounds(), expected[outputKnob]);
}

TEST_F (EditorFixture, TextsAndProperties)
{
    EXPECT_EQ (text (maker), Editor::withLetterSpacing ("CORVANE AUDIO WORKS"));
    EXPECT_EQ (text (version), "v0.1.15");
    EXPECT_EQ (text (title), "CORVANE");
    EXPECT_EQ (text (widthMin), "0%\nFOCUSED");
    EXPECT_EQ (text (widthMid), "100%\nWIDE");
    EXPECT_EQ (text (widthMax), "200%\nEXTREME");
    EXPECT_EQ (text (resonanceCaption), "R E S O N A N C E");
    EXPECT_EQ (text (harshnessOff), "OFF");
    EXPECT_EQ (child<juce::TextButton> (bypass).getButtonText(), "BYPASS");
    EXPECT_EQ (child<juce::TextButton> (delta).getTooltip(), "Monitor what the suppressor is removing (dry minus wet)");
    EXPECT_EQ (child<juce::ComboBox> (modeBox).getItemText (1), "ADAPTIVE");
    EXPECT_EQ (child<juce::ComboBox> (quality).getItemText (1), "STUDIO");
    EXPECT_FLOAT_EQ (child<juce::Label> (widthValue).getFont().getHeight(), 26.0f);
    EXPECT_EQ (child<juce::Label> (title).getFont().getTypefaceName(), "Oxanium");

    for (int i = 0; i < childCount; ++i)
    {
        const auto& properties = editor->getChildComponent (i)->getProperties();
        EXPECT_EQ ((bool) properties[LookAndFeel::chromeButtonProperty], i == bypass || i == delta) << "child " << i;
        EXPECT_EQ ((bool) properties[LookAndFeel::violetAccentProperty], i == harshnessFader) << "child " << i;
    }
    EXPECT_EQ (&editor->getLookAndFeel(), &child<juce::Slider> (widthSlider).getLookAndFeel());
}

TEST_F (EditorFixture, WidthReadoutFollowsTheParameter)
{
    EXPECT_EQ (text (widthValue), "100%"); // set before the window is first shown
    struct Case { float width; const char* readout; };
    for (const auto& c : { Case { 0.0f, "0%" }, Case { 1.0f, "200%" }, Case { 0.5f, "100%" }, Case { 0.123f, "25%" } })
    {
        setParameter (ParameterIds::width, c.width);
        EXPECT_EQ (text (widthValue), c.readout) << c.width;
    }
}

TEST_F (EditorFixture, FaderTextShowsOffThenPercent)
{
    auto& fader = child<juce::Slider> (resonanceFader);
    struct Case { double value; const char* text; };
    for (const auto& c : { Case { 0.0, "OFF" }, Case { 0.0005, "OFF" }, Case { 0.004, "0%" }, Case { 0.006, "1%" },
                           Case { 0.5, "50%" }, Case { 1.0, "100%" } })
    {
        EXPECT_EQ (fader.getTextFromValue (c.value), c.text) << c.value;
        EXPECT_EQ (child<juce::Slider> (harshnessFader).getTextFromValue (c.value), c.text) << c.value;
    }
    setParameter (ParameterIds::harshnessAmount, 0.25f);
    EXPECT_EQ (child<juce::Slider> (harshnessFader).getTextFromValue (child<juce::Slider> (harshnessFader).getValue()), "25%");
    EXPECT_EQ (child<juce::Slider> (outputKnob).getTextFromValue (-3.0), "-3.0"); // the parameter's own text
}

TEST_F (EditorFixture, ModeUpdatesSubtitleAndStage)
{
    auto& box = child<juce::ComboBox> (modeBox);
    auto& emblem = child<Editor::UlmiraStage> (stage);
    EXPECT_EQ (text (subtitle), Editor::withLetterSpacing ("TRANSPARENT STEREO WIDENING"));
    EXPECT_FALSE (emblem.adaptiveMode);

    box.setSelectedId (2, juce::sendNotificationSync);
    EXPECT_EQ (text (subtitle), "A D A P T I V E   S I D E   W I D E N I N G");
    EXPECT_TRUE (emblem.adaptiveMode);
    EXPECT_GT (processor.parameters.getRawParameterValue (ParameterIds::widenerMode)->load(), 0.5f);

    setParameter (ParameterIds::widenerMode, 0.0f); // host automation reaches the display too
    EXPECT_EQ (box.getSelectedId(), 1);
    EXPECT_FALSE (emblem.adaptiveMode);

    box.setSelectedId (0, juce::sendNotificationSync); // no selection reads as transparent
    EXPECT_EQ (text (subtitle), Editor::withLetterSpacing ("TRANSPARENT STEREO WIDENING"));
    EXPECT_FALSE (emblem.adaptiveMode);
}

TEST_F (EditorFixture, StageDrivesTheWidthParameter)
{
    auto& emblem = child<Editor::UlmiraStage> (stage);
    EXPECT_EQ (emblem.widthSlider, &child<juce::Slider> (widthSlider));
    EXPECT_EQ (emblem.processor, &processor);

    emblem.widthSlider->setValue (1.0, juce::sendNotificationSync);
    EXPECT_FLOAT_EQ (processor.parameters.getRawParameterValue (ParameterIds::width)->load(), 1.0f);
    EXPECT_EQ (text (widthValue), "200%");
}

TEST (PluginEditorTest, OpeningSwitchesTheTrimToManualAsOneGesture)
{
    CorvaneAudioProcessor processor;
    auto* manual = processor.parameters.getParameter ("outputTrimManual");
    GestureCounter counter (manual->getParameterIndex());
    processor.addListener (&counter);

    std::make_unique<Editor> (processor).reset();
    EXPECT_EQ (counter.begins, 1);
    EXPECT_EQ (counter.ends, 1);
    EXPECT_EQ (counter.values, std::vector<float> { 1.0f });
    EXPECT_GT (manual->getValue(), 0.5f);

    std::make_unique<Editor> (processor).reset(); // already on: nothing is sent
    EXPECT_EQ (counter.begins, 1);
    EXPECT_EQ (counter.values.size(), 1u);
    processor.removeListener (&counter);
}

TEST_F (EditorFixture, PaintsTheDeviceFaceAndLogo)
{
    const auto snapshot = editor->createComponentSnapshot (editor->getLocalBounds());
    ASSERT_EQ (snapshot.getBounds(), juce::Rectangle<int> (960, 696));
    EXPECT_NE (snapshot.getPixelAt (5, 40), LookAndFeel::background); // the artwork covers the plain fill
    float brightest = 0.0f; // the light logo, fitted into x 457, y 24, 45 x 30
    for (int y = 24; y < 54; ++y)
        for (int x = 457; x < 502; ++x)
            brightest = juce::jmax (brightest, snapshot.getPixelAt (x, y).getBrightness());
    EXPECT_GT (brightest, 0.8f);
    EXPECT_LT (snapshot.getPixelAt (440, 40).getBrightness(), 0.3f); // the dark face beside it
}

// Property: an editor gives back everything it took. A leaked editor would keep its decoded images
// (the device face alone is 1920 x 1392 pixels, about 8 MB), so the bound is far below one leak.
TEST (PluginEditorTest, OpeningAndClosingManyTimesLeaksNothing)
{
    CorvaneAudioProcessor processor;
    const auto openAndClose = [&processor]
    {
        std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditorIfNeeded());
        ASSERT_NE (dynamic_cast<Editor*> (editor.get()), nullptr);
        EXPECT_EQ (processor.getActiveEditor(), editor.get());
        editor.reset();
        EXPECT_EQ (processor.getActiveEditor(), nullptr);
    };

    for (int i = 0; i < 3; ++i) // warm up the font and glyph caches
        openAndClose();
    const auto before = mallinfo2().uordblks;
    for (int i = 0; i < 25; ++i)
        openAndClose();
    const auto after = mallinfo2().uordblks;
    EXPECT_LT ((double) after - (double) before, 2.0e6);
}
