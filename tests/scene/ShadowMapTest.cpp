// The shadow pass's depth target and its top-left debug quad.
#include "scene/ShadowMap.h"
#include "tests/scene/SceneTest.h"

#include <iostream>

namespace SkyhogTest {
namespace {

// Red and green show the quad's texture coordinate; blue the depth read at
// uv * 3 - 1, which leaves the map around the quad's rim.
const std::string DepthProbe =
    fragmentShader("vec4(uv, texture(depthMap, uv * 3.0 - 1.0).r, 1.0)", "uniform sampler2D depthMap;");

const std::string NoSampler = fragmentShader("vec4(1.0, 1.0, 0.0, 1.0)");

using ShadowMapTest = SceneTest;

TEST_F(ShadowMapTest, DepthTextureHasTheGivenSizeAndAWhiteBorder)
{
    const auto program = makeProgram("DebugDepth", QuadVertexShader, DepthProbe);
    const Skyhog::Scene::ShadowMap map(*program, 320, 200);

    glBindTexture(GL_TEXTURE_2D, map.getDepthTexture());
    GLint width = 0, height = 0, wrapS = 0, wrapT = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
    float border[4] = {0, 0, 0, 0};
    glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, border);
    glBindTexture(GL_TEXTURE_2D, 0);

    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 200);
    EXPECT_EQ(wrapS, GL_CLAMP_TO_BORDER);
    EXPECT_EQ(wrapT, GL_CLAMP_TO_BORDER);
    for (float channel : border) EXPECT_EQ(channel, 1.0f);

    glBindFramebuffer(GL_FRAMEBUFFER, map.getFramebuffer());
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

TEST_F(ShadowMapTest, DebugQuadIsUprightTopLeftAndReadsOneOutsideTheMap)
{
    const auto program = makeProgram("DebugDepth", QuadVertexShader, DepthProbe);
    const Skyhog::Scene::ShadowMap map(*program, Width, Height);

    // Everything inside the map is at depth 0, so only the border reads 1.
    glBindFramebuffer(GL_FRAMEBUFFER, map.getFramebuffer());
    glClearDepth(0.0);
    glClear(GL_DEPTH_BUFFER_BIT);
    glClearDepth(1.0);

    const OffscreenTarget screen(Width, Height);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    testing::internal::CaptureStdout();
    map.drawDebug();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(activeUnit(), GL_TEXTURE0);

    // The quad spans x -1..-0.3 (pixels 0..358) and y 0.6..1 (rows 615..767).
    const Rgb topLeft = pixel(4, 764);
    EXPECT_LT(topLeft.r, 10);                             // u near 0 at the left
    EXPECT_GT(topLeft.g, 245);                            // v near 1 at the top
    EXPECT_EQ(topLeft.b, 255);                            // outside the map: depth 1
    EXPECT_TRUE(near(pixel(179, 691), {128, 128, 0}, 4)); // centre: inside, depth 0
    const Rgb bottomRight = pixel(354, 617);
    EXPECT_GT(bottomRight.r, 245);
    EXPECT_LT(bottomRight.g, 10);
    EXPECT_EQ(bottomRight.b, 255);
    EXPECT_TRUE(near(pixel(400, 700), {0, 0, 0})); // beside the quad
}

TEST_F(ShadowMapTest, MissingSamplerIsReportedAndTheQuadStillDrawn)
{
    const auto program = makeProgram("DebugDepth", QuadVertexShader, NoSampler);
    const Skyhog::Scene::ShadowMap map(*program, Width, Height);
    const OffscreenTarget screen(Width, Height);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    testing::internal::CaptureStdout();
    map.drawDebug();
    map.drawDebug();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Error: deptherror\nError: deptherror\n");
    EXPECT_TRUE(near(pixel(179, 691), {255, 255, 0}));
}

TEST_F(ShadowMapTest, IncompleteTargetEndsTheProcess)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto program = makeProgram("DebugDepth", QuadVertexShader, DepthProbe);
    // A 0 x 0 depth picture is an incomplete attachment. Standard output is
    // sent to standard error so the message can be matched.
    EXPECT_EXIT(
        {
            std::cout.rdbuf(std::cerr.rdbuf());
            const Skyhog::Scene::ShadowMap map(*program, 0, 0);
        },
        testing::ExitedWithCode(1), "ERROR::Shadowmap:: Shadowmap is not complete!");
}

} // namespace
} // namespace SkyhogTest
