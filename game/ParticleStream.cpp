#include "game/ParticleStream.h"

#include "render/SceneLayout.h"

#include <glm/gtc/matrix_transform.hpp>

namespace Skyhog::Game {
namespace {

constexpr GLfloat QuadCorners[] = {-0.5f, -0.5f, 0.0f, 0.5f, -0.5f, 0.0f, -0.5f, 0.5f, 0.0f, 0.5f, 0.5f, 0.0f};
constexpr int Stride = ParticlePool::Stride;
constexpr GLsizeiptr PositionBytes = Stride * sizeof(float) * ParticleStream::MaxInstances;
constexpr GLsizeiptr ColorBytes = Stride * ParticleStream::MaxInstances;
constexpr int MotionStride = ParticlePool::MotionStride;
constexpr GLsizeiptr MotionBytes = MotionStride * sizeof(float) * ParticleStream::MaxInstances;
constexpr GLuint StreamStencilBit = 0x80; // nothing else in the game uses the stencil

// The model's triangles in world space, three corners each, as it is placed now.
std::vector<glm::vec3> worldTriangles(const Scene::Model& model)
{
    const glm::mat4 placement = model.baseMatrix();
    std::vector<glm::vec3> corners;
    for (const auto& mesh : model.meshes()) {
        const auto& vertices = mesh->vertices();
        const auto& indices = mesh->indices();
        corners.reserve(corners.size() + indices.size());
        for (std::size_t i = 0; i + 2 < indices.size(); i += 3) {
            // An index past the vertices would make the whole triangle meaningless.
            if (indices[i] >= vertices.size() || indices[i + 1] >= vertices.size() || indices[i + 2] >= vertices.size())
                continue;
            for (std::size_t k = 0; k < 3; ++k)
                corners.emplace_back(placement * glm::vec4(vertices[indices[i + k]].position, 1.0f));
        }
    }
    return corners;
}

} // namespace

ParticleStream::ParticleStream(const glm::mat4& matrix, ShaderProgram* program, const Scene::Model& emitter,
                               const Scene::Model& ground)
    : program_(program), emitter_(emitter), matrix_(matrix),
      pool_(glm::vec3(emitter.baseMatrix()[3]), Ground(worldTriangles(ground), Scene::Layout::WaterLevel))
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
    motionBuffer_ = GlBuffer::generate();
    glBindBuffer(GL_ARRAY_BUFFER, motionBuffer_.get());
    glBufferData(GL_ARRAY_BUFFER, MotionBytes, nullptr, GL_STREAM_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);

    // The attribute layout never changes, so it is recorded in the vertex array once.
    vertexArray_ = GlVertexArray::generate();
    glBindVertexArray(vertexArray_.get());
    const GLuint id = program_->program();
    // Points a named attribute at a buffer; a name the program lacks is skipped.
    const auto feed = [id](const char* name, GLuint buffer, GLint components, GLenum type, GLboolean normalized,
                           GLuint divisor, GLsizei stride = 0, std::size_t offset = 0) {
        const GLint location = glGetAttribLocation(id, name);
        if (location < 0) return;
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glEnableVertexAttribArray(static_cast<GLuint>(location));
        glVertexAttribPointer(static_cast<GLuint>(location), components, type, normalized, stride,
                              reinterpret_cast<const void*>(offset));
        glVertexAttribDivisor(static_cast<GLuint>(location), divisor);
    };
    feed("squareVertices", billboardBuffer_.get(), 3, GL_FLOAT, GL_FALSE, 0); // shared by every instance
    feed("xyzs", positionBuffer_.get(), 4, GL_FLOAT, GL_FALSE, 1);            // one per instance ...
    feed("color", colorBuffer_.get(), 4, GL_UNSIGNED_BYTE, GL_TRUE, 1);
    // ... and the motion record: the link and the code, then the cohesion.
    constexpr GLsizei MotionRecord = MotionStride * sizeof(float);
    feed("motion", motionBuffer_.get(), 4, GL_FLOAT, GL_FALSE, 1, MotionRecord, 0);
    feed("cohesion", motionBuffer_.get(), 1, GL_FLOAT, GL_FALSE, 1, MotionRecord, 4 * sizeof(float));
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

glm::vec3 ParticleStream::emitterPosition() const
{
    // Where the pig is now: the model matrix it was last drawn with is a
    // frame behind the keys that moved it since, and the stream would leave
    // the pig that far behind it.
    return glm::vec3(emitter_.baseMatrix()[3]);
}

void ParticleStream::update(float deltaTime)
{
    pool_.update(deltaTime, emitterPosition());
    splashes_.update(deltaTime, pool_.landings());
}

void ParticleStream::draw()
{
    // The drops first, then the splashes: one instance range each in the same buffers.
    const GLsizeiptr drops = pool_.particleCount();
    const GLsizeiptr splashes = splashes_.count();
    const auto upload = [drops, splashes](GLuint buffer, GLsizeiptr bytes, GLsizeiptr unit, const void* dropData,
                                          const void* splashData) {
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glBufferData(GL_ARRAY_BUFFER, bytes, nullptr, GL_STREAM_DRAW); // orphan, then write the living part
        glBufferSubData(GL_ARRAY_BUFFER, 0, drops * unit, dropData);
        glBufferSubData(GL_ARRAY_BUFFER, drops * unit, splashes * unit, splashData);
    };
    glBindVertexArray(vertexArray_.get());
    upload(positionBuffer_.get(), PositionBytes, Stride * sizeof(float), pool_.positionSizeData().data(),
           splashes_.positionSizeData().data());
    upload(colorBuffer_.get(), ColorBytes, Stride, pool_.colorData().data(), splashes_.colorData().data());
    upload(motionBuffer_.get(), MotionBytes, MotionStride * sizeof(float), pool_.motionData().data(),
           splashes_.motionData().data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);

    program_->use();
    const GLsizei count = static_cast<GLsizei>(drops + splashes);
    if (count > 0) {
        // Premultiplied colour; and each pixel takes the stream's colour once,
        // from its first fragment, so the drops' overlapping ends never blend
        // twice into a darker seam. The stencil's top bit marks those pixels.
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        glStencilFunc(GL_NOTEQUAL, StreamStencilBit, StreamStencilBit);
        glStencilOp(GL_KEEP, GL_KEEP, GL_REPLACE);
        glStencilMask(StreamStencilBit);
        glDrawArraysInstanced(GL_TRIANGLE_STRIP, 0, 4, count);
        glStencilMask(0xFF);
        glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
        glStencilFunc(GL_ALWAYS, 0, 0xFF);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    glBindVertexArray(0);
}

void ParticleStream::translate(const glm::vec3& offset)
{
    matrix_ = glm::translate(matrix_, offset);
}

} // namespace Skyhog::Game
