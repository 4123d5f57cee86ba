#include "AllpassChain.h"

#include <algorithm>

namespace corvane
{
void AllpassChain::install (const Table& table, int stagesInUse) noexcept
{
    coefficients = table;
    numStages = std::clamp (stagesInUse, 0, maxStages);
}
} // namespace corvane
