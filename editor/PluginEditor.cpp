#include "editor/PluginEditor.h"

#include "BinaryData.h"
#include "editor/CorvaneFonts.h"
#include "processor/ParameterIds.h"

namespace
{
using Face = CorvaneFonts::Face;
using LookAndFeel = CorvaneLookAndFeel;

const juce::String makerName { "Corvane Audio Works" };

void styleLabel (juce::Label& label, const juce::String& text, Face face, float height, juce::Colour colour,
                 juce::Justification justification)
{
    label.setText (text, juce::dontSendNotification);
    label.setFont (CorvaneFonts::font (face, height));
    label.setColour (juce::Label::textColourId, colour);
    label.setJustificationType (justification);
}

juce::String faderText (double value)
{
    return value <= 0.0005 ? juce::String ("OFF") : juce::String (juce::roundToInt (value * 100.0)) + "%";
}

/** Hands the trim to the knob: with the override off the processing would derive the trim itself. */
void switchOutputTrimToManual (juce::AudioProcessorValueTreeState& parameters)
{
    auto* manual = parameters.getParameter (juce::String (ParameterIds::outputTrim) + ParameterIds::manualSuffix);
    if (manual == nullptr || manual->getValue() >= 0.5f)
        return;
    manual->beginChangeGesture();
    manual->setValueNotifyingHost (1.0f);
    manual->endChangeGesture();
}
} // namespace

CorvaneAudioProcessorEditor::CorvaneAudioProcessorEditor (CorvaneAudioProcessor& p)
    : AudioProcessorEditor (p)
{
    setLookAndFeel (&lookAndFeel);
    backgroundImage = juce::ImageFileFormat::loadFrom (BinaryData::background_png, BinaryData::background_pngSize);
    logoImage = juce::ImageFileFormat::loadFrom (BinaryData::ulmira_logo_png, BinaryData::ulmira_logo_pngSize);

    buildHeader (p);
    buildWideningSection (p);
    buildToneProtection (p);
    buildOutput (p);
    switchOutputTrimToManual (p.parameters);

    // Slider text boxes take their colours when created, before the slider has a parent; a second
    // pass hands them the colour table of the look and feel installed above.
    sendLookAndFeelChange();
    setSize (960, 696);
    setResizable (false, false);
}

CorvaneAudioProcessorEditor::~CorvaneAudioProcessorEditor() { setLookAndFeel (nullptr); }

void CorvaneAudioProcessorEditor::buildHeader (CorvaneAudioProcessor& p)
{
    styleLabel (makerLabel, withLetterSpacing (makerName.toUpperCase()), Face::barlowCondensedLight, 12.0f,
                LookAndFeel::textDim, juce::Justification::centredLeft);
    addAndMakeVisible (makerLabel);

    styleLabel (versionLabel, "v0.1.15", Face::barlowCondensedLight, 12.0f, LookAndFeel::textDim,
                juce::Justification::centredRight);
    addAndMakeVisible (versionLabel);

    bypassButton.setClickingTogglesState (true);
    bypassButton.getProperties().set (LookAndFeel::chromeButtonProperty, true);
    addAndMakeVisible (bypassButton);
    bypassAttachment = std::make_unique<juce::AudioProcessorValueTreeState::ButtonAttachment> (
        p.parameters, ParameterIds::bypass, bypassButton);
}

