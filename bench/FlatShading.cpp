#include "FlatShading.h"

#include <string_view>

namespace Skyhog::Bench {
namespace {

constexpr const char* FlatSource = "#version 330 core\n"
                                   "out vec4 FragColor;\n"
                                   "void main() { FragColor = vec4(0.5, 0.5, 0.5, 1.0); }\n";

// The fragment stage attached to program, or 0.
GLuint fragmentStageOf(GLuint program)
{
    GLuint stages[4] = {};
    GLsizei count = 0;
    glGetAttachedShaders(program, 4, &count, stages);
    for (GLsizei i = 0; i < count; ++i) {
        GLint type = 0;
        glGetShaderiv(stages[i], GL_SHADER_TYPE, &type);
        if (type == GL_FRAGMENT_SHADER) return stages[i];
    }
    return 0;
}

} // namespace

FlatShading::FlatShading(const ShaderLibrary& shaders)
{
    flat_ = glCreateShader(GL_FRAGMENT_SHADER);
    glShaderSource(flat_, 1, &FlatSource, nullptr);
    glCompileShader(flat_);
    GLint compiled = GL_FALSE;
    glGetShaderiv(flat_, GL_COMPILE_STATUS, &compiled);
    if (!compiled) {
        error_ = "the flat fragment stage does not compile";
        return;
    }
    for (const std::string_view name : ShaderLibrary::Names) {
        const GLuint program = shaders.get(std::string(name))->program();
        const GLuint own = fragmentStageOf(program);
        if (own == 0 || !relink(program, own, flat_)) {
            error_ = "program " + std::string(name) + " does not link with a flat fragment stage";
            return; // the destructor puts back what was swapped so far
        }
        swapped_.push_back({program, own});
    }
}

FlatShading::~FlatShading()
{
    for (const Swap& swap : swapped_) relink(swap.program, flat_, swap.own);
    if (flat_ != 0) glDeleteShader(flat_);
}

bool FlatShading::relink(GLuint program, GLuint from, GLuint to)
{
    glDetachShader(program, from);
    glAttachShader(program, to);
    glLinkProgram(program);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked) return true;
    glDetachShader(program, to); // leave it as it was
    glAttachShader(program, from);
    glLinkProgram(program);
    return false;
}

} // namespace Skyhog::Bench
