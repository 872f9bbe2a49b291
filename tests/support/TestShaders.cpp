#include "tests/support/TestShaders.h"

namespace SkyhogTest {

std::string fragmentShader(const std::string& colour, const std::string& uniforms)
{
    return "#version 330 core\n"
           "in vec2 uv;\n" +
        (uniforms.empty() ? "" : uniforms + "\n") +
        "out vec4 color;\n"
        "void main() { color = " +
        colour + "; }\n";
}

std::string showTextureShader(const std::string& sampler)
{
    return fragmentShader("vec4(texture(" + sampler + ", uv).rgb, 1.0)", "uniform sampler2D " + sampler + ";");
}

std::string trivialVertexSource(const std::string& marker)
{
    return "#version 330 core\n"
           "layout(location = 0) in vec3 position;\n"
           "uniform mat4 " +
        marker +
        ";\n"
        "void main() { gl_Position = " +
        marker + " * vec4(position, 1.0); }\n";
}

std::string trivialFragmentSource()
{
    return "#version 330 core\n"
           "out vec4 color;\n"
           "void main() { color = vec4(1.0); }\n";
}

ProgramFiles writeProgramFiles(const TempTree& tree, const std::string& stem, const std::string& vertex,
                               const std::string& fragment)
{
    return {tree.write(stem + ".vert", vertex).string(), tree.write(stem + ".frag", fragment).string()};
}

std::unique_ptr<Skyhog::ShaderProgram> makeProgram(const TempTree& tree, const std::string& stem,
                                                   const std::string& vertex, const std::string& fragment)
{
    const ProgramFiles files = writeProgramFiles(tree, stem, vertex, fragment);
    return std::make_unique<Skyhog::ShaderProgram>(files.vertexPath, files.fragmentPath);
}

} // namespace SkyhogTest
