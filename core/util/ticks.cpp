#include "core/util/ticks.h"

#include <algorithm>
#include <cmath>

namespace kv::util {

int TAxisTicks::Count() const
{
    return static_cast<int>(std::lround((Max - Min) / Step)) + 1;
}

TAxisTicks NiceTicks(double min, double max, int maxTicks, bool wholeSteps)
{
    if (!std::isfinite(min) || !std::isfinite(max)) min = max = 0;
    if (min > max) std::swap(min, max);
    maxTicks = std::max(1, maxTicks);
    double span = max - min;
    if (span <= 0) span = std::max(1.0, std::abs(min));
    const double raw = span / maxTicks;
    double scale = std::pow(10.0, std::floor(std::log10(raw)));
    double step = scale * 10;
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * scale >= raw * (1 - 1e-9)) {
            step = m * scale;
            break;
        }
    if (wholeSteps) step = std::max(1.0, std::round(step));
    TAxisTicks t;
    t.Step = step;
    // A value a rounding error above a tick stays on it: 0.30000000000000004 has tick 0.3.
    t.Min = std::floor(min / step + 1e-9) * step;
    t.Max = std::ceil(max / step - 1e-9) * step;
    if (t.Max <= t.Min) t.Max = t.Min + step;
    t.Decimals = step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
    return t;
}

} // namespace kv::util
