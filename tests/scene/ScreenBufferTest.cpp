// The offscreen colour target and its top-centre quad.
#include "render/ScreenBuffer.h"
#include "tests/scene/SceneTest.h"

namespace SkyhogTest {
namespace {

const std::string ShowPicture = showTextureShader("picture");

using ScreenBufferTest = SceneTest;

GLint textureLevelSize(GLuint texture, GLenum which)
{
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, which, &value);
    glBindTexture(GL_TEXTURE_2D, 0);
    return value;
}

GLint boundFramebuffer()
{
    GLint bound = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
    return bound;
}

TEST_F(ScreenBufferTest, TargetIsCompleteWithHeightAndWidthInThatOrder)
{
    const auto program = makeProgram("Map", QuadVertexShader, ShowPicture);
    testing::internal::CaptureStdout();
    const Skyhog::ScreenBuffer buffer(*program, 200, 320);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    EXPECT_EQ(textureLevelSize(buffer.getColorTexture(), GL_TEXTURE_WIDTH), 320);
    EXPECT_EQ(textureLevelSize(buffer.getColorTexture(), GL_TEXTURE_HEIGHT), 200);
    EXPECT_EQ(boundFramebuffer(), 0);
    glBindFramebuffer(GL_FRAMEBUFFER, buffer.getFramebuffer());
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

TEST_F(ScreenBufferTest, IncompleteTargetIsReportedWithoutLineEnd)
{
    const auto program = makeProgram("Map", QuadVertexShader, ShowPicture);
    testing::internal::CaptureStdout();
    const Skyhog::ScreenBuffer empty(*program, 0, 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "ERROR::FRAMEBUFFER:: Framebuffer is not complete!");
    EXPECT_EQ(boundFramebuffer(), 0);
}

TEST_F(ScreenBufferTest, QuadShowsThePictureUprightAtTopCentre)
{
    const auto program = makeProgram("Map", QuadVertexShader, ShowPicture);
    const Skyhog::ScreenBuffer buffer(*program, Height, Width);

    // Top half red, bottom half blue.
    glBindFramebuffer(GL_FRAMEBUFFER, buffer.getFramebuffer());
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, Height / 2, Width, Height / 2);
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glScissor(0, 0, Width, Height / 2);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);

    const OffscreenTarget screen(Width, Height);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glActiveTexture(GL_TEXTURE3); // draw() must still read unit 0
    buffer.draw();
    EXPECT_EQ(activeUnit(), GL_TEXTURE0);

    // The quad spans x -0.3..0.3 (pixels 359..665) and y 0.6..1.0 (rows 615..767).
    EXPECT_TRUE(near(pixel(512, 760), {255, 0, 0}));
    EXPECT_TRUE(near(pixel(370, 625), {0, 0, 255}));
    EXPECT_TRUE(near(pixel(655, 625), {0, 0, 255}));
    EXPECT_TRUE(near(pixel(340, 700), {0, 0, 0})); // left of it
    EXPECT_TRUE(near(pixel(685, 700), {0, 0, 0})); // right of it
    EXPECT_TRUE(near(pixel(512, 600), {0, 0, 0})); // below it
}

} // namespace
} // namespace SkyhogTest
