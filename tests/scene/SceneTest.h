// Fixture for the scene's GL tests: the shared hidden-window context, a private
// data tree entered as the working directory (so "../../Skyhog/" resolves into
// it), fresh decode caches, and helpers that write the tiny pictures, models
// and shader programs a test needs. Renders go to window-sized targets, since
// the viewport stays at the window's 1024 x 768.
#pragma once
#include "render/ShaderProgram.h"
#include "tests/support/GlTestContext.h"
#include "tests/support/Rgb.h"
#include "tests/support/TempTree.h"
#include "tests/support/TestShaders.h"

#include <memory>
#include <string>

namespace SkyhogTest {

// Vertex stage of meshes: placed by "model" alone, so a square whose model
// matrix is the identity fills the screen. The normal (+Z in the test models)
// is read so the mesh finds every attribute it lays out.
inline const std::string ModelVertexShader = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 texCoords;
uniform mat4 model;
out vec2 uv;
void main() { uv = texCoords; gl_Position = model * vec4(position + vec3(normal.z - 1.0), 1.0); }
)";

class SceneTest : public GlTest {
protected:
    static constexpr int Width = 1024;
    static constexpr int Height = 768;

    void SetUp() override;

    // A solid 4 x 4 picture at Skyhog/<relative>. It is PNG-encoded (lossless)
    // whatever the name says; the loader goes by the file's content.
    void writePicture(const std::string& relative, Rgb color) const;
    // A two-triangle square over x, y in -1..1 (z = 0, normal +Z, uv 0..1) at
    // Skyhog/<relative>; with a texture name its material uses that picture
    // (a file in the same folder) and, if given, a specular picture too;
    // without a texture it has no material at all.
    void writeSquareModel(const std::string& relative, const std::string& texture,
                          const std::string& specular = "") const;
    // Writes Skyhog/Shaders/<name>.vert and .frag and builds the program.
    std::unique_ptr<Skyhog::ShaderProgram> makeProgram(const std::string& name, const std::string& vertex,
                                                       const std::string& fragment) const
    {
        return SkyhogTest::makeProgram(tree_, "Skyhog/Shaders/" + name, vertex, fragment);
    }

    // The colour of one pixel of the bound read framebuffer.
    static Rgb pixel(int x, int y);
    // The texture bound to GL_TEXTURE_2D on unit, leaving the active unit as it was.
    static GLuint boundTexture(int unit);
    static GLint activeUnit();

    TempTree tree_;
};

// Colours compared with a small tolerance for filtering and rounding.
::testing::AssertionResult near(const Rgb& actual, const Rgb& expected, int tolerance = 3);

} // namespace SkyhogTest
