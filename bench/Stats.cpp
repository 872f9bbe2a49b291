#include "Stats.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace Skyhog::Bench {

double median(std::vector<double> values)
{
    return percentile(std::move(values), 50.0);
}

double percentile(std::vector<double> values, double p)
{
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const double clamped = std::clamp(p, 0.0, 100.0);
    const double rank = clamped / 100.0 * static_cast<double>(values.size() - 1);
    const auto below = static_cast<std::size_t>(std::floor(rank));
    const std::size_t above = std::min(below + 1, values.size() - 1);
    const double fraction = rank - static_cast<double>(below);
    return values[below] + (values[above] - values[below]) * fraction;
}

double leastSquaresSlope(const std::vector<double>& x, const std::vector<double>& y)
{
    if (x.size() != y.size() || x.size() < 2) return 0.0;
    const auto n = static_cast<double>(x.size());
    double meanX = 0.0, meanY = 0.0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        meanX += x[i];
        meanY += y[i];
    }
    meanX /= n;
    meanY /= n;
    double covariance = 0.0, varianceX = 0.0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        covariance += (x[i] - meanX) * (y[i] - meanY);
        varianceX += (x[i] - meanX) * (x[i] - meanX);
    }
    return varianceX > 0.0 ? covariance / varianceX : 0.0;
}

} // namespace Skyhog::Bench
