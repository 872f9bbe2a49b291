// The water surface, its two window-sized targets and their debug quads.
#include "scene/Water.h"
#include "tests/scene/SceneTest.h"

#include <glm/gtc/matrix_transform.hpp>

#include <fstream>
#include <iostream>
#include <iterator>

namespace SkyhogTest {
namespace {

// Each quarter of the screen shows one sampler, so a wrong unit shows up.
const std::string FourQuarters = R"(#version 330 core
in vec2 uv;
uniform sampler2D texture_diffuse1;
uniform sampler2D reflectionTexture;
uniform sampler2D refractionTexture;
uniform sampler2D dudvMap;
out vec4 color;
void main()
{
    bool right = gl_FragCoord.x >= 512.0;
    bool top = gl_FragCoord.y >= 384.0;
    vec3 c = !top ? (right ? texture(reflectionTexture, uv).rgb : texture(texture_diffuse1, uv).rgb)
                  : (right ? texture(dudvMap, uv).rgb : texture(refractionTexture, uv).rgb);
    color = vec4(c, 1.0);
}
)";

const std::string Plain = fragmentShader("vec4(1.0, 0.5, 0.0, 1.0)");

const std::string ShowPicture = showTextureShader("screenTexture");

const Rgb Surface{40, 80, 160}, Dudv{200, 100, 50}, Reflected{255, 0, 0}, Refracted{0, 255, 0};
const std::string WaterPath = "../../Skyhog/Models/Ground/water.obj";

class WaterTest : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        writeSquareModel("Models/Ground/water.obj", "water.jpg");
        writePicture("Models/Ground/water.jpg", Surface);
        writePicture("Models/Ground/water_dudv.jpg", Dudv);
        debug_ = makeProgram("DebugWater", QuadVertexShader, ShowPicture);
        depth_ = makeProgram("Depth", ModelVertexShader, Plain);
    }

    std::unique_ptr<Skyhog::Scene::Water> makeWater(Skyhog::ShaderProgram& program, const std::string& path = WaterPath)
    {
        return std::make_unique<Skyhog::Scene::Water>(glm::mat4(1.0f), &program, debug_.get(), depth_.get(), path,
                                                      Height, Width);
    }

    static void clearTo(GLuint framebuffer, float r, float g, float b)
    {
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glClearColor(r, g, b, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    }

    std::unique_ptr<Skyhog::ShaderProgram> debug_;
    std::unique_ptr<Skyhog::ShaderProgram> depth_;
};

