// View-frustum culling without OpenGL: plane orientation, the keep/reject rule
// on whole boxes, and agreement with the projection the scene is drawn with.
#include "scene/Frustum.h"
#include "tests/support/VecNear.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <random>

namespace {

using Skyhog::Helper::Frustum;
using SkyhogTest::expectNear;

// The eye at the origin looking down -Z with a 90-degree square lens: the
// side planes are the 45-degree diagonals, near is z = -1 and far z = -100.
class FrustumTest : public ::testing::Test {
protected:
    FrustumTest()
    {
        frustum.setLens(90.0f, 1.0f, 1.0f, 100.0f);
        frustum.update({0, 0, 0}, {0, 0, -1}, {0, 1, 0}, {1, 0, 0});
    }

    int testBox(glm::vec3 lo, glm::vec3 hi, const glm::mat4& matrix = glm::mat4(1.0f)) const
    {
        return frustum.test(matrix, lo, hi);
    }

    Frustum frustum{1024.0f, 768.0f};
};

TEST_F(FrustumTest, CornersAndOutwardPlanesEncloseTheView)
{
    const auto& c = frustum.corners();
    expectNear(c[0], {1, 1, -1}, 1e-3f);        // near top right
    expectNear(c[3], {-1, -1, -1}, 1e-3f);      // near bottom left
    expectNear(c[5], {-100, 100, -100}, 1e-3f); // far top left
    expectNear(c[6], {100, -100, -100}, 1e-3f); // far bottom right

    const glm::vec3 centre(0, 0, -50);
    const struct {
        Frustum::PlaneIndex plane;
        glm::vec3 beyond;
    } sides[] = {{Frustum::Top, {0, 60, -50}},   {Frustum::Bottom, {0, -60, -50}}, {Frustum::Right, {60, 0, -50}},
                 {Frustum::Left, {-60, 0, -50}}, {Frustum::Near, {0, 0, 0}},       {Frustum::Far, {0, 0, -150}}};
    for (const auto& side : sides) {
        const Frustum::Plane& plane = frustum.planes()[side.plane];
        EXPECT_LT(plane.distance(centre), 0.0f) << "plane " << side.plane;
        EXPECT_GT(plane.distance(side.beyond), 0.0f) << "plane " << side.plane;
    }
}

TEST_F(FrustumTest, BoxesAroundOrInsideTheViewStay)
{
    // A ground far larger than the view, placed like the scene's sea floor.
    const glm::mat4 scene = glm::scale(glm::translate(glm::mat4(1.0f), {0, -1.75f, 0}), glm::vec3(0.2f));
    EXPECT_EQ(testBox({-1000, -10, -1000}, {1000, 0, 1000}, scene), Frustum::Inside);
    EXPECT_EQ(testBox({-1, -1, -20}, {1, 1, -10}), Frustum::Inside);
    EXPECT_EQ(testBox({-500, -500, -50}, {500, 500, -40}), Frustum::Inside); // wider than the view
}

TEST_F(FrustumTest, BoxesBeyondOnePlaneGo)
{
    EXPECT_EQ(testBox({-1, -1, 5}, {1, 1, 10}), Frustum::Outside);         // behind the viewer
    EXPECT_EQ(testBox({-200, -1, -20}, {-150, 1, -10}), Frustum::Outside); // far to the left
    EXPECT_EQ(testBox({150, -1, -20}, {200, 1, -10}), Frustum::Outside);   // far to the right
    EXPECT_EQ(testBox({-1, 40, -20}, {1, 50, -10}), Frustum::Outside);     // overhead
    EXPECT_EQ(testBox({-1, -1, -300}, {1, 1, -200}), Frustum::Outside);    // past the far plane
    // Moved there by its matrix rather than by its box.
    EXPECT_EQ(testBox({-1, -1, -1}, {1, 1, 1}, glm::translate(glm::mat4(1.0f), {0, 0, 20})), Frustum::Outside);
}

TEST_F(FrustumTest, TouchingAPlaneNeverRejects)
{
    // The near plane is exactly z = -1: a distance of 0 is not "outside".
    EXPECT_EQ(testBox({0, 0, -1}, {0, 0, -1}), Frustum::Inside);
    EXPECT_EQ(testBox({-0.5f, -0.5f, -1}, {0.5f, 0.5f, 3}), Frustum::Inside);
    EXPECT_EQ(testBox({-0.5f, -0.5f, -0.999f}, {0.5f, 0.5f, 3}), Frustum::Outside);
}

TEST_F(FrustumTest, TurnedBoxCrossingTheViewStaysWhereItsTwoCornersWouldNot)
{
    // The unit box turned half a turn about Z and stretched: it spans x 20..-20
    // at z = -10 (straight across the view) and reaches back to z = 50.
    const glm::mat4 turned = glm::scale(
        glm::rotate(glm::translate(glm::mat4(1.0f), {20, 1, -10}), glm::pi<float>(), glm::vec3(0, 0, 1)), {40, 2, 60});
    const glm::vec3 lo(0.0f), hi(1.0f);

    // Its two stored corners, (20, 1, -10) and (-20, -1, 50), both lie beyond the right plane...
    const Frustum::Plane& right = frustum.planes()[Frustum::Right];
    EXPECT_GT(right.distance(glm::vec3(turned * glm::vec4(lo, 1))), 0.0f);
    EXPECT_GT(right.distance(glm::vec3(turned * glm::vec4(hi, 1))), 0.0f);
    // ...while the box covers the view's centre line at (0, 0, -10).
    const glm::vec3 inside(turned * glm::vec4(0.5f, 0.5f, 0.0f, 1.0f));
    for (const auto& plane : frustum.planes()) EXPECT_LT(plane.distance(inside), 0.0f);

    EXPECT_EQ(frustum.test(turned, lo, hi), Frustum::Inside);
}

TEST_F(FrustumTest, NothingIsRejectedBeforeTheFirstUpdate)
{
    Frustum fresh(1024.0f, 768.0f);
    EXPECT_EQ(fresh.test(glm::mat4(1.0f), {1000, 1000, 1000}, {1001, 1001, 1001}), Frustum::Inside);
}

TEST(FrustumProjection, PointsAreKeptExactlyWhenTheDrawnProjectionShowsThem)
{
    // The renderer's lens: 70 degrees, 4:3, near 1, far 250, any camera.
    const float ratio = 1024.0f / 768.0f;
    const glm::vec3 eye(5, 30, 20), target(-20, 10, -40);
    const glm::vec3 front = glm::normalize(target - eye);
    const glm::vec3 right = glm::normalize(glm::cross(front, glm::vec3(0, 1, 0)));
    const glm::vec3 up = glm::cross(right, front);
    Frustum frustum(1024.0f, 768.0f);
    frustum.setLens(70.0f, ratio, 1.0f, 250.0f);
    frustum.update(eye, target, up, right);
    const glm::mat4 clip = glm::perspective(glm::radians(70.0f), ratio, 1.0f, 250.0f) * glm::lookAt(eye, target, up);

    std::mt19937 random(7);
    std::uniform_real_distribution<float> coordinate(-300.0f, 300.0f);
    int kept = 0, rejected = 0;
    for (int i = 0; i < 5000; ++i) {
        const glm::vec3 point(coordinate(random), coordinate(random), coordinate(random));
        const glm::vec4 p = clip * glm::vec4(point, 1.0f);
        // How far inside the clip volume: positive inside, negative outside.
        const float margin =
            std::min({p.w - std::abs(p.x), p.w - std::abs(p.y), p.w - std::abs(p.z)}) / std::max(std::abs(p.w), 1.0f);
        if (std::abs(margin) < 1e-3f) continue; // too close to a boundary to judge
        const int expected = margin > 0 ? Frustum::Inside : Frustum::Outside;
        EXPECT_EQ(frustum.test(glm::mat4(1.0f), point, point), expected)
            << "point (" << point.x << ", " << point.y << ", " << point.z << ")";
        ++(expected == Frustum::Inside ? kept : rejected);
    }
    EXPECT_GT(kept, 100);
    EXPECT_GT(rejected, 100);
}

} // namespace
