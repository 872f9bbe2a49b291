// The sky cube: which picture lands on which face, and how the view moves it.
#include "scene/SkyBox.h"
#include "render/TextureLoader.h"
#include "tests/scene/SceneTest.h"

#include <glm/gtc/matrix_transform.hpp>

#include <filesystem>

namespace SkyhogTest {
namespace {

const std::string SkyVertex = R"(#version 330 core
layout(location = 0) in vec3 aPos;
uniform mat4 view;
uniform mat4 projection;
out vec3 direction;
void main() { direction = aPos; gl_Position = projection * view * vec4(aPos, 1.0); }
)";

const std::string SkyFragment = R"(#version 330 core
in vec3 direction;
uniform samplerCube skybox;
out vec4 color;
void main() { color = vec4(texture(skybox, direction).rgb, 1.0); }
)";

const Rgb Right{255, 0, 0}, Left{0, 255, 0}, Top{0, 0, 255}, Bottom{255, 255, 0}, Back{0, 255, 255}, Front{255, 0, 255};

class SkyBoxTest : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        writePicture("Models/Skybox/right.jpg", Right);
        writePicture("Models/Skybox/left.jpg", Left);
        writePicture("Models/Skybox/top.jpg", Top);
        writePicture("Models/Skybox/bottom.jpg", Bottom);
        writePicture("Models/Skybox/back.jpg", Back);
        writePicture("Models/Skybox/front.jpg", Front);
        program_ = makeProgram("SkyBox", SkyVertex, SkyFragment);
    }

    // Renders the sky as the frame renderer does, for a camera at eye looking along front.
    void render(const Skyhog::Scene::SkyBox& sky, glm::vec3 eye, glm::vec3 front, glm::vec3 up) const
    {
        const glm::mat4 view = glm::lookAt(eye, eye + front, up);
        sky.getShader().use();
        sky.getShader().setMat4("view", glm::mat4(glm::mat3(view))); // translation removed
        sky.getShader().setMat4("projection", glm::perspective(1.0f, static_cast<float>(Width) / Height, 0.1f, 100.0f));
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        glDepthMask(GL_FALSE);
        sky.draw();
        glDepthMask(GL_TRUE);
    }

    Rgb straightAhead(const Skyhog::Scene::SkyBox& sky, glm::vec3 front, glm::vec3 up = {0, 1, 0}) const
    {
        render(sky, glm::vec3(0.0f), front, up);
        return pixel(Width / 2, Height / 2);
    }

    std::unique_ptr<Skyhog::ShaderProgram> program_;
};

TEST_F(SkyBoxTest, EachDirectionShowsItsPicture)
{
    const Skyhog::Scene::SkyBox sky(*program_);
    const OffscreenTarget screen(Width, Height);
    EXPECT_TRUE(near(straightAhead(sky, {0, 0, 1}), Back)) << "+Z shows back.jpg";
    EXPECT_TRUE(near(straightAhead(sky, {0, 0, -1}), Front)) << "-Z shows front.jpg";
    EXPECT_TRUE(near(straightAhead(sky, {1, 0, 0}), Right));
    EXPECT_TRUE(near(straightAhead(sky, {-1, 0, 0}), Left));
    EXPECT_TRUE(near(straightAhead(sky, {0, 1, 0}, {0, 0, -1}), Top));
    EXPECT_TRUE(near(straightAhead(sky, {0, -1, 0}, {0, 0, 1}), Bottom));
    // draw() leaves unit 0 active with the cube map on it.
    EXPECT_EQ(activeUnit(), GL_TEXTURE0);
    GLint cube = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_CUBE_MAP, &cube);
    EXPECT_EQ(static_cast<GLuint>(cube), sky.getCubeMapTexture());
}

TEST_F(SkyBoxTest, MovingTheCameraLeavesTheSkyTurningItDoesNot)
{
    const Skyhog::Scene::SkyBox sky(*program_);
    const OffscreenTarget screen(Width, Height);
    const glm::vec3 front = glm::normalize(glm::vec3(1.0f, 0.3f, 1.0f)); // a corner: three faces in view
    render(sky, {0, 0, 0}, front, {0, 1, 0});
    const Pixels atOrigin = readPixels(0, 0, Width, Height);
    render(sky, {40, -7, 12}, front, {0, 1, 0});
    const Pixels moved = readPixels(0, 0, Width, Height);
    render(sky, {0, 0, 0}, glm::vec3(glm::rotate(glm::mat4(1.0f), 0.3f, glm::vec3(0, 1, 0)) * glm::vec4(front, 0)),
           {0, 1, 0});
    const Pixels turned = readPixels(0, 0, Width, Height);
    EXPECT_TRUE(atOrigin.rgba == moved.rgba);
    EXPECT_FALSE(atOrigin.rgba == turned.rgba);
}

TEST_F(SkyBoxTest, MipmappedFilterStillSamplesAndAMissingFaceGivesBlack)
{
    {
        const Skyhog::Scene::SkyBox sky(*program_);
        const OffscreenTarget screen(Width, Height);
        sky.setTextureFilter(GL_LINEAR_MIPMAP_LINEAR, GL_NEAREST);
        glBindTexture(GL_TEXTURE_CUBE_MAP, sky.getCubeMapTexture());
        GLint minFilter = 0, magFilter = 0;
        glGetTexParameteriv(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, &minFilter);
        glGetTexParameteriv(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, &magFilter);
        glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
        EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_LINEAR);
        EXPECT_EQ(magFilter, GL_NEAREST);
        EXPECT_TRUE(near(straightAhead(sky, {0, 0, 1}), Back));
    }
    // Without one face the cube map is incomplete: no crash, no message, black sky.
    std::filesystem::remove(tree_.root() / "Skyhog/Models/Skybox/top.jpg");
    Skyhog::clearDecodedImageCache();
    testing::internal::CaptureStdout();
    const Skyhog::Scene::SkyBox sky(*program_);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    const OffscreenTarget screen(Width, Height);
    EXPECT_TRUE(near(straightAhead(sky, {0, 0, 1}), {0, 0, 0}));
}

} // namespace
} // namespace SkyhogTest
