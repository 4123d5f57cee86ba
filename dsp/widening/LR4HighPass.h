#pragma once

#include "LR4Filter.h"

namespace corvane
{
/** Fourth-order Linkwitz-Riley high-pass (two Butterworth biquads in series). */
class LR4HighPass : public LR4Filter
{
protected:
    std::array<double, 3> designNumerator (double cosW0, double a0) const noexcept override;
};
} // namespace corvane
