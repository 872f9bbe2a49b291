#include "Stats.h"

#include <gtest/gtest.h>

using namespace Skyhog::Bench;

TEST(Median, OfNothingIsZero)
{
    EXPECT_DOUBLE_EQ(median({}), 0.0);
}

TEST(Median, OfAnOddCountIsTheMiddleValue)
{
    EXPECT_DOUBLE_EQ(median({5.0}), 5.0);
    EXPECT_DOUBLE_EQ(median({9.0, 1.0, 4.0}), 4.0);
}

TEST(Median, OfAnEvenCountIsTheMeanOfTheMiddleTwo)
{
    EXPECT_DOUBLE_EQ(median({4.0, 1.0, 3.0, 2.0}), 2.5);
}

TEST(Median, IgnoresTheOrder)
{
    EXPECT_DOUBLE_EQ(median({3.0, 3.0, 1.0, 100.0, 2.0}), 3.0);
}

TEST(Percentile, EndsAreTheMinimumAndMaximum)
{
    const std::vector<double> values{7.0, 3.0, 9.0, 1.0};
    EXPECT_DOUBLE_EQ(percentile(values, 0.0), 1.0);
    EXPECT_DOUBLE_EQ(percentile(values, 100.0), 9.0);
}

TEST(Percentile, InterpolatesBetweenRanks)
{
    // 0..100 in steps of 1: the p-th percentile is p.
    std::vector<double> values;
    for (int n = 100; n >= 0; --n) values.push_back(n);
    EXPECT_DOUBLE_EQ(percentile(values, 95.0), 95.0);
    EXPECT_DOUBLE_EQ(percentile(values, 12.5), 12.5);
    EXPECT_DOUBLE_EQ(percentile({10.0, 20.0}, 95.0), 19.5);
}

TEST(Percentile, FiftyIsTheMedian)
{
    const std::vector<double> values{4.0, 8.0, 1.0, 2.0, 6.0, 5.0};
    EXPECT_DOUBLE_EQ(percentile(values, 50.0), median(values));
}

TEST(Percentile, ClampsOutOfRangeRequests)
{
    const std::vector<double> values{1.0, 2.0, 3.0};
    EXPECT_DOUBLE_EQ(percentile(values, -5.0), 1.0);
    EXPECT_DOUBLE_EQ(percentile(values, 250.0), 3.0);
    EXPECT_DOUBLE_EQ(percentile({}, 95.0), 0.0);
}

TEST(Slope, OfAStraightLineIsItsGradient)
{
    EXPECT_DOUBLE_EQ(leastSquaresSlope({0.0, 1.0, 2.0, 3.0}, {1.0, 3.0, 5.0, 7.0}), 2.0);
    EXPECT_NEAR(leastSquaresSlope({0.5, 1.5, 4.0}, {10.0, 9.5, 8.25}), -0.5, 1e-12);
}

TEST(Slope, OfAFlatSeriesIsZero)
{
    EXPECT_DOUBLE_EQ(leastSquaresSlope({0.0, 1.0, 2.0}, {4.0, 4.0, 4.0}), 0.0);
}

TEST(Slope, FitsNoisyPointsByLeastSquares)
{
    // (0,1) (1,0) (2,3) (3,2): covariance 3 over x variance 5, so y = 0.6x + 0.6.
    EXPECT_NEAR(leastSquaresSlope({0.0, 1.0, 2.0, 3.0}, {1.0, 0.0, 3.0, 2.0}), 0.6, 1e-12);
}

TEST(Slope, IsZeroWithoutEnoughDistinctPoints)
{
    EXPECT_DOUBLE_EQ(leastSquaresSlope({}, {}), 0.0);
    EXPECT_DOUBLE_EQ(leastSquaresSlope({1.0}, {5.0}), 0.0);
    EXPECT_DOUBLE_EQ(leastSquaresSlope({2.0, 2.0}, {1.0, 5.0}), 0.0);
    EXPECT_DOUBLE_EQ(leastSquaresSlope({1.0, 2.0}, {1.0}), 0.0);
}
