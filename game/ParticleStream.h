// Draws the pee stream: the particle pool's survivors as camera-facing quads,
// one instance each, with a single instanced draw of one shared four-corner
// quad. The two per-instance buffers are orphaned and refilled every draw.
//
// The caller makes no program current: draw() uses the "Particle" program,
// on which the caller has already set "projection", "view",
// "cameraRight_worldspace" and "cameraUp_worldspace".
#pragma once
#include "game/ParticlePool.h"
#include "render/GlHandle.h"
#include "render/Model.h"
#include "render/ShaderProgram.h"

#include <glm/mat4x4.hpp>

namespace Skyhog::Game {

class ParticleStream {
public:
    // The emitter (the pig) decides where particles start: its model matrix's translation.
    ParticleStream(const glm::mat4& matrix, ShaderProgram* program, const Scene::Model& emitter);
    ParticleStream(const ParticleStream&) = delete;
    ParticleStream& operator=(const ParticleStream&) = delete;

    // Advances the simulation by one frame's time step.
    void update(float deltaTime);
    // Uploads the survivors and draws them in one instanced call.
    void draw();
    // Moves the stream's own matrix (kept for the camera; it moves no particle).
    void translate(const glm::vec3& offset);

    const std::vector<glm::vec3>& recordedPositions() const { return pool_.recordedPositions(); }
    const ParticlePool& pool() const { return pool_; }
    ShaderProgram* program() const { return program_; }

private:
    glm::vec3 emitterPosition() const;

    ShaderProgram* program_;
    const Scene::Model& emitter_;
    glm::mat4 matrix_;
    ParticlePool pool_;
    GlVertexArray vertexArray_;
    GlBuffer billboardBuffer_;
    GlBuffer positionBuffer_;
    GlBuffer colorBuffer_;
};

} // namespace Skyhog::Game
