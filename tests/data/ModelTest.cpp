// Every model must load the way the game loads it, with one diffuse picture
// per mesh, and the creatures must have the shape and frame the game expects.
#include "DataTree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <tuple>

#include <glm/geometric.hpp>

namespace SkyhogTest {
namespace {

std::string testName(const testing::TestParamInfo<std::string>& info)
{
    std::string name = std::filesystem::path(info.param).stem().string();
    std::replace_if(
        name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
}

class EveryModel : public testing::TestWithParam<std::string> {};

TEST_P(EveryModel, ImportsWithNormalsUvsAndOneDiffusePicture)
{
    ModelData model = loadModel(GetParam());
    ASSERT_TRUE(model.loaded) << model.error;
    ASSERT_FALSE(model.meshes.empty());
    EXPECT_LE(model.meshes.size(), 4u) << "few meshes per model keep draw calls down";
    const std::filesystem::path folder = std::filesystem::path(DataRoot + GetParam()).parent_path();
    for (const MeshData& mesh : model.meshes) {
        SCOPED_TRACE(mesh.name);
        EXPECT_FALSE(mesh.faces.empty());
        EXPECT_TRUE(mesh.hasNormals);
        EXPECT_TRUE(mesh.hasUvs);
        // The shadow map sits on texture unit 1, so a mesh may bind only its diffuse map.
        EXPECT_EQ(mesh.diffuseCount, 1u);
        EXPECT_EQ(mesh.specularCount, 0u);
        ASSERT_FALSE(mesh.diffuse.empty());
        EXPECT_FALSE(std::filesystem::path(mesh.diffuse).is_absolute());
        Picture picture = loadPicture((folder / mesh.diffuse).string());
        ASSERT_TRUE(picture.loaded) << (folder / mesh.diffuse);
        EXPECT_GE(std::min(picture.width, picture.height), 64);
        EXPECT_LE(std::max(picture.width, picture.height), 256);
        for (const glm::vec3& n : mesh.normals) ASSERT_NEAR(glm::length(n), 1.0f, 0.01f);
        // The shaders dress and move texture coordinates from 64 up as a
        // person's; anything else up there would change too, and any part of
        // the person below would stand still and keep the picture's colours.
        const bool person = GetParam().find("Bystander") != std::string::npos;
        const auto [lowest, highest] =
            std::minmax_element(mesh.uvs.begin(), mesh.uvs.end(), [](auto a, auto b) { return a.x < b.x; });
        if (person) {
            EXPECT_GE(lowest->x, 64.0f) << "part of the person is not marked for the shaders";
            EXPECT_GE(highest->x, 192.0f) << "the person's skin is not marked for the lit shader";
        } else {
            EXPECT_LT(highest->x, 64.0f);
        }
    }
}

TEST_P(EveryModel, FacesWindTowardsTheirNormals)
{
    // Counter-clockwise front faces must agree with the written normals, or
    // back-face culling and lighting both go wrong. And no face may lie on top
    // of another (a two-sided leaf with both sides in one plane): the depth
    // test lets the dark underside through in specks and lines.
    ModelData model = loadModel(GetParam());
    ASSERT_TRUE(model.loaded) << model.error;
    for (const MeshData& mesh : model.meshes) {
        size_t checked = 0, wrong = 0;
        std::map<std::array<std::tuple<float, float, float>, 3>, int> corners;
        for (const glm::uvec3& f : mesh.faces) {
            std::array<std::tuple<float, float, float>, 3> key;
            for (int i = 0; i < 3; ++i) {
                const glm::vec3& p = mesh.positions[f[i]];
                key[i] = {p.x, p.y, p.z};
            }
            std::sort(key.begin(), key.end());
            ASSERT_EQ(++corners[key], 1) << mesh.name << ": two faces share all three corners";
            glm::vec3 cross =
                glm::cross(mesh.positions[f.y] - mesh.positions[f.x], mesh.positions[f.z] - mesh.positions[f.x]);
            if (glm::length(cross) < 1e-6f) continue;
            glm::vec3 n = mesh.normals[f.x] + mesh.normals[f.y] + mesh.normals[f.z];
            ++checked;
            if (glm::dot(cross, n) <= 0) ++wrong;
        }
        EXPECT_GT(checked, 0u);
        EXPECT_EQ(wrong, 0u) << mesh.name << ": " << wrong << " of " << checked
                             << " triangles face away from their normals";
    }
}

INSTANTIATE_TEST_SUITE_P(Data, EveryModel, testing::ValuesIn(modelFiles()), testName);

TEST(ModelBudget, TriangleCountsSuitSoftwareRendering)
{
    // The scene is drawn five times a frame.
    struct Limit {
        std::string file;
        size_t most;
    } limits[] = {
        {"Models/Pig/pig9.obj", 2000},
        {"Models/Pig/left_wing.obj", 400},
        {"Models/People/Bystand/Bystander.obj", 2000},
        {"Models/Landscape/boatyMcBoatface.obj", 800},
        {"Models/Ground/islandOnly.obj", 4000},
        {"Models/Ground/seeGround.obj", 4000},
        {"Models/Ground/water.obj", 2},
    };
    for (const Limit& l : limits) {
        ModelData model = loadModel(l.file);
        ASSERT_TRUE(model.loaded) << l.file;
        EXPECT_LE(model.triangleCount(), l.most) << l.file;
    }
    size_t palms = 0;
    for (int i = 1; i <= 41; ++i) {
        ModelData palm = loadModel("Models/Landscape/Palms/palm" + std::to_string(i) + ".obj");
        ASSERT_TRUE(palm.loaded);
        EXPECT_GE(palm.triangleCount(), 100u);
        EXPECT_LE(palm.triangleCount(), 450u) << "palm" << i;
        palms += palm.triangleCount();
    }
    EXPECT_LE(palms, 41u * 350u);
}

// Width in x of the vertices within `depth` of the given z.
float widthNear(const ModelData& model, float z, float depth)
{
    float lo = 1e9f, hi = -1e9f;
    for (const MeshData& m : model.meshes)
        for (const glm::vec3& p : m.positions)
            if (std::abs(p.z - z) <= depth) lo = std::min(lo, p.x), hi = std::max(hi, p.x);
    return hi - lo;
}

TEST(Pig, IsSixToNineUnitsLongWithItsSnoutTowardsPlusZ)
{
    // Small enough beside the island that the scale reads, big enough to hit with.
    ModelData pig = loadModel("Models/Pig/pig9.obj");
    ASSERT_TRUE(pig.loaded);
    glm::vec3 size = pig.hi - pig.lo;
    EXPECT_GE(size.z, 6.0f);
    EXPECT_LE(size.z, 9.0f);
    EXPECT_GT(size.z, size.x);
    EXPECT_GT(size.z, size.y);
    // The origin is near the middle of the body.
    glm::vec3 centre = (pig.lo + pig.hi) * 0.5f;
    EXPECT_LT(glm::length(centre), 1.0f);
    // A broad flat snout at the front, a thin curly tail at the back.
    EXPECT_GT(widthNear(pig, pig.hi.z, 0.6f), 1.5f * widthNear(pig, pig.lo.z, 0.6f));
    // The legs, tucked under the belly, are still its lowest point, well below the middle.
    EXPECT_LT(pig.lo.y, -2.0f);
    // The body comes last, so the game's bounding box is the whole pig.
    EXPECT_EQ(pig.last().lo, pig.lo);
    EXPECT_EQ(pig.last().hi, pig.hi);
}

TEST(Pig, WingsSitOnTheBackAndSpreadPastTheBody)
{
    ModelData pig = loadModel("Models/Pig/pig9.obj");
    ModelData left = loadModel("Models/Pig/left_wing.obj");
    ModelData right = loadModel("Models/Pig/right_wing.obj");
    ASSERT_TRUE(pig.loaded && left.loaded && right.loaded);
    // The left wing is on +x, the pig's left when it faces +z.
    EXPECT_GT(left.lo.x, 0.0f);
    EXPECT_LT(right.hi.x, 0.0f);
    EXPECT_NEAR(left.lo.x, -right.hi.x, 1e-3f);
    EXPECT_NEAR(left.hi.x, -right.lo.x, 1e-3f);
    EXPECT_EQ(left.lo.y, right.lo.y);
    EXPECT_EQ(left.hi.z, right.hi.z);
    EXPECT_GT(left.hi.x, pig.hi.x + 1.0f);
    // Roots sit in the shoulders on the z axis, so the small rolls the game
    // turns them by about that axis flap them without tearing them off.
    EXPECT_LT(left.lo.x, 0.6f);
    float rootY = 1e9f;
    for (const glm::vec3& p : left.last().positions)
        if (p.x < left.lo.x + 0.1f) rootY = std::min(rootY, p.y);
    EXPECT_LT(std::abs(rootY), 0.3f);
    // A wing is a thin closed volume: every edge, welded by position, joins two faces.
    std::map<std::pair<std::tuple<float, float, float>, std::tuple<float, float, float>>, int> edges;
    auto key = [](const glm::vec3& p) { return std::make_tuple(p.x, p.y, p.z); };
    for (const MeshData& m : left.meshes)
        for (const glm::uvec3& f : m.faces)
            for (int i = 0; i < 3; ++i) {
                auto a = key(m.positions[f[i]]), b = key(m.positions[f[(i + 1) % 3]]);
                ++edges[std::minmax(a, b)];
            }
    for (const auto& [edge, faces] : edges) ASSERT_EQ(faces, 2) << "the wing has a hole or a fin";
    EXPECT_GT(left.lo.z, pig.lo.z);
    EXPECT_LT(left.hi.z, pig.hi.z);
}

TEST(Bystander, StandsOnItsOriginAndItsLastMeshIsTheWholePerson)
{
    ModelData person = loadModel("Models/People/Bystand/Bystander.obj");
    ASSERT_TRUE(person.loaded);
    EXPECT_NEAR(person.lo.y, 0.0f, 0.005f);
    // Larger than life so it reads from the pig, hat included, but not a giant.
    EXPECT_GE(person.hi.y, 1.2f);
    EXPECT_LE(person.hi.y, 1.35f);
    glm::vec3 centre = (person.lo + person.hi) * 0.5f;
    EXPECT_LT(std::abs(centre.x), 0.05f);
    EXPECT_LT(std::abs(centre.z), 0.05f);
    // Shoulders are narrower than the height, like a person, not a box.
    EXPECT_LT(person.hi.x - person.lo.x, 0.5f * person.hi.y);
    // The hit test uses the box of the last mesh.
    EXPECT_EQ(person.last().lo, person.lo);
    EXPECT_EQ(person.last().hi, person.hi);
    // The vertex shaders pose the person; the shadow pass's copy of that code
    // must be the same, or a person's shadow would stand or wave otherwise.
    auto poseCode = [](const char* shader) {
        std::ifstream in(DataRoot + "Shaders/" + shader);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const size_t from = text.find("// --- The people's shapes");
        const size_t body = text.find("void posePerson(", from);
        const size_t to = text.find("\n}\n", body);
        return from == std::string::npos || body == std::string::npos || to == std::string::npos
            ? std::string() : text.substr(from, to - from);
    };
    EXPECT_FALSE(poseCode("Shadow.vert").empty());
    EXPECT_EQ(poseCode("Shadow.vert"), poseCode("Depth.vert"));
}

} // namespace
} // namespace SkyhogTest
