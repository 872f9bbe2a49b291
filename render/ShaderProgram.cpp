#include "render/ShaderProgram.h"

#include "render/Fatal.h"

#include <glm/gtc/type_ptr.hpp>

#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

namespace Skyhog {
namespace {

std::string readSource(const std::string& path)
{
    std::ifstream file(path);
    if (!file.good()) {
        note("ERROR: Could not loade file " + path);
        pause();
        return {}; // an empty source fails to compile, which ends start-up below
    }
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string trimmed(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\0')) text.pop_back();
    return text;
}

// The info log of a shader or a program, read with that object's pair of queries.
template <typename GetParameter, typename GetLog>
std::string infoLog(GLuint object, GetParameter getParameter, GetLog getLog)
{
    GLint length = 0;
    getParameter(object, GL_INFO_LOG_LENGTH, &length);
    std::vector<char> log(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    getLog(object, length, nullptr, log.data());
    return trimmed(log.data());
}

std::string shaderLog(GLuint shader)
{
    return infoLog(shader, glGetShaderiv, glGetShaderInfoLog);
}
std::string programLog(GLuint program)
{
    return infoLog(program, glGetProgramiv, glGetProgramInfoLog);
}

bool mentionsFragment(const std::string& log)
{
    std::string lower;
    for (char c : log) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return lower.find("fragment") != std::string::npos;
}

} // namespace

ShaderProgram::ShaderProgram(const std::string& vertexPath, const std::string& fragmentPath)
    : vertexPath_(vertexPath), fragmentPath_(fragmentPath)
{
    program_ = GlProgram::generate();
    if (!program_) fatal("Error: Could not create program");
    vertexShader_ = compile(vertexPath, GL_VERTEX_SHADER);
    fragmentShader_ = compile(fragmentPath, GL_FRAGMENT_SHADER);
    link();
}

GlShader ShaderProgram::compile(const std::string& path, GLenum type)
{
    const std::string source = readSource(path);
    GlShader owner(glCreateShader(type));
    const GLuint shader = owner.get();
    if (shader == 0) fatal("ERROR: Could not create shader, shadertype not supported");
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);

    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled != GL_TRUE) {
        note("Problem while loading shader");
        note(shaderLog(shader));
        fatal("in shader file " + path);
    }
    return owner;
}

void ShaderProgram::link()
{
    const GLuint program = program_.get();
    glAttachShader(program, vertexShader_.get());
    glAttachShader(program, fragmentShader_.get());
    glLinkProgram(program);

    // A program that fails to link would draw nothing at all; stop with its log
    // instead of carrying a silently broken program into the game.
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE) {
        const std::string log = programLog(program);
        note(mentionsFragment(log) ? "linking error Fragment" : "linking error Vertex");
        note(log);
        fatal("in shader files " + vertexPath_ + " and " + fragmentPath_);
    }
}

void ShaderProgram::use() const
{
    glUseProgram(program_.get());
}

GLint ShaderProgram::uniformLocation(const char* name) const
{
    return glGetUniformLocation(program_.get(), name);
}

void ShaderProgram::setMat4(const char* name, const glm::mat4& value) const
{
    glUniformMatrix4fv(uniformLocation(name), 1, GL_FALSE, glm::value_ptr(value));
}

void ShaderProgram::setVec3(const char* name, const glm::vec3& value) const
{
    glUniform3f(uniformLocation(name), value.x, value.y, value.z);
}

void ShaderProgram::setVec4(const char* name, const glm::vec4& value) const
{
    glUniform4f(uniformLocation(name), value.x, value.y, value.z, value.w);
}

void ShaderProgram::setFloat(const char* name, float value) const
{
    glUniform1f(uniformLocation(name), value);
}

void ShaderProgram::setInt(const char* name, GLint value) const
{
    glUniform1i(uniformLocation(name), value);
}

bool ShaderProgram::setSampler(const char* name, GLint unit) const
{
    const GLint location = uniformLocation(name);
    if (location == -1) return false;
    glUniform1i(location, unit);
    return true;
}

} // namespace Skyhog