void CorvaneAudioProcessorEditor::buildWideningSection (CorvaneAudioProcessor& p)
{
    styleLabel (titleLabel, "CORVANE", Face::oxaniumBold, 32.0f, LookAndFeel::textPrimary, juce::Justification::centred);
    addAndMakeVisible (titleLabel);

    styleLabel (subtitleLabel, withLetterSpacing ("TRANSPARENT STEREO WIDENING"), Face::barlowCondensedLight, 12.5f,
                LookAndFeel::textDim, juce::Justification::centred);
    addAndMakeVisible (subtitleLabel);

    addAndMakeVisible (stage);
    stage.widthSlider = &widthSlider;
    stage.processor = &p;

    styleLabel (widthLabel, withLetterSpacing ("WIDTH"), Face::barlowCondensedMedium, 13.0f, LookAndFeel::violetHot,
                juce::Justification::centredLeft);
    addAndMakeVisible (widthLabel);

    styleLabel (widthValueLabel, {}, Face::rajdhaniMedium, 26.0f, LookAndFeel::textPrimary,
                juce::Justification::centredLeft);
    addAndMakeVisible (widthValueLabel);

    widthSlider.setSliderStyle (juce::Slider::LinearHorizontal);
    widthSlider.setRange (0.0, 1.0, 0.001);
    widthSlider.setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
    widthSlider.setDoubleClickReturnValue (true, 0.5);
    widthSlider.onValueChange = [this] { showWidth(); };
    addAndMakeVisible (widthSlider);
    widthAttachment = std::make_unique<juce::AudioProcessorValueTreeState::SliderAttachment> (
        p.parameters, ParameterIds::width, widthSlider);
    widthSlider.onValueChange();

    setUpCaption (widthMinLabel, "0%\nFOCUSED", juce::Justification::topLeft);
    setUpCaption (widthMidLabel, "100%\nWIDE", juce::Justification::centredTop);
    setUpCaption (widthMaxLabel, "200%\nEXTREME", juce::Justification::topRight);

    styleLabel (modeLabel, withLetterSpacing ("MODE"), Face::barlowCondensedLight, 11.0f, LookAndFeel::textDim,
                juce::Justification::centredLeft);
    addAndMakeVisible (modeLabel);

    modeBox.addItem ("TRANSPARENT", 1);
    modeBox.addItem ("ADAPTIVE", 2);
    modeBox.onChange = [this] { updateMode(); };
    addAndMakeVisible (modeBox);
    modeAttachment = std::make_unique<juce::AudioProcessorValueTreeState::ComboBoxAttachment> (
        p.parameters, ParameterIds::widenerMode, modeBox);
    modeBox.onChange();
}

void CorvaneAudioProcessorEditor::buildToneProtection (CorvaneAudioProcessor& p)
{
    styleLabel (toneProtectionLabel, withLetterSpacing ("TONE PROTECTION"), Face::oxaniumBold, 14.0f,
                LookAndFeel::textPrimary, juce::Justification::centred);
    addAndMakeVisible (toneProtectionLabel);

    deltaButton.setClickingTogglesState (true);
    deltaButton.getProperties().set (LookAndFeel::chromeButtonProperty, true);
    deltaButton.setTooltip ("Monitor what the suppressor is removing (dry minus wet)");
    addAndMakeVisible (deltaButton);
    deltaAttachment = std::make_unique<juce::AudioProcessorValueTreeState::ButtonAttachment> (
        p.parameters, ParameterIds::resonanceDeltaMonitor, deltaButton);

    qualityBox.addItem ("LIVE", 1);
    qualityBox.addItem ("STUDIO", 2);
    addAndMakeVisible (qualityBox);
    qualityAttachment = std::make_unique<juce::AudioProcessorValueTreeState::ComboBoxAttachment> (
        p.parameters, ParameterIds::quality, qualityBox);

    setUpFader (resonanceSlider, resonanceLabel, "RESONANCE", resonanceOffLabel, false);
    setUpFader (harshnessSlider, harshnessLabel, "HARSHNESS", harshnessOffLabel, true);
    resonanceAttachment = std::make_unique<juce::AudioProcessorValueTreeState::SliderAttachment> (
        p.parameters, ParameterIds::resonanceAmount, resonanceSlider);
    harshnessAttachment = std::make_unique<juce::AudioProcessorValueTreeState::SliderAttachment> (
        p.parameters, ParameterIds::harshnessAmount, harshnessSlider);

    // Set after the attachments, which install the parameter's own conversion.
    for (auto* fader : { &resonanceSlider, &harshnessSlider })
    {
        fader->textFromValueFunction = faderText;
        fader->updateText();
    }
}

void CorvaneAudioProcessorEditor::buildOutput (CorvaneAudioProcessor& p)
{
    styleLabel (outputLabel, withLetterSpacing ("OUTPUT"), Face::barlowCondensedLight, 12.0f, LookAndFeel::textDim,
                juce::Justification::centred);
    addAndMakeVisible (outputLabel);

    outputTrimSlider.setSliderStyle (juce::Slider::RotaryHorizontalVerticalDrag);
    outputTrimSlider.setRange (-18.0, 6.0, 0.1);
    outputTrimSlider.setTextBoxStyle (juce::Slider::TextBoxBelow, false, 64, 20);
    addAndMakeVisible (outputTrimSlider);
    outputTrimAttachment = std::make_unique<juce::AudioProcessorValueTreeState::SliderAttachment> (
        p.parameters, ParameterIds::outputTrim, outputTrimSlider);
}

