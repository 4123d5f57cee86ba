#pragma once

#include "editor/CorvaneLookAndFeel.h"
#include "editor/CorvaneUlmiraArt.h"
#include "processor/PluginProcessor.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <vector>

/** The plug-in window: a fixed 960 x 696 panel with the header, the widening section around the
    animated emblem and the tone protection column. Binds eight parameters. Message thread only. */
class CorvaneAudioProcessorEditor : public juce::AudioProcessorEditor
{
public:
    /** The animated winged emblem: the wings open with the width, sparks follow the suppressor's
        reduction, and clicks, drags and double-clicks set the width. Message thread only. */
    class UlmiraStage : public juce::Component, public juce::Timer
    {
    public:
        /** One short-lived spark, positioned in the design units of its wing before that wing's transform. */
        struct Spark
        {
            /** Birth place in design units of its wing, before the wing's transform, so it moves with the wing. */
            juce::Point<float> position;
            /** 1 at birth, less 0.1 per tick; the spark goes once it reaches 0. */
            float life = 1.0f;
            /** Transformed and drawn with the right wing. */
            bool onRightWing = false;
            /** Spawned by the harshness amount and drawn violet; otherwise by the resonance amount, cyan. */
            bool fromHarshness = false;
        };

        /** The transforms of one frame, derived from the stage size and the width value. */
        struct Frame
        {
            /** Pixels per design unit. */
            float scale = 1.0f;
            /** Design canvas to stage: 90 % of the largest fit, centred. */
            juce::AffineTransform fit;
            /** Squeezes and turns the left wing about its pivot, then fits. */
            juce::AffineTransform leftWing;
            /** The mirror image of the left wing's motion, about the right pivot. */
            juce::AffineTransform rightWing;
            /** 0.18 when closed to 1 when fully open; sets the rim's glow. */
            float openness = 0.0f;
        };

        /** Builds the geometry, seeds the random source and starts the 33 ms timer. Allocates. */
        UlmiraStage();
        /** Default teardown; the timer stops with its base. */
        ~UlmiraStage() override;

        /** Sets the width from the click position. */
        void mouseDown (const juce::MouseEvent&) override;
        /** Sets the width from the drag position. */
        void mouseDrag (const juce::MouseEvent&) override;
        /** Resets the width to 0.5. */
        void mouseDoubleClick (const juce::MouseEvent&) override;
        /** Draws the wings, the body, the head and the sparks. */
        void paint (juce::Graphics&) override;
        /** Smooths the suppression activity, spawns and ages sparks, repaints. */
        void timerCallback() override;

        /** Draws one wing under its transform; the rim glows with the openness. */
        void paintWing (juce::Graphics&, const CorvaneUlmiraArt::WingPaths&, const juce::AffineTransform&,
                        float openness) const;

        /** The frame transforms for a stage of the given size in pixels and a width value 0..1. Pure. */
        static Frame frameFor (float stageWidth, float stageHeight, float widthValue);
        /** The width value 0..1 for a mouse x position in a stage of the given width in pixels. Pure. */
        static double widthForMouseX (int x, float stageWidth);
        /** The activity an animation tick moves towards: the deeper channel's reduction over 18 dB,
            0..1, or 0 while the suppressor is off. Pure. */
        static float activityTarget (bool suppressorActive, float reductionDbLeft, float reductionDbRight);

        /** One animation tick without the repaint: smooths the activity towards its target, spawns
            sparks for the amounts above 0.001 and ages them all. */
        void advance (float targetActivity, float resonanceAmount, float harshnessAmount);

        /** Reseeds the random source so that the spark sequence is reproducible. */
        void setRandomSeed (juce::int64 seed);
        /** The smoothed suppression activity, 0..1. */
        float getActivity() const noexcept { return activity; }
        /** The sparks alive, in birth order. */
        const std::vector<Spark>& getSparks() const noexcept { return sparks; }

