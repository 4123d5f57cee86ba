#pragma once

#include "LR4Filter.h"

namespace corvane
{
/** Fourth-order Linkwitz-Riley low-pass (two Butterworth biquads in series). */
class LR4LowPass : public LR4Filter
{
protected:
    std::array<double, 3> designNumerator (double cosW0, double a0) const noexcept override;
};
} // namespace corvane
