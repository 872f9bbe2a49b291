// The fixed light.
#include "scene/Lamp.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

namespace {

TEST(LampTest, SitsHighAboveTheSeaInWhiteWhateverMatrixItIsGiven)
{
    const Skyhog::Scene::Lamp lamp(glm::translate(glm::mat4(1.0f), {5, 5, 5}), nullptr);
    EXPECT_EQ(lamp.worldPosition(), glm::vec3(0, 200, -30));
    EXPECT_EQ(lamp.getColor(), glm::vec3(1, 1, 1));
}

} // namespace