        /** The editor's width slider; not owned; null until the editor sets it. */
        juce::Slider* widthSlider = nullptr;
        /** The processor whose meters and amounts drive the sparks; not owned; null until set. */
        CorvaneAudioProcessor* processor = nullptr;

    private:
        CorvaneUlmiraArt::WingPaths leftWing;
        CorvaneUlmiraArt::WingPaths rightWing;
        juce::Path bodyDetail;
        juce::Path bodyOutline;
        juce::Point<float> headCentre { 400.0f, 105.0f };
        float headRadius = 4.0f;

    public:
        /** True in the adaptive widening mode: the flow traces then follow the width. */
        bool adaptiveMode = false;

    private:
        std::vector<Spark> sparks;
        juce::Random random;
        float activity = 0.0f;

        float currentWidth() const;
        void spawnSpark (bool fromHarshness);
        void ageSparks();
        void setWidthFromMouse (const juce::MouseEvent&);
        void paintBody (juce::Graphics&, const Frame&) const;
        void paintSparks (juce::Graphics&, const Frame&) const;

        JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (UlmiraStage)
    };

    /** Builds and wires every control; ends at 960 x 696, not resizable. Allocates. */
    explicit CorvaneAudioProcessorEditor (CorvaneAudioProcessor&);
    /** Removes the look and feel before the members go. */
    ~CorvaneAudioProcessorEditor() override;

    /** Background, artwork and logo; all texts are labels. */
    void paint (juce::Graphics&) override;
    /** Places every child at its fixed rectangle. */
    void resized() override;

    /** The text with one space between every two neighbouring characters. Allocates. */
    static juce::String withLetterSpacing (const juce::String& text);

private:
    CorvaneLookAndFeel lookAndFeel;
    juce::Image backgroundImage;
    juce::Image logoImage;
    juce::Rectangle<int> logoArea;
    juce::Label makerLabel, versionLabel, titleLabel, subtitleLabel;
    juce::TextButton bypassButton { "BYPASS" };
    std::unique_ptr<juce::AudioProcessorValueTreeState::ButtonAttachment> bypassAttachment;
    UlmiraStage stage;
    juce::Label widthLabel, widthValueLabel;
    juce::Slider widthSlider;
    juce::Label widthMinLabel, widthMidLabel, widthMaxLabel;
    std::unique_ptr<juce::AudioProcessorValueTreeState::SliderAttachment> widthAttachment;
    juce::Label modeLabel;
    juce::ComboBox modeBox;
    std::unique_ptr<juce::AudioProcessorValueTreeState::ComboBoxAttachment> modeAttachment;
    juce::Label toneProtectionLabel;
    juce::Label resonanceLabel, harshnessLabel, resonanceOffLabel, harshnessOffLabel;
    juce::Slider resonanceSlider, harshnessSlider;
    std::unique_ptr<juce::AudioProcessorValueTreeState::SliderAttachment> resonanceAttachment, harshnessAttachment;
    juce::TextButton deltaButton { "DELTA" };
    std::unique_ptr<juce::AudioProcessorValueTreeState::ButtonAttachment> deltaAttachment;
    juce::ComboBox qualityBox;
    std::unique_ptr<juce::AudioProcessorValueTreeState::ComboBoxAttachment> qualityAttachment;
    juce::Label outputLabel;
    juce::Slider outputTrimSlider;
    std::unique_ptr<juce::AudioProcessorValueTreeState::SliderAttachment> outputTrimAttachment;

    void buildHeader (CorvaneAudioProcessor&);
    void buildWideningSection (CorvaneAudioProcessor&);
    void buildToneProtection (CorvaneAudioProcessor&);
    void buildOutput (CorvaneAudioProcessor&);
    void setUpCaption (juce::Label&, const juce::String& text, juce::Justification);
    void setUpFader (juce::Slider&, juce::Label& caption, const juce::String& captionText, juce::Label& offLabel,
                     bool violetAccent);
    void showWidth();
    void updateMode();

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CorvaneAudioProcessorEditor)
};
