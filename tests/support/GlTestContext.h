// Shared hidden-window OpenGL 3.3 core context for GL tests. One context is
// created per test process (as a GoogleTest environment) and stays current
// for every test; GlTest fixtures check that a test leaves no GL error.
#pragma once
#include "render/Gl.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace SkyhogTest {

// Registers the shared context; call from main() before RUN_ALL_TESTS, or
// link the gl_test_main library which does it.
void installGlEnvironment(int width = 1024, int height = 768);

// Base fixture: fails a test that leaves a GL error behind.
class GlTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// Drains and returns the pending GL errors (empty when there are none).
std::vector<GLenum> takeGlErrors();

// Reads back RGBA pixels of the currently bound read framebuffer.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba; // bottom row first, as OpenGL returns them
    const std::uint8_t* at(int x, int y) const { return &rgba[static_cast<std::size_t>((y * width + x) * 4)]; }
};
Pixels readPixels(int x, int y, int width, int height);

// A colour render target of the given size with a depth-stencil buffer,
// bound while the object lives; binds the default framebuffer when it dies.
class OffscreenTarget {
public:
    OffscreenTarget(int width, int height);
    ~OffscreenTarget();
    OffscreenTarget(const OffscreenTarget&) = delete;
    OffscreenTarget& operator=(const OffscreenTarget&) = delete;
    void bind() const;
    GLuint framebuffer() const { return framebuffer_; }

private:
    GLuint framebuffer_ = 0;
    GLuint color_ = 0;
    GLuint depth_ = 0;
};

} // namespace SkyhogTest
