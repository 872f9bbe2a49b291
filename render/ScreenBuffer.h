// An offscreen colour target as large as the window (an RGB colour texture and
// a depth-stencil renderbuffer) together with a small screen-space quad that
// shows the colour texture. The frame renderer renders the "map" pass into one
// and shows it at the top centre; the water keeps two for its reflection and
// refraction pictures, each with its own debug quad.
//
// Needs a current OpenGL context for its whole life. An incomplete target is
// reported on standard output without a line end and otherwise tolerated.
// draw() makes the quad's program current and samples texture unit 0, which
// it selects and leaves active.
#pragma once
#include "render/GlHandle.h"
#include "render/ScreenQuad.h"
#include "render/ShaderProgram.h"

#include <cstdint>

namespace Skyhog {

class ScreenBuffer {
public:
    // Creates the quad and a height x width target; shader draws the quad and must outlive this.
    ScreenBuffer(const ShaderProgram& shader, std::int32_t height, std::int32_t width,
                 const QuadVertices& quad = TopCentreQuad);
    ScreenBuffer(const ScreenBuffer&) = delete;
    ScreenBuffer& operator=(const ScreenBuffer&) = delete;

    // The framebuffer a pass binds to render into this target.
    GLuint getFramebuffer() const { return framebuffer_.get(); }
    // Draws the quad textured with the target's colour picture.
    void draw() const;

    GLuint getColorTexture() const { return colorTexture_.get(); }
    std::int32_t getHeight() const { return height_; }
    std::int32_t getWidth() const { return width_; }

private:
    const ShaderProgram& shader_;
    ScreenQuad quad_;
    GlFramebuffer framebuffer_;
    GlTexture colorTexture_;
    GlRenderbuffer renderbuffer_;
    std::int32_t height_;
    std::int32_t width_;
};

} // namespace Skyhog
