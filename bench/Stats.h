// Order statistics and trends over measured samples. Pure functions on plain
// vectors, so they are unit-tested without a window or a GPU.
#pragma once
#include <vector>

namespace Skyhog::Bench {

// The middle value; the mean of the two middle values for an even count; 0 for none.
double median(std::vector<double> values);

// The p-th percentile (p in 0..100, clamped) with linear interpolation between
// the closest ranks, so percentile(v, 50) == median(v); 0 for no values.
double percentile(std::vector<double> values, double p);

// The least-squares slope of y over x (dy/dx); 0 when there are fewer than two
// points, the sizes differ, or every x is the same.
double leastSquaresSlope(const std::vector<double>& x, const std::vector<double>& y);

} // namespace Skyhog::Bench
