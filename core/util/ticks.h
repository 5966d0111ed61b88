#pragma once

namespace kv::util {

// An axis range with ticks at a round step (1, 2 or 5 times a power of ten): the range starts
// and ends on a tick and holds every value asked for.
struct TAxisTicks {
    double Min = 0;
    double Max = 1;
    double Step = 1;
    int Decimals = 0;   // digits after the separator that a tick label needs
    int Count() const;  // number of ticks, both ends included
};

// At most about `maxTicks` intervals over [min, max]. `wholeSteps` keeps the step at 1 or more
// (counts, draw numbers). An empty span is widened to one step around the value.
TAxisTicks NiceTicks(double min, double max, int maxTicks, bool wholeSteps);

} // namespace kv::util
