// Move-only owners for OpenGL object names. Each owner deletes its non-zero
// name exactly once, and never after the context has gone (see GlContext.h).
// Typed aliases keep a buffer from being handed where a texture is expected.
#pragma once
#include "render/Gl.h"

#include <utility>

namespace Skyhog {

// Program and Shader names come from glCreateProgram / glCreateShader (the
// latter needs a type), so generate() makes only the other kinds.
enum class GlKind { Buffer, VertexArray, Texture, Framebuffer, Renderbuffer, Program, Shader };

void deleteGlName(GlKind kind, GLuint name);

template <GlKind Kind>
class GlHandle {
public:
    GlHandle() = default;
    explicit GlHandle(GLuint name) : name_(name) {}
    ~GlHandle() { reset(); }

    GlHandle(const GlHandle&) = delete;
    GlHandle& operator=(const GlHandle&) = delete;
    GlHandle(GlHandle&& other) noexcept : name_(std::exchange(other.name_, 0)) {}
    GlHandle& operator=(GlHandle&& other) noexcept
    {
        if (this != &other) {
            reset();
            name_ = std::exchange(other.name_, 0);
        }
        return *this;
    }

    // Creates a fresh name of this kind (glGen*), releasing any previous one.
    static GlHandle generate();

    GLuint get() const { return name_; }
    explicit operator bool() const { return name_ != 0; }

    // Deletes the name now; safe to call twice.
    void reset()
    {
        if (name_ != 0) deleteGlName(Kind, name_);
        name_ = 0;
    }
    // Gives up ownership without deleting (the name stays alive).
    GLuint release() { return std::exchange(name_, 0); }

private:
    GLuint name_ = 0;
};

GLuint generateGlName(GlKind kind);

template <GlKind Kind>
GlHandle<Kind> GlHandle<Kind>::generate()
{
    return GlHandle(generateGlName(Kind));
}

using GlBuffer = GlHandle<GlKind::Buffer>;
using GlVertexArray = GlHandle<GlKind::VertexArray>;
using GlTexture = GlHandle<GlKind::Texture>;
using GlFramebuffer = GlHandle<GlKind::Framebuffer>;
using GlRenderbuffer = GlHandle<GlKind::Renderbuffer>;
using GlProgram = GlHandle<GlKind::Program>;
using GlShader = GlHandle<GlKind::Shader>;

} // namespace Skyhog
