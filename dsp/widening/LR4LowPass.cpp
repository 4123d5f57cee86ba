#include "LR4LowPass.h"

namespace corvane
{
std::array<double, 3> LR4LowPass::designNumerator (double cosW0, double a0) const noexcept
{
    const auto b0 = (1.0 - cosW0) * 0.5 / a0;
    return {b0, (1.0 - cosW0) / a0, b0};
}
} // namespace corvane
