#include "app/FrameLoop.h"

#include "app/FrameRate.h"

#include <string>

namespace Skyhog::App {

FrameLoop::FrameLoop(Scene::World& world, Game::FlightCamera& camera, Game::FrameRenderer& renderer,
                     Ui::ImageScreen& winPicture, FrameHooks& hooks)
    : world_(world), camera_(camera), renderer_(renderer), winPicture_(winPicture), hooks_(hooks)
{
}

void FrameLoop::clearWithSky()
{
    glClearColor(SkyRed, SkyGreen, SkyBlue, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}

void FrameLoop::step(const std::function<Game::KeyState()>& deliverInput)
{
    camera_.tick(static_cast<float>(hooks_.now()));
    const Game::KeyState keys = deliverInput();
    camera_.processKeys(keys, hooks_.now());
    renderer_.updateParticles();
}

void FrameLoop::render(double frameStart)
{
    if (!renderer_.running()) {
        clearWithSky();
        winPicture_.draw();
        return;
    }
    renderer_.setFrameTime(hooks_.now());
    // The two water passes cut the scene at the sea with clip distance 0.
    glEnable(GL_CLIP_DISTANCE0);
    renderPass(0, world_.getReflectionFramebuffer());
    renderPass(1, world_.getRefractionFramebuffer());
    glDisable(GL_CLIP_DISTANCE0);
    renderPass(2, renderer_.getMapFramebuffer());
    // Face culling is never enabled, so these two calls change nothing on any
    // driver: the shadow map holds the nearest faces, front or back, and the
    // shaders' depth bias keeps lit surfaces from shadowing themselves.
    glCullFace(GL_FRONT);
    renderPass(3, renderer_.getShadowFramebuffer());
    glCullFace(GL_BACK);
    renderPass(4, 0);
    renderer_.showFps(std::to_string(framesPerSecond(hooks_.secondsSince(frameStart))));
}

void FrameLoop::renderPass(std::size_t index, GLuint framebuffer)
{
    hooks_.beforePass(index);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    camera_.setPass(PassOrder[index]);
    clearWithSky();
    renderer_.renderPass();
    hooks_.afterPass(index);
}

} // namespace Skyhog::App
