#include "GuitarBandSplitter.h"

namespace corvane
{
void GuitarBandSplitter::prepare (double sampleRate)
{
    lowSplit.prepare (sampleRate, defaultLowCutoffHz);
    bodySplit.prepare (sampleRate, bodyCutoffHz);
}

void GuitarBandSplitter::reset() noexcept
{
    lowSplit.reset();
    bodySplit.reset();
}
} // namespace corvane
