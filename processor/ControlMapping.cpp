#include "processor/ControlMapping.h"

#include "processor/ParameterIds.h"

#include <cmath>

namespace
{
float smoothstep (float x) noexcept { return x * x * (3.0f - 2.0f * x); }
float clamp01 (float x) noexcept { return juce::jlimit (0.0f, 1.0f, x); }

// The curves are written in single precision, operation for operation, so that a change of
// compiler or optimisation level cannot move them.
float automaticDepth (float w) noexcept { return 0.46f + 0.46f * smoothstep (w); }
float automaticBodyWidth (float w) noexcept { return 0.9f * std::pow (smoothstep (clamp01 ((w - 0.02f) / (0.92f - 0.02f))), 0.82f); }
float automaticPresenceWidth (float w) noexcept { return std::pow (smoothstep (clamp01 ((w - 0.14f) / (1.0f - 0.14f))), 0.9f); }
float automaticMotion (float w) noexcept
{
    const auto s = smoothstep (clamp01 ((w - 0.4f) / 0.6f));
    return 0.4f * s * s;
}
float automaticTrimDb (float w) noexcept { return 0.65f * w * w; }

// Harshness: sensitivity keeps rising to 1 above h = 0.35 while the reduction range stays at 8.25 dB.
float automaticHarshnessSensitivity (float h) noexcept
{
    return h <= 0.35f ? 0.35f + (0.525f - 0.35f) * (h / 0.35f)
                      : 0.525f + (1.0f - 0.525f) * (h - 0.35f) / 0.65f;
}
float automaticHarshnessMaxReductionDb (float h) noexcept { return h <= 0.35f ? 3.0f + 5.25f * (h / 0.35f) : 8.25f; }
} // namespace

ControlMapping::ControlMapping (const juce::AudioProcessorValueTreeState& parametersToRead) noexcept
    : parameters (parametersToRead)
{
}

float ControlMapping::rawValue (const char* parameterId) const noexcept
{
    const auto value = parameters.getRawParameterValue (parameterId)->load (std::memory_order_relaxed);
    if (std::isfinite (value))
        return value;

    const auto* parameter = parameters.getParameter (parameterId);
    return parameter->convertFrom0to1 (parameter->getDefaultValue());
}

bool ControlMapping::isOn (const char* parameterId) const noexcept { return rawValue (parameterId) > 0.5f; }

float ControlMapping::detailOrAutomatic (const char* detailId, const char* overrideId, float automatic) const noexcept
{
    return isOn (overrideId) ? rawValue (detailId) : automatic;
}

void ControlMapping::writeWidenerSettings (corvane::CorvaneWidener::Settings& settings) const noexcept
{
    namespace id = ParameterIds;
    const auto w = clamp01 (rawValue (id::width));
    settings.width = w;
    settings.depth = detailOrAutomatic (id::depth, "depthManual", automaticDepth (w));
    settings.lowMonoHz = detailOrAutomatic (id::lowMono, "lowMonoManual", 300.0f);
    settings.bodyWidth = detailOrAutomatic (id::bodyWidth, "bodyWidthManual", automaticBodyWidth (w));
    settings.presenceWidth = detailOrAutomatic (id::presenceWidth, "presenceWidthManual", automaticPresenceWidth (w));
    settings.transientProtect = detailOrAutomatic (id::transientProtect, "transientProtectManual", smoothstep (w));
    settings.motion = detailOrAutomatic (id::motion, "motionManual", automaticMotion (w));
    settings.monoSafety = detailOrAutomatic (id::monoSafety, "monoSafetyManual", 0.0f);
    settings.outputTrimDb = detailOrAutomatic (id::outputTrim, "outputTrimManual", automaticTrimDb (w));
    settings.quality = isOn (id::quality) ? 1 : 0;
    settings.mode = isOn (id::widenerMode) ? corvane::CorvaneWidener::adaptiveMode : corvane::CorvaneWidener::legacyMode;
}

resonance::ResonanceSuppressor::Settings ControlMapping::suppressorSettings() const noexcept
{
    namespace id = ParameterIds;
    const auto amount = rawValue (id::resonanceAmount);
    const auto harshnessAmount = rawValue (id::harshnessAmount);
    const auto r = clamp01 (amount);
    const auto h = clamp01 (harshnessAmount);

    resonance::ResonanceSuppressor::Settings s;
    s.amount = amount;
    s.sensitivity = detailOrAutomatic (id::resonanceSensitivity, "resonanceSensitivityManual", 0.35f + 0.5f * r);
    s.sharpness = detailOrAutomatic (id::resonanceSharpness, "resonanceSharpnessManual", 0.35f + 0.4f * r);
    s.attackMs = detailOrAutomatic (id::resonanceAttack, "resonanceAttackManual", 70.0f - 40.0f * r);
    s.releaseMs = detailOrAutomatic (id::resonanceRelease, "resonanceReleaseManual", 160.0f - 80.0f * r);
    s.maxReductionDb = detailOrAutomatic (id::resonanceMaxReduction, "resonanceMaxReductionManual", 6.0f + 18.0f * r);
    s.harshnessAmount = harshnessAmount;
    s.harshnessSensitivity = detailOrAutomatic (id::harshnessSensitivity, "harshnessSensitivityManual", automaticHarshnessSensitivity (h));
    s.harshnessMaxReductionDb = detailOrAutomatic (id::harshnessMaxReduction, "harshnessMaxReductionManual", automaticHarshnessMaxReductionDb (h));
    s.harshnessLowHz = detailOrAutomatic (id::harshnessLowHz, "harshnessLowHzManual", 700.0f);
    s.harshnessHighHz = detailOrAutomatic (id::harshnessHighHz, "harshnessHighHzManual", 20000.0f);
    return s;
}
