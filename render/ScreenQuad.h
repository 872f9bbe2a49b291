// A textured rectangle on the screen: six (x, y, u, v) vertices, two
// triangles in normalised device coordinates, in a vertex array of its own
// (attribute 0 the position, 1 the texture coordinate). The full-screen
// pictures, the map view and the debug views all draw through one.
//
// Needs a current OpenGL context for its whole life. Move-only.
#pragma once
#include "render/GlHandle.h"

#include <array>

namespace Skyhog {

using QuadVertices = std::array<float, 24>;

// The whole screen; v = 1 at the top edge because pictures are uploaded bottom row first.
inline constexpr QuadVertices FullScreenQuad = {-1.0f, 1.0f,  0.0f, 1.0f, -1.0f, -1.0f, 0.0f, 0.0f,
                                                1.0f,  -1.0f, 1.0f, 0.0f, -1.0f, 1.0f,  0.0f, 1.0f,
                                                1.0f,  -1.0f, 1.0f, 0.0f, 1.0f,  1.0f,  1.0f, 1.0f};
// The debug and map views share the top fifth of the screen.
inline constexpr QuadVertices TopLeftQuad = {-1.0f, 1.0f, 0.0f, 1.0f, -1.0f, 0.6f, 0.0f, 0.0f, -0.3f, 0.6f, 1.0f, 0.0f,
                                             -1.0f, 1.0f, 0.0f, 1.0f, -0.3f, 0.6f, 1.0f, 0.0f, -0.3f, 1.0f, 1.0f, 1.0f};
inline constexpr QuadVertices TopCentreQuad = {-0.3f, 1.0f, 0.0f, 1.0f, -0.3f, 0.6f, 0.0f, 0.0f,
                                               0.3f,  0.6f, 1.0f, 0.0f, -0.3f, 1.0f, 0.0f, 1.0f,
                                               0.3f,  0.6f, 1.0f, 0.0f, 0.3f,  1.0f, 1.0f, 1.0f};
// Top right, mirrored left to right: u runs from 0 at x = 1.0 to 1 at x = 0.3.
inline constexpr QuadVertices TopRightMirroredQuad = {1.0f, 1.0f, 0.0f, 1.0f, 1.0f, 0.6f, 0.0f, 0.0f,
                                                      0.3f, 0.6f, 1.0f, 0.0f, 1.0f, 1.0f, 0.0f, 1.0f,
                                                      0.3f, 0.6f, 1.0f, 0.0f, 0.3f, 1.0f, 1.0f, 1.0f};

class ScreenQuad {
public:
    explicit ScreenQuad(const QuadVertices& quad);

    // Draws the rectangle with texture bound on unit 0, which it selects and
    // leaves active; the caller has made its program current. Unbinds the
    // vertex array and the texture afterwards.
    void draw(GLuint texture) const;

private:
    GlVertexArray vertexArray_;
    GlBuffer vertexBuffer_;
};

} // namespace Skyhog
