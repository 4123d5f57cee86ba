#pragma once

namespace corvane
{
/** Processing quality: picks all-pass length, delay interpolation and modulation rate at once. */
enum class Quality
{
    Live = 0,  /**< five all-pass sections, linear delay reads, 0.053 Hz modulation, 7.2 kHz side low-pass */
    Studio = 1 /**< eight all-pass sections, cubic delay reads, 0.071 Hz modulation, 8 kHz side low-pass */
};
} // namespace corvane
