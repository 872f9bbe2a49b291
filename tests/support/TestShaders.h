// GLSL for GL tests: the stages many tests share, and programs built from
// sources written into a scratch tree.
#pragma once
#include "render/ShaderProgram.h"
#include "tests/support/TempTree.h"

#include <memory>
#include <string>

namespace SkyhogTest {

// Vertex stage of the screen quads: attribute 0 the position, 1 the texture
// coordinate, handed on as uv.
inline constexpr char QuadVertexShader[] = R"(#version 330 core
layout(location = 0) in vec2 position;
layout(location = 1) in vec2 texCoords;
out vec2 uv;
void main() { uv = texCoords; gl_Position = vec4(position, 0.0, 1.0); }
)";

// A fragment stage that sets `color` to the vec4 expression `colour`, which
// may read uv and whatever `uniforms` declares.
std::string fragmentShader(const std::string& colour, const std::string& uniforms = "");
// A fragment stage that shows `sampler` at uv, opaque.
std::string showTextureShader(const std::string& sampler);

// Attribute-free program sources for tests that only need a valid program.
std::string trivialVertexSource(const std::string& marker);
std::string trivialFragmentSource();

// Writes <stem>.vert and <stem>.frag under the tree's root.
struct ProgramFiles {
    std::string vertexPath;
    std::string fragmentPath;
};
ProgramFiles writeProgramFiles(const TempTree& tree, const std::string& stem, const std::string& vertex,
                               const std::string& fragment);
// Writes the two stages as writeProgramFiles does and builds the program.
std::unique_ptr<Skyhog::ShaderProgram> makeProgram(const TempTree& tree, const std::string& stem,
                                                   const std::string& vertex, const std::string& fragment);

} // namespace SkyhogTest
