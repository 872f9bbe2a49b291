// Draws the pee stream: the pool's falling drops and the splashes where they
// land (in that order), one instance each, with a single instanced draw of one shared
// four-corner quad. The per-instance buffers are orphaned and refilled every
// draw: "xyzs" (centre and size), "color" and "motion" (where the stream runs
// on from a drop, and what the instance is and how old; see StreamInstance.h).
//
// The caller makes no program current: draw() uses the "Particle" program,
// on which the caller has already set "projection", "view",
// "cameraRight_worldspace" and "cameraUp_worldspace". The program writes
// premultiplied colour, so draw() blends with (1, 1 - source alpha) for its
// own draw, and lets each pixel take the stream's colour once through the
// stencil's top bit (the pass clears the stencil); it puts the game's usual
// blending and stencil state back afterwards.
#pragma once
#include "game/ParticlePool.h"
#include "game/Splashes.h"
#include "render/GlHandle.h"
#include "render/Model.h"
#include "render/ShaderProgram.h"

#include <glm/mat4x4.hpp>

namespace Skyhog::Game {

class ParticleStream {
public:
    // The emitter (the pig) decides where drops start: the translation of
    // its model matrix as its placement is now. The drops land on the ground model's triangles (the
    // island) where they stand above the sea, and on the sea elsewhere.
    ParticleStream(const glm::mat4& matrix, ShaderProgram* program, const Scene::Model& emitter,
                   const Scene::Model& ground);
    ParticleStream(const ParticleStream&) = delete;
    ParticleStream& operator=(const ParticleStream&) = delete;

    // Advances the drops and the splashes by one frame's time step.
    void update(float deltaTime);
    // Uploads the drops and the splashes and draws them in one instanced call.
    void draw();
    // Moves the stream's own matrix (kept for the camera; it moves no particle).
    void translate(const glm::vec3& offset);
    // A splash where the stream hit a person.
    void burst(const glm::vec3& at) { splashes_.burst(at); }

    const std::vector<glm::vec3>& recordedPositions() const { return pool_.recordedPositions(); }
    const ParticlePool& pool() const { return pool_; }
    const Splashes& splashes() const { return splashes_; }
    ShaderProgram* program() const { return program_; }

    static constexpr int MaxInstances = ParticlePool::MaxParticles + Splashes::MaxSplashes;

private:
    glm::vec3 emitterPosition() const;

    ShaderProgram* program_;
    const Scene::Model& emitter_;
    glm::mat4 matrix_;
    ParticlePool pool_;
    Splashes splashes_;
    GlVertexArray vertexArray_;
    GlBuffer billboardBuffer_;
    GlBuffer positionBuffer_;
    GlBuffer colorBuffer_;
    GlBuffer motionBuffer_;
};

} // namespace Skyhog::Game
