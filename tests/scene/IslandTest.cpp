// The island: its distortion picture on unit 2 and the state its draw leaves.
#include "scene/Island.h"
#include "tests/scene/SceneTest.h"

#include <glm/gtc/matrix_transform.hpp>

namespace SkyhogTest {
namespace {

// Left half the sand material, right half the distortion picture.
const std::string WithDistortion = R"(#version 330 core
in vec2 uv;
uniform sampler2D texture_diffuse1;
uniform sampler2D dudvMap;
out vec4 color;
void main()
{
    vec3 c = gl_FragCoord.x < 512.0 ? texture(texture_diffuse1, uv).rgb : texture(dudvMap, uv).rgb;
    color = vec4(c, 1.0);
}
)";

const std::string WithoutDistortion = showTextureShader("texture_diffuse1");

const Rgb Sand{230, 200, 120}, SandRipples{60, 120, 250};

class IslandTest : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        // Two material pictures: the meshes leave unit 1 active, which draw() must undo.
        writeSquareModel("Models/Ground/islandOnly.obj", "sand.jpg", "shine.jpg");
        writePicture("Models/Ground/sand.jpg", Sand);
        writePicture("Models/Ground/shine.jpg", {255, 255, 255});
        writePicture("Models/Ground/dudv_sand.jpg", SandRipples);
        depth_ = makeProgram("Depth", ModelVertexShader, WithoutDistortion);
    }

    // Places the island so that its model matrix is the identity and poses it far away.
    std::unique_ptr<Skyhog::Scene::Island> makeIsland(Skyhog::ShaderProgram& program)
    {
        auto island = std::make_unique<Skyhog::Scene::Island>(glm::mat4(1.0f), &program, depth_.get(),
                                                              "../../Skyhog/Models/Ground/islandOnly.obj");
        island->translate({0.0f, 8.75f, 0.0f});
        island->scale({5.0f, 5.0f, 5.0f});
        island->setPose(glm::translate(glm::mat4(1.0f), glm::vec3(100.0f, 0.0f, 0.0f)));
        return island;
    }

    std::unique_ptr<Skyhog::ShaderProgram> depth_;
};

TEST_F(IslandTest, ConstructionWritesTheFolderThenLoadsTheSandDistortion)
{
    const auto program = makeProgram("Island", ModelVertexShader, WithDistortion);
    testing::internal::CaptureStdout();
    const auto island = makeIsland(*program);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "../../Skyhog/Models/Ground\n../../Skyhog/Models/Ground/dudv_sand.jpg\n");
    GLint width = 0;
    glBindTexture(GL_TEXTURE_2D, island->getDistortionTexture());
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(width, 4);
}

TEST_F(IslandTest, DrawOffersTheDistortionOnUnitTwoAndLeavesUnitZeroActive)
{
    const auto program = makeProgram("Island", ModelVertexShader, WithDistortion);
    const auto island = makeIsland(*program);
    const OffscreenTarget screen(Width, Height);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glUseProgram(0); // draw() makes its own program current

    island->draw();
    EXPECT_TRUE(near(pixel(256, 384), Sand));
    EXPECT_TRUE(near(pixel(768, 384), SandRipples));
    EXPECT_EQ(activeUnit(), GL_TEXTURE0);
    EXPECT_EQ(boundTexture(2), island->getDistortionTexture());
    EXPECT_EQ(island->modelMatrix(), island->baseMatrix()) << "stored without the pose";
}

TEST_F(IslandTest, ProgramWithoutDistortionSamplerStillDraws)
{
    const auto program = makeProgram("Island", ModelVertexShader, WithoutDistortion);
    const auto island = makeIsland(*program);
    const OffscreenTarget screen(Width, Height);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);

    testing::internal::CaptureStdout();
    island->draw();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(near(pixel(768, 384), Sand));
    EXPECT_EQ(activeUnit(), GL_TEXTURE0);
    EXPECT_EQ(boundTexture(2), island->getDistortionTexture());
}

} // namespace
} // namespace SkyhogTest
