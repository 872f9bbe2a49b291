// Culling a loaded model: the frustum reads its loaded box and stored matrix.
#include "render/Model.h"
#include "scene/Frustum.h"
#include "tests/scene/SceneTest.h"

namespace SkyhogTest {
namespace {

const std::string Plain = fragmentShader("vec4(uv, 0.0, 1.0)");

using FrustumModelTest = SceneTest;

TEST_F(FrustumModelTest, UsesTheStoredMatrixAndRefreshesTheWorldCorners)
{
    writeSquareModel("Models/square.obj", "");
    const auto program = makeProgram("Shadow", ModelVertexShader, Plain);
    Skyhog::Scene::Model square(glm::mat4(1.0f), program.get(), program.get(), "../../Skyhog/Models/square.obj");

    // The viewer at the origin looking down -Z, 90 degrees wide.
    Skyhog::Helper::Frustum frustum(Width, Height);
    frustum.setLens(90.0f, 1.0f, 1.0f, 100.0f);
    frustum.update({0, 0, 0}, {0, 0, -1}, {0, 1, 0}, {1, 0, 0});

    // Stored matrix T(0,-1.75,0) * S(0.2) * T(0,0,-50): 10 units ahead of the eye.
    square.translate({0.0f, 0.0f, -50.0f});
    square.updateModelMatrix();
    EXPECT_EQ(frustum.test(square), Skyhog::Helper::Frustum::Inside);
    EXPECT_FLOAT_EQ(square.center().z, -10.0f) << "the test refreshes the remembered corners";

    // Moved behind the eye, but only the stored matrix counts until it is updated.
    square.translate({0.0f, 0.0f, 100.0f});
    EXPECT_EQ(frustum.test(square), Skyhog::Helper::Frustum::Inside);
    square.updateModelMatrix();
    EXPECT_EQ(frustum.test(square), Skyhog::Helper::Frustum::Outside);
    EXPECT_FLOAT_EQ(square.center().z, 10.0f);
}

} // namespace
} // namespace SkyhogTest
