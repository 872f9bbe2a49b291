// The world only comes out whole when every scenery file sits where the game's
// placements put it: these tests check the written files in world units.
#include "DataTree.h"
#include "IslandLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include <glm/geometric.hpp>

namespace SkyhogTest {
namespace {

using namespace datagen::layout;

constexpr float ShadowBox = 50.0f; // the shadow map and map view cover x, z in [-50, 50]

glm::vec3 worldLo(const ModelData& m)
{
    return sceneryToWorld(m.lo);
}
glm::vec3 worldHi(const ModelData& m)
{
    return sceneryToWorld(m.hi);
}

void expectInsideShadowBox(const ModelData& m, const std::string& what)
{
    EXPECT_GE(worldLo(m).x, -ShadowBox) << what;
    EXPECT_GE(worldLo(m).z, -ShadowBox) << what;
    EXPECT_LE(worldHi(m).x, ShadowBox) << what;
    EXPECT_LE(worldHi(m).z, ShadowBox) << what;
}

class Scene : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        island_ = new ModelData(loadModel("Models/Ground/islandOnly.obj"));
        for (int i = 1; i <= PeopleCount; ++i) {
            ModelData marker = loadModel("Models/Positions/position" + std::to_string(i) + ".obj");
            spots_.push_back(marker.loaded ? sceneryToWorld(marker.lo) : glm::vec3(1e9f));
        }
    }
    static void TearDownTestSuite()
    {
        delete island_;
        island_ = nullptr;
        spots_.clear();
    }
    static const MeshData& islandMesh() { return island_->last(); }

    static ModelData* island_;
    static std::vector<glm::vec3> spots_; // world position of every person's feet
};
ModelData* Scene::island_ = nullptr;
std::vector<glm::vec3> Scene::spots_;

TEST_F(Scene, WaterPlaneSitsAtTheWaterLevelAndReachesPastTheFarPlane)
{
    ModelData water = loadModel("Models/Ground/water.obj");
    ASSERT_TRUE(water.loaded);
    EXPECT_FLOAT_EQ(WaterFileY, 0.546875f);
    for (const glm::vec3& p : water.last().positions)
        EXPECT_NEAR(WaterFileScale * p.y + WaterFileOffsetY, WaterLevel, 1e-3f);
    // The pig flies anywhere, so Water.vert centres the plane under the eye:
    // its reach round the origin is its reach round the eye wherever that is.
    // The far plane is 100 units ahead; its corners reach further, on the
    // widest windows (32:9) about 230 units, with the lens's half-height
    // tangent of 0.558.
    const float tangent = 0.558f, reach = 100.0f * std::sqrt(1 + tangent * tangent * (1 + 32.0f * 32.0f / 81.0f));
    EXPECT_NEAR(WaterFileScale * (water.lo.x + water.hi.x), 0.0f, 1.0f) << "centred on the origin";
    EXPECT_NEAR(WaterFileScale * (water.lo.z + water.hi.z), 0.0f, 1.0f) << "centred on the origin";
    EXPECT_GE(WaterFileScale * water.hi.x, reach);
    EXPECT_GE(WaterFileScale * water.hi.z, reach);
    for (const glm::vec3& n : water.last().normals) EXPECT_GT(n.y, 0.99f);
    float uvSpan = 0;
    for (const glm::vec2& uv : water.last().uvs) uvSpan = std::max(uvSpan, uv.x);
    EXPECT_GE(uvSpan, 10.0f) << "the water picture should repeat across the sea";
}

TEST_F(Scene, SeaGroundLiesUnderTheWholeVisibleSea)
{
    ModelData ground = loadModel("Models/Ground/seeGround.obj");
    ASSERT_TRUE(ground.loaded);
    EXPECT_LE(worldLo(ground).x, -110.0f);
    EXPECT_LE(worldLo(ground).z, -110.0f);
    EXPECT_GE(worldHi(ground).x, 110.0f);
    EXPECT_GE(worldHi(ground).z, 110.0f);
    EXPECT_GT(worldLo(ground).y, -9.0f);
    EXPECT_LT(worldHi(ground).y, -7.0f);
    EXPECT_GT(worldHi(ground).y - worldLo(ground).y, 0.5f) << "the floor should undulate";
}

