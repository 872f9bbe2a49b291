#include "tests/support/GlTestContext.h"

#include "render/GlContext.h"

#include <GLFW/glfw3.h>

#include <cstdlib>
#include <iostream>

namespace SkyhogTest {
namespace {

class GlEnvironment : public ::testing::Environment {
public:
    GlEnvironment(int width, int height) : width_(width), height_(height) {}

    void SetUp() override
    {
        if (!glfwInit()) {
            std::cerr << "GL tests need an X display (run them under xvfb-run)\n";
            std::exit(1);
        }
        glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
        glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
        glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
        glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
        window_ = glfwCreateWindow(width_, height_, "skyhog tests", nullptr, nullptr);
        if (window_ == nullptr) {
            std::cerr << "GL tests could not create an OpenGL 3.3 core window\n";
            std::exit(1);
        }
        glfwMakeContextCurrent(window_);
        glewExperimental = GL_TRUE;
        if (glewInit() != GLEW_OK) {
            std::cerr << "GL tests could not initialise GLEW\n";
            std::exit(1);
        }
        takeGlErrors(); // GLEW's probing may leave an error behind
        Skyhog::GlContext::setAlive(true);
        glViewport(0, 0, width_, height_);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_STENCIL_TEST);
    }

    void TearDown() override
    {
        Skyhog::GlContext::setAlive(false);
        glfwDestroyWindow(window_);
        glfwTerminate();
    }

private:
    int width_;
    int height_;
    GLFWwindow* window_ = nullptr;
};

} // namespace

void installGlEnvironment(int width, int height)
{
    ::testing::AddGlobalTestEnvironment(new GlEnvironment(width, height));
}

std::vector<GLenum> takeGlErrors()
{
    std::vector<GLenum> errors;
    for (GLenum error = glGetError(); error != GL_NO_ERROR && errors.size() < 16; error = glGetError()) {
        errors.push_back(error);
    }
    return errors;
}

void GlTest::SetUp()
{
    takeGlErrors();
}

void GlTest::TearDown()
{
    const auto errors = takeGlErrors();
    EXPECT_TRUE(errors.empty()) << "the test left GL error 0x" << std::hex << (errors.empty() ? 0 : errors.front());
}

Pixels readPixels(int x, int y, int width, int height)
{
    Pixels pixels;
    pixels.width = width;
    pixels.height = height;
    pixels.rgba.resize(static_cast<std::size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.rgba.data());
    return pixels;
}

OffscreenTarget::OffscreenTarget(int width, int height)
{
    glGenFramebuffers(1, &framebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glGenTextures(1, &color_);
    glBindTexture(GL_TEXTURE_2D, color_);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glBindTexture(GL_TEXTURE_2D, 0);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, color_, 0);
    glGenRenderbuffers(1, &depth_);
    glBindRenderbuffer(GL_RENDERBUFFER, depth_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depth_);
}

OffscreenTarget::~OffscreenTarget()
{
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &framebuffer_);
    glDeleteTextures(1, &color_);
    glDeleteRenderbuffers(1, &depth_);
}

void OffscreenTarget::bind() const
{
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
}

} // namespace SkyhogTest
