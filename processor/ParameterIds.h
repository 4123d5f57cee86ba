#pragma once

#include <array>

/** The parameter IDs: the names by which the host, the saved state, the audio path and the editor
    address every parameter. Plain C strings so that they can be used at compile time. */
namespace ParameterIds
{
inline constexpr const char* bypass = "bypass";
inline constexpr const char* width = "width";
inline constexpr const char* widenerMode = "widenerMode";
inline constexpr const char* depth = "depth";
inline constexpr const char* lowMono = "lowMono";
inline constexpr const char* bodyWidth = "bodyWidth";
inline constexpr const char* presenceWidth = "presenceWidth";
inline constexpr const char* transientProtect = "transientProtect";
inline constexpr const char* motion = "motion";
inline constexpr const char* monoSafety = "monoSafety";
inline constexpr const char* outputTrim = "outputTrim";
inline constexpr const char* quality = "quality";
inline constexpr const char* resonanceAmount = "resonanceAmount";
inline constexpr const char* resonanceSensitivity = "resonanceSensitivity";
inline constexpr const char* resonanceSharpness = "resonanceSharpness";
inline constexpr const char* resonanceAttack = "resonanceAttack";
inline constexpr const char* resonanceRelease = "resonanceRelease";
inline constexpr const char* resonanceMaxReduction = "resonanceMaxReduction";
inline constexpr const char* harshnessAmount = "harshnessAmount";
inline constexpr const char* harshnessSensitivity = "harshnessSensitivity";
inline constexpr const char* harshnessMaxReduction = "harshnessMaxReduction";
inline constexpr const char* harshnessLowHz = "harshnessLowHz";
inline constexpr const char* harshnessHighHz = "harshnessHighHz";
inline constexpr const char* resonanceDeltaMonitor = "resonanceDeltaMonitor";
inline constexpr const char* resonanceBypass = "resonanceBypass";

/** Appended to a detail parameter's ID to form the ID of its override switch. */
inline constexpr const char* manualSuffix = "Manual";

/** Detail controls of the widener that have an override switch, in host order. */
inline constexpr std::array<const char*, 8> widenerManualParameterIds {
    depth, lowMono, bodyWidth, presenceWidth, transientProtect, motion, monoSafety, outputTrim
};

/** Detail controls of the suppressor that have an override switch, in host order. */
inline constexpr std::array<const char*, 9> suppressorManualParameterIds {
    resonanceSensitivity, resonanceSharpness, resonanceAttack, resonanceRelease, resonanceMaxReduction,
    harshnessSensitivity, harshnessMaxReduction, harshnessLowHz, harshnessHighHz
};

/** Total number of parameters the host sees. */
inline constexpr int count = 25 + (int) widenerManualParameterIds.size() + (int) suppressorManualParameterIds.size();
} // namespace ParameterIds