TEST_F(Scene, IslandIsAGentleSandyDomeAheadOfTheStart)
{
    ASSERT_TRUE(island_->loaded);
    EXPECT_GE(worldHi(*island_).y, -3.5f);
    EXPECT_LE(worldHi(*island_).y, -3.0f);
    // Its beach slopes down below the sea floor, so no gap shows under water.
    EXPECT_LT(worldLo(*island_).y, -9.0f);
    expectInsideShadowBox(*island_, "island");
    // The dry part spans about 15 units either way of (0, 20), bays and points included.
    glm::vec2 lo(1e9f), hi(-1e9f);
    for (const glm::vec3& p : islandMesh().positions) {
        glm::vec3 w = sceneryToWorld(p);
        if (w.y < WaterLevel) continue;
        lo = glm::min(lo, glm::vec2(w.x, w.z));
        hi = glm::max(hi, glm::vec2(w.x, w.z));
    }
    glm::vec2 centre = (lo + hi) * 0.5f, radius = (hi - lo) * 0.5f;
    EXPECT_NEAR(centre.x, 0.0f, 2.0f);
    EXPECT_NEAR(centre.y, 20.0f, 2.0f);
    EXPECT_NEAR(radius.x, 15.0f, 2.5f);
    EXPECT_NEAR(radius.y, 15.0f, 2.5f);
    EXPECT_GE(island_->triangleCount(), 1000u) << "too coarse for its coast";
}

TEST_F(Scene, IslandMeshFollowsTheLayoutHeights)
{
    // Palms and people are placed from the height function; the mesh must match it.
    for (float a = 0; a < 6.28f; a += 0.37f)
        for (float f : {0.0f, 0.3f, 0.6f, 0.9f, 1.2f}) {
            float r = coastRadius(a) * f;
            float x = IslandCentre.x + r * std::cos(a), z = IslandCentre.y + r * std::sin(a);
            std::optional<float> h = surfaceHeight(islandMesh(), x, z);
            ASSERT_TRUE(h.has_value()) << x << ", " << z;
            EXPECT_NEAR(*h, islandHeight(x, z), f > 1 ? 0.15f : 0.05f) << x << ", " << z;
        }
}

TEST_F(Scene, PeopleStandOnTheSandAboveTheWaterAndSpreadOut)
{
    ASSERT_EQ(spots_.size(), static_cast<size_t>(PeopleCount));
    for (int i = 0; i < PeopleCount; ++i) {
        SCOPED_TRACE("position" + std::to_string(i + 1));
        const glm::vec3& feet = spots_[i];
        EXPECT_NEAR(glm::distance(feet, personWorldPosition(i)), 0.0f, 1e-3f);
        std::optional<float> ground = surfaceHeight(islandMesh(), feet.x, feet.z);
        ASSERT_TRUE(ground.has_value());
        EXPECT_NEAR(feet.y, *ground, 0.03f);
        EXPECT_GT(feet.y, WaterLevel + 0.3f);
        EXPECT_LT(islandFraction(feet.x, feet.z), 0.85f);
        for (int j = 0; j < i; ++j) EXPECT_GT(glm::distance(feet, spots_[j]), 3.0f) << "too close to position" << j + 1;
    }
    // Spread over the island rather than bunched on one side.
    glm::vec3 mean(0);
    for (const glm::vec3& s : spots_) mean += s / static_cast<float>(spots_.size());
    EXPECT_LT(glm::distance(glm::vec2(mean.x, mean.z), IslandCentre), 3.0f);
}

