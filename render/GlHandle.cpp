#include "render/GlHandle.h"

#include "render/GlContext.h"

namespace Skyhog {

void deleteGlName(GlKind kind, GLuint name)
{
    if (!GlContext::alive()) return; // abandoned together with the context
    switch (kind) {
    case GlKind::Buffer: glDeleteBuffers(1, &name); break;
    case GlKind::VertexArray: glDeleteVertexArrays(1, &name); break;
    case GlKind::Texture: glDeleteTextures(1, &name); break;
    case GlKind::Framebuffer: glDeleteFramebuffers(1, &name); break;
    case GlKind::Renderbuffer: glDeleteRenderbuffers(1, &name); break;
    case GlKind::Program: glDeleteProgram(name); break;
    case GlKind::Shader: glDeleteShader(name); break;
    }
}

GLuint generateGlName(GlKind kind)
{
    GLuint name = 0;
    switch (kind) {
    case GlKind::Buffer: glGenBuffers(1, &name); break;
    case GlKind::VertexArray: glGenVertexArrays(1, &name); break;
    case GlKind::Texture: glGenTextures(1, &name); break;
    case GlKind::Framebuffer: glGenFramebuffers(1, &name); break;
    case GlKind::Renderbuffer: glGenRenderbuffers(1, &name); break;
    case GlKind::Program: name = glCreateProgram(); break;
    case GlKind::Shader: break; // needs its type: GlShader(glCreateShader(type))
    }
    return name;
}

} // namespace Skyhog
