// One compiled and linked GLSL program built from a vertex and a fragment file.
//
// Construction either yields a usable program or ends the process with the
// compile or link log (see ShaderProgram.cpp). Uniforms are looked up by name
// at every use, on this program; the setters assume the caller made it current
// with use() first. A location of -1 makes a set a no-op, as OpenGL defines.
#pragma once
#include "render/Gl.h"
#include "render/GlHandle.h"

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>
#include <string>

namespace Skyhog {

class ShaderProgram {
public:
    ShaderProgram(const std::string& vertexPath, const std::string& fragmentPath);
    ~ShaderProgram() = default;
    ShaderProgram(const ShaderProgram&) = delete;
    ShaderProgram& operator=(const ShaderProgram&) = delete;

    // Makes the program current (glUseProgram).
    void use() const;
    // The program object, for callers that query locations themselves.
    GLuint program() const { return program_.get(); }

    GLint uniformLocation(const char* name) const;
    void setMat4(const char* name, const glm::mat4& value) const;
    void setVec3(const char* name, const glm::vec3& value) const;
    void setVec4(const char* name, const glm::vec4& value) const;
    void setFloat(const char* name, float value) const;
    void setInt(const char* name, GLint value) const;
    // Points the sampler uniform name at texture unit; false, with nothing
    // set, when the program has no such uniform (the callers report it).
    bool setSampler(const char* name, GLint unit) const;

private:
    GlShader compile(const std::string& path, GLenum type);
    void link();

    GlProgram program_;
    GlShader vertexShader_;
    GlShader fragmentShader_;
    std::string vertexPath_;
    std::string fragmentPath_;
};

} // namespace Skyhog