TEST_F(WaterTest, TargetsHaveTheWindowSizeAndTheDistortionMapIsEchoed)
{
    const auto program = makeProgram("Water", ModelVertexShader, FourQuarters);
    testing::internal::CaptureStdout();
    const auto water = makeWater(*program);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "../../Skyhog/Models/Ground/water_dudv.jpg\n");

    for (GLuint texture : {water->getReflectionTexture(), water->getRefractionTexture()}) {
        GLint width = 0, height = 0;
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        EXPECT_EQ(width, Width);
        EXPECT_EQ(height, Height);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_NE(water->getReflectionFramebuffer(), water->getRefractionFramebuffer());
    for (GLuint framebuffer : {water->getReflectionFramebuffer(), water->getRefractionFramebuffer()}) {
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

TEST_F(WaterTest, DrawBindsEachPictureToItsSamplerAndIgnoresThePose)
{
    const auto program = makeProgram("Water", ModelVertexShader, FourQuarters);
    const auto water = makeWater(*program);
    // T(0,-1.75,0) * S(0.2) * T(0,8.75,0) * S(5) is the identity: the square fills the screen.
    water->translate({0.0f, 8.75f, 0.0f});
    water->scale({5.0f, 5.0f, 5.0f});
    water->setPose(glm::translate(glm::mat4(1.0f), glm::vec3(100.0f, 0.0f, 0.0f)));
    clearTo(water->getReflectionFramebuffer(), 1, 0, 0);
    clearTo(water->getRefractionFramebuffer(), 0, 1, 0);

    const OffscreenTarget screen(Width, Height);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    program->use();
    testing::internal::CaptureStdout();
    water->draw();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    EXPECT_TRUE(near(pixel(256, 192), Surface));
    EXPECT_TRUE(near(pixel(768, 192), Reflected));
    EXPECT_TRUE(near(pixel(256, 576), Refracted));
    EXPECT_TRUE(near(pixel(768, 576), Dudv));

    EXPECT_EQ(activeUnit(), GL_TEXTURE0);
    EXPECT_EQ(boundTexture(0), 0u);
    EXPECT_EQ(boundTexture(1), water->getReflectionTexture());
    EXPECT_EQ(boundTexture(2), water->getRefractionTexture());
    EXPECT_EQ(boundTexture(3), water->getDudvTexture());
    EXPECT_EQ(water->modelMatrix(), glm::mat4(1.0f)) << "the draw's matrix is not stored";
    for (int unit = 1; unit <= 3; ++unit) {
        glActiveTexture(static_cast<GLenum>(GL_TEXTURE0 + unit));
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    glActiveTexture(GL_TEXTURE0);
}

TEST_F(WaterTest, MissingSamplersAreReportedOnEveryDrawInUnitOrder)
{
    const auto program = makeProgram("Water", ModelVertexShader, Plain);
    const auto water = makeWater(*program);
    water->translate({0.0f, 8.75f, 0.0f});
    water->scale({5.0f, 5.0f, 5.0f});
    const OffscreenTarget screen(Width, Height);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    program->use();
    testing::internal::CaptureStdout();
    water->draw();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Error: standardTex \nError: reflectiontex\nError:refractionTex\nError: dudv\n");
    EXPECT_TRUE(near(pixel(512, 384), {255, 128, 0}, 4)) << "the surface is drawn all the same";
    EXPECT_EQ(activeUnit(), GL_TEXTURE0);
}

TEST_F(WaterTest, DebugViewsShowReflectionUprightAndRefractionMirrored)
{
    const auto program = makeProgram("Water", ModelVertexShader, FourQuarters);
    const auto water = makeWater(*program);
    // Both pictures: top left red, top right green, bottom left blue, bottom right white.
    for (GLuint framebuffer : {water->getReflectionFramebuffer(), water->getRefractionFramebuffer()}) {
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glEnable(GL_SCISSOR_TEST);
        const struct {
            int x, y;
            float r, g, b;
        } quarters[] = {{0, 1, 1, 0, 0}, {1, 1, 0, 1, 0}, {0, 0, 0, 0, 1}, {1, 0, 1, 1, 1}};
        for (const auto& q : quarters) {
            glScissor(q.x * Width / 2, q.y * Height / 2, Width / 2, Height / 2);
            glClearColor(q.r, q.g, q.b, 1);
            glClear(GL_COLOR_BUFFER_BIT);
        }
        glDisable(GL_SCISSOR_TEST);
    }

    const OffscreenTarget screen(Width, Height);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    water->drawReflectionDebug();
    water->drawRefractionDebug();
    EXPECT_EQ(activeUnit(), GL_TEXTURE0);

    const Rgb red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255}, black{0, 0, 0};
    // Reflection: x -1..-0.3 (pixels 0..358), upright.
    EXPECT_TRUE(near(pixel(20, 760), red));
    EXPECT_TRUE(near(pixel(340, 760), green));
    EXPECT_TRUE(near(pixel(20, 620), blue));
    // Refraction: x 0.3..1 (pixels 666..1023), left and right swapped, still upright.
    EXPECT_TRUE(near(pixel(1003, 760), red));
    EXPECT_TRUE(near(pixel(686, 760), green));
    EXPECT_TRUE(near(pixel(1003, 620), blue));
    // Nothing at the top centre or below the strip.
    EXPECT_TRUE(near(pixel(512, 700), black));
    EXPECT_TRUE(near(pixel(20, 600), black));
}

std::string gameShader(const std::string& name)
{
    std::ifstream in(buildDataTree() / "Shaders" / name);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST_F(WaterTest, TheGamesWaterShadesFromTheEyeInTheViewNotFromCameraPos)
{
    // The game's own water program, with both pictures the sky's colour and
    // flat ripples, so that neither picture nor where it is read shows. What
    // is left (tint, glints, fog) must follow the eye of the view matrix:
    // "cameraPos" is the rig's position, which the eye looks at from 4 units
    // back in the main pass and from high above in the map pass.
    const auto program = makeProgram("Water", gameShader("Water.vert"), gameShader("Water.frag"));
    writePicture("Models/Ground/water.jpg", {0, 0, 0});
    writePicture("Models/Ground/water_dudv.jpg", {128, 128, 128});
    const auto water = makeWater(*program);
    water->rotate(-90.0f, {1.0f, 0.0f, 0.0f}); // the square lies flat, like the sea
    water->scale(glm::vec3(80.0f));
    clearTo(water->getReflectionFramebuffer(), 0.52f, 0.8f, 1.0f);
    clearTo(water->getRefractionFramebuffer(), 0.52f, 0.8f, 1.0f);

    const glm::vec3 eye(0.0f, 6.0f, -12.0f);
    const glm::mat4 view = glm::lookAt(eye, glm::vec3(0.0f, -1.75f, 0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    auto render = [&](const glm::vec3& cameraPos) {
        const OffscreenTarget screen(Width, Height);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        program->use();
        program->setMat4("projection", glm::perspective(45.0f, 4.0f / 3.0f, 0.1f, 100.0f));
        program->setMat4("view", view);
        program->setVec3("cameraPos", cameraPos);
        program->setVec3("lightPos", {0.0f, 200.0f, 10.0f});
        program->setFloat("moveFactor", 0.0f);
        water->draw();
        return readPixels(0, 0, Width, Height);
    };
    const Pixels atTheEye = render(eye);
    const Pixels farAway = render({300.0f, 40.0f, 300.0f});
    int differing = 0;
    for (std::size_t i = 0; i < atTheEye.rgba.size(); i += 4) {
        for (int c = 0; c < 3; ++c) {
            if (std::abs(atTheEye.rgba[i + c] - farAway.rgba[i + c]) > 3) {
                ++differing;
                break;
            }
        }
    }
    EXPECT_EQ(differing, 0) << "moving cameraPos moved the water's shading";
    const std::uint8_t* middle = atTheEye.at(Width / 2, Height / 4);
    EXPECT_LT(middle[2], 240) << "the water near the eye should be tinted, not fogged to the sky";
    for (int unit = 1; unit <= 3; ++unit) {
        glActiveTexture(static_cast<GLenum>(GL_TEXTURE0 + unit));
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    glActiveTexture(GL_TEXTURE0);
}

TEST_F(WaterTest, ModelWithoutATexturedFirstMeshIsRefused)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto program = makeProgram("Water", ModelVertexShader, FourQuarters);
    tree_.write("Skyhog/Models/Ground/empty.obj", "# a water file without any geometry\n");
    writeSquareModel("Models/Ground/bare.obj", "");
    // Standard output goes to standard error so the message can be matched.
    // A file without geometry is refused as every model is; one without a texture as water.
    EXPECT_EXIT(
        {
            std::cout.rdbuf(std::cerr.rdbuf());
            makeWater(*program, "../../Skyhog/Models/Ground/empty.obj");
        },
        testing::ExitedWithCode(1),
        "Model file \\.\\./\\.\\./Skyhog/Models/Ground/empty\\.obj holds no mesh with a face");
    EXPECT_EXIT(
        {
            std::cout.rdbuf(std::cerr.rdbuf());
            makeWater(*program, "../../Skyhog/Models/Ground/bare.obj");
        },
        testing::ExitedWithCode(1),
        "Error: water model has no textured mesh: \\.\\./\\.\\./Skyhog/Models/Ground/bare\\.obj");
}

} // namespace
} // namespace SkyhogTest
