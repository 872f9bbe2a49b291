// EXPECT_NEAR for each component of a vector.
#pragma once
#include <glm/vec3.hpp>
#include <gtest/gtest.h>

namespace SkyhogTest {

inline void expectNear(const glm::vec3& actual, const glm::vec3& expected, float tolerance = 1e-4f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

} // namespace SkyhogTest
