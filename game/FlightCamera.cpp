#include "game/FlightCamera.h"

#include "render/DataPaths.h"
#include "render/Fatal.h"
#include "render/RenderPass.h"

namespace Skyhog::Game {

FlightCamera::FlightCamera(const WindowSize& windowSize, Scene::Model& pig, Scene::World& world,
                           ParticleStream& particles, double now)
    : windowSize_(windowSize), pig_(pig), world_(world), particles_(particles), controls_(now), rig_(pig),
      pass_(RenderPass::Main)
{
    soundEngine_ = Audio::SoundEngine::create();
    if (!soundEngine_) fatal("ERROR Sound not available");
    waveSound_ = soundEngine_->play2D(DataRoot + "Sounds/waves.mp3", true);
}

void FlightCamera::tick(float now)
{
    deltaTime_ = now - lastFrame_;
    lastFrame_ = now;
}

void FlightCamera::processKeys(const KeyState& keys, double now)
{
    const KeyControls::Step step = controls_.process(keys, deltaTime_, rig_.getFront(), rig_.getUp(), now);
    rig_.setFreeFlight(controls_.freeFlight());
    rig_.setCullingView(controls_.cullingOn());
    if (step.wireframeChanged) glPolygonMode(GL_FRONT_AND_BACK, controls_.wireframe() ? GL_LINE : GL_FILL);
    if (step.filtersChanged) world_.setTextureFilter(controls_.filters().minFilter, controls_.filters().magFilter);

    if (!controls_.freeFlight()) {
        pig_.translate(step.displacement);
        particles_.translate(step.displacement);
        for (Scene::Model* wing : world_.wings()) wing->translate(step.displacement);
    } else {
        rig_.setPending(step.displacement);
    }
}

bool FlightCamera::onCursor(double x, double y, bool first)
{
    rig_.mouseLook(static_cast<float>(x), static_cast<float>(y), first);
    return false;
}

void FlightCamera::onScroll(double) {}

glm::mat4 FlightCamera::viewFor() const
{
    return rig_.viewFor(pass_, world_.lamp().worldPosition());
}

glm::mat4 FlightCamera::lightView() const
{
    return rig_.viewFor(RenderPass::Shadow, world_.lamp().worldPosition());
}

PassEye FlightCamera::passEye() const
{
    return rig_.eyeFor(pass_, world_.lamp().worldPosition());
}

} // namespace Skyhog::Game