TEST_F(Scene, PalmsGrowFromTheSandClearOfThePeople)
{
    // What a palm looks like wherever it stands: its size in triangles, its
    // height, and how far its crown reaches out from the foot. Copies of one
    // tree, moved or turned, share all three.
    struct Outline {
        size_t triangles;
        float height, reach;
    };
    std::vector<Outline> outlines;
    for (int i = 1; i <= PalmCount; ++i) {
        std::string file = "Models/Landscape/Palms/palm" + std::to_string(i) + ".obj";
        SCOPED_TRACE(file);
        ModelData palm = loadModel(file);
        ASSERT_TRUE(palm.loaded);
        // The trunk's foot is its lowest point.
        glm::vec3 foot(0, 1e9f, 0);
        for (const glm::vec3& p : palm.last().positions)
            if (p.y < foot.y) foot = p;
        foot = sceneryToWorld(foot);
        std::optional<float> ground = surfaceHeight(islandMesh(), foot.x, foot.z);
        ASSERT_TRUE(ground.has_value());
        EXPECT_LE(foot.y, *ground + 0.02f) << "floating above the sand";
        EXPECT_GE(foot.y, *ground - 0.5f) << "buried too deep";
        EXPECT_GT(*ground, WaterLevel);
        float height = worldHi(palm).y - *ground;
        EXPECT_GE(height, 2.3f);
        EXPECT_LE(height, 4.2f);
        // Clear of where each person walks, not only of the spot.
        for (const glm::vec3& person : spots_) {
            float x = std::clamp(foot.x, person.x - PersonWalkBack, person.x + PersonWalkAhead);
            EXPECT_GT(glm::distance(glm::vec2(foot.x, foot.z), glm::vec2(x, person.z)), 1.5f);
        }
        expectInsideShadowBox(palm, file);
        float reach = 0;
        for (const glm::vec3& p : palm.last().positions) {
            glm::vec3 w = sceneryToWorld(p);
            reach = std::max(reach, glm::distance(glm::vec2(w.x, w.z), glm::vec2(foot.x, foot.z)));
        }
        outlines.push_back({palm.triangleCount(), height, reach});
    }
    for (size_t i = 0; i < outlines.size(); ++i)
        for (size_t j = 0; j < i; ++j) {
            const Outline &a = outlines[i], &b = outlines[j];
            EXPECT_FALSE(a.triangles == b.triangles && std::fabs(a.height - b.height) < 0.02f &&
                         std::fabs(a.reach - b.reach) < 0.02f)
                << "palm" << i + 1 << " is shaped like palm" << j + 1;
        }
}

TEST_F(Scene, BoatFloatsAtTheWaterlineClearOfTheIsland)
{
    ModelData boat = loadModel("Models/Landscape/boatyMcBoatface.obj");
    ASSERT_TRUE(boat.loaded);
    EXPECT_LT(worldLo(boat).y, WaterLevel - 0.2f);
    EXPECT_GT(worldLo(boat).y, WaterLevel - 1.5f);
    EXPECT_GT(worldHi(boat).y, WaterLevel + 2.0f) << "the sail should stand up";
    expectInsideShadowBox(boat, "boat");
    glm::vec3 centre = (worldLo(boat) + worldHi(boat)) * 0.5f;
    EXPECT_LT(glm::distance(glm::vec2(centre.x, centre.z), IslandCentre), 30.0f) << "near the island";
    // The hull stays in open water: the sea bed under it is deeper than its keel.
    for (const MeshData& m : boat.meshes)
        for (const glm::vec3& p : m.positions) {
            glm::vec3 w = sceneryToWorld(p);
            EXPECT_LT(islandHeight(w.x, w.z), worldLo(boat).y - 0.3f);
        }
}

TEST_F(Scene, MarkersAreTinyAndEverythingFitsTheShadowBox)
{
    for (int i = 1; i <= PeopleCount; ++i) {
        ModelData marker = loadModel("Models/Positions/position" + std::to_string(i) + ".obj");
        ASSERT_TRUE(marker.loaded);
        EXPECT_LT(glm::length(marker.hi - marker.lo), 1.0f);
        expectInsideShadowBox(marker, "position" + std::to_string(i));
    }
}

} // namespace
} // namespace SkyhogTest