void CorvaneAudioProcessorEditor::setUpCaption (juce::Label& label, const juce::String& text,
                                                juce::Justification justification)
{
    styleLabel (label, text, Face::barlowCondensedLight, 11.0f, LookAndFeel::textDim, justification);
    label.setMinimumHorizontalScale (1.0f);
    addAndMakeVisible (label);
}

void CorvaneAudioProcessorEditor::setUpFader (juce::Slider& slider, juce::Label& caption,
                                              const juce::String& captionText, juce::Label& offLabel, bool violetAccent)
{
    styleLabel (caption, withLetterSpacing (captionText), Face::barlowCondensedLight, 10.5f, LookAndFeel::textDim,
                juce::Justification::centred);
    addAndMakeVisible (caption);

    slider.setSliderStyle (juce::Slider::LinearVertical);
    slider.setRange (0.0, 1.0, 0.001);
    slider.setTextBoxStyle (juce::Slider::TextBoxAbove, true, 60, 20);
    if (violetAccent)
        slider.getProperties().set (LookAndFeel::violetAccentProperty, true);
    addAndMakeVisible (slider);

    styleLabel (offLabel, "OFF", Face::rajdhaniMedium, 10.0f, LookAndFeel::textDim, juce::Justification::centred);
    addAndMakeVisible (offLabel);
}

void CorvaneAudioProcessorEditor::showWidth()
{
    widthValueLabel.setText (juce::String (juce::roundToInt (widthSlider.getValue() * 200.0)) + "%",
                             juce::dontSendNotification);
    stage.repaint();
}

void CorvaneAudioProcessorEditor::updateMode()
{
    const auto adaptive = modeBox.getSelectedId() == 2;
    subtitleLabel.setText (withLetterSpacing (adaptive ? "ADAPTIVE SIDE WIDENING" : "TRANSPARENT STEREO WIDENING"),
                           juce::dontSendNotification);
    stage.adaptiveMode = adaptive;
    stage.repaint();
}

juce::String CorvaneAudioProcessorEditor::withLetterSpacing (const juce::String& text)
{
    juce::String spaced;
    for (auto character = text.getCharPointer(); ! character.isEmpty(); ++character)
    {
        if (spaced.isNotEmpty())
            spaced << ' ';
        spaced << juce::String::charToString (*character);
    }
    return spaced;
}

void CorvaneAudioProcessorEditor::paint (juce::Graphics& g)
{
    g.fillAll (LookAndFeel::background);
    g.drawImage (backgroundImage, getLocalBounds().toFloat(), juce::RectanglePlacement::stretchToFit);
    g.drawImage (logoImage, logoArea.toFloat(), juce::RectanglePlacement::centred);
}

void CorvaneAudioProcessorEditor::resized()
{
    makerLabel.setBounds (48, 0, 260, 78);
    bypassButton.setBounds (834, 24, 78, 30);
    versionLabel.setBounds (bypassButton.getX() - 90, 0, 80, 78);
    logoArea = { 457, 24, 45, 30 };
    titleLabel.setBounds (16, 83, 651, 44);
    subtitleLabel.setBounds (16, 127, 651, 38);
    stage.setBounds (16, 165, 651, 291);
    widthLabel.setBounds (241, 456, 80, 34);
    widthValueLabel.setBounds (331, 456, 110, 34);
    widthSlider.setBounds (61, 494, 560, 30);
    widthMinLabel.setBounds (61, 524, 186, 26);
    widthMaxLabel.setBounds (435, 524, 186, 26);
    widthMidLabel.setBounds (247, 524, 188, 26);
    modeLabel.setBounds (227, 560, 50, 28);
    modeBox.setBounds (285, 560, 170, 28);
    toneProtectionLabel.setBounds (679, 83, 265, 28);
    deltaButton.setBounds (766, 115, 90, 22);
    qualityBox.setBounds (756, 143, 110, 24);
    resonanceLabel.setBounds (695, 181, 110, 22);
    harshnessLabel.setBounds (817, 181, 111, 22);
    resonanceOffLabel.setBounds (695, 458, 110, 16);
    harshnessOffLabel.setBounds (817, 458, 111, 16);
    resonanceSlider.setBounds (695, 203, 110, 255);
    harshnessSlider.setBounds (817, 203, 111, 255);
    outputLabel.setBounds (679, 480, 265, 22);
    outputTrimSlider.setBounds (772, 502, 78, 102);
}
