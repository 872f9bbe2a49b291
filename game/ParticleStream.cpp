#include "game/ParticleStream.h"

#include <glm/gtc/matrix_transform.hpp>

namespace Skyhog::Game {
namespace {

constexpr GLfloat QuadCorners[] = {-0.5f, -0.5f, 0.0f, 0.5f, -0.5f, 0.0f, -0.5f, 0.5f, 0.0f, 0.5f, 0.5f, 0.0f};
constexpr GLsizeiptr PositionBytes = 4 * sizeof(float) * ParticlePool::MaxParticles;
constexpr GLsizeiptr ColorBytes = 4 * ParticlePool::MaxParticles;

} // namespace

ParticleStream::ParticleStream(const glm::mat4& matrix, ShaderProgram* program, const Scene::Model& emitter)
    : program_(program), emitter_(emitter), matrix_(matrix), pool_(glm::vec3(emitter.modelMatrix()[3]))
{
    billboardBuffer_ = GlBuffer::generate();
    glBindBuffer(GL_ARRAY_BUFFER, billboardBuffer_.get());
    glBufferData(GL_ARRAY_BUFFER, sizeof(QuadCorners), QuadCorners, GL_STATIC_DRAW);
    positionBuffer_ = GlBuffer::generate();
    glBindBuffer(GL_ARRAY_BUFFER, positionBuffer_.get());
    glBufferData(GL_ARRAY_BUFFER, PositionBytes, nullptr, GL_STREAM_DRAW);
    colorBuffer_ = GlBuffer::generate();
    glBindBuffer(GL_ARRAY_BUFFER, colorBuffer_.get());
    glBufferData(GL_ARRAY_BUFFER, ColorBytes, nullptr, GL_STREAM_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);

    // The attribute layout never changes, so it is recorded in the vertex array once.
    vertexArray_ = GlVertexArray::generate();
    glBindVertexArray(vertexArray_.get());
    const GLuint id = program_->program();
    // Points a named attribute at a buffer; a name the program lacks is skipped.
    const auto feed = [id](const char* name, GLuint buffer, GLint components, GLenum type, GLboolean normalized,
                           GLuint divisor) {
        const GLint location = glGetAttribLocation(id, name);
        if (location < 0) return;
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glEnableVertexAttribArray(static_cast<GLuint>(location));
        glVertexAttribPointer(static_cast<GLuint>(location), components, type, normalized, 0, nullptr);
        glVertexAttribDivisor(static_cast<GLuint>(location), divisor);
    };
    feed("squareVertices", billboardBuffer_.get(), 3, GL_FLOAT, GL_FALSE, 0); // shared by every instance
    feed("xyzs", positionBuffer_.get(), 4, GL_FLOAT, GL_FALSE, 1);            // one per particle
    feed("color", colorBuffer_.get(), 4, GL_UNSIGNED_BYTE, GL_TRUE, 1);       // one per particle
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

glm::vec3 ParticleStream::emitterPosition() const
{
    return glm::vec3(emitter_.modelMatrix()[3]);
}

void ParticleStream::update(float deltaTime)
{
    pool_.update(deltaTime, emitterPosition());
}

void ParticleStream::draw()
{
    const int count = pool_.particleCount();
    glBindVertexArray(vertexArray_.get());
    // Orphan each buffer, then write only the living part.
    glBindBuffer(GL_ARRAY_BUFFER, positionBuffer_.get());
    glBufferData(GL_ARRAY_BUFFER, PositionBytes, nullptr, GL_STREAM_DRAW);
    glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(count) * 4 * sizeof(float),
                    pool_.positionSizeData().data());
    glBindBuffer(GL_ARRAY_BUFFER, colorBuffer_.get());
    glBufferData(GL_ARRAY_BUFFER, ColorBytes, nullptr, GL_STREAM_DRAW);
    glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(count) * 4, pool_.colorData().data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);

    program_->use();
    if (count > 0) glDrawArraysInstanced(GL_TRIANGLE_STRIP, 0, 4, count);
    glBindVertexArray(0);
}

void ParticleStream::translate(const glm::vec3& offset)
{
    matrix_ = glm::translate(matrix_, offset);
}

} // namespace Skyhog::Game
