#pragma once

#include "Quality.h"
#include <array>
#include <cstddef>

namespace corvane
{
/** Cascade of up to eight first-order all-pass sections (a + z^-1) / (1 + a z^-1): flat in
    magnitude, it smears the phase so two chains with different tables decorrelate one signal. */
class AllpassChain
{
public:
    /** Most sections a chain can hold. */
    static constexpr int maxStages = 8;
    /** A table of section coefficients, sections 1 to 8. */
    using Table = std::array<float, maxStages>;
    /** Section coefficients of the A branches. */
    static constexpr Table tableA{0.35f, -0.48f, 0.58f, -0.66f, 0.73f, -0.8f, 0.86f, -0.91f};
    /** Section coefficients of the B branches. */
    static constexpr Table tableB{-0.4f, 0.53f, -0.62f, 0.7f, -0.77f, 0.83f, -0.88f, 0.93f};

    /** Sections used at a quality: all eight for Studio, the first five for Live. */
    static int stagesFor (Quality quality) noexcept { return quality == Quality::Studio ? 8 : 5; }

    /** Installs a coefficient table and the number of sections in use. Keeps the states. Real-time safe. */
    void install (const Table& table, int stagesInUse) noexcept;
    /** Clears the section states. Real-time safe. */
    void clear() noexcept { states.fill (0.0f); }

    /** Passes one sample through the sections in use. Real-time safe. */
    float process (float x) noexcept
    {
        for (int k = 0; k < numStages; ++k)
        {
            const auto a = coefficients[(size_t) k];
            const auto y = a * x + states[(size_t) k];
            states[(size_t) k] = x - a * y;
            x = y;
        }
        return x;
    }

    /** Section coefficients. */
    Table coefficients{};
    /** One state value per section. */
    std::array<float, maxStages> states{};
    /** Sections in use, 0..maxStages. */
    int numStages = 3;
};
} // namespace corvane
