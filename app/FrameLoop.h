// One frame of the game, written once for the game and the benchmark: the
// step (time, the frame's input, held keys, particles) and then the five
// passes in their fixed order, or only the win picture once nobody is left.
//
// Assumes a current OpenGL 3.3 context and the long-lived game objects of a
// started scene. The window system stays outside: the caller delivers the
// frame's input, supplies the clock and swaps the buffers. The benchmark
// reaches in only through FrameHooks (its clock, and a call before and after
// each pass for its GPU timer queries).
#pragma once
#include "game/FlightCamera.h"
#include "game/FrameRenderer.h"
#include "game/KeyState.h"
#include "render/Gl.h"
#include "render/RenderPass.h"
#include "scene/World.h"
#include "ui/ImageScreen.h"

#include <array>
#include <cstddef>
#include <functional>
#include <string_view>

namespace Skyhog::App {

// What a frame takes from whoever runs it.
class FrameHooks {
public:
    virtual ~FrameHooks() = default;
    // The clock in seconds that drives the camera, the keys' timers and the water.
    virtual double now() = 0;
    // How long the frame that began at frameStart (a reading of now()) has
    // taken so far, for the frames-per-second text.
    virtual double secondsSince(double frameStart) { return now() - frameStart; }
    // Around each pass; index is the pass's place in FrameLoop::PassOrder.
    virtual void beforePass(std::size_t /*index*/) {}
    virtual void afterPass(std::size_t /*index*/) {}
};

class FrameLoop {
public:
    static constexpr float SkyRed = 0.52f, SkyGreen = 0.8f, SkyBlue = 1.0f;
    static constexpr std::array<std::string_view, 5> PassOrder{RenderPass::Reflection, RenderPass::Refraction,
                                                               RenderPass::Map, RenderPass::Shadow, RenderPass::Main};

    // Holds references only; every object must outlive the loop.
    FrameLoop(Scene::World& world, Game::FlightCamera& camera, Game::FrameRenderer& renderer,
              Ui::ImageScreen& winPicture, FrameHooks& hooks);

    // The camera takes the time, deliverInput runs this frame's events and
    // returns the keys held, the camera applies them, the particles move on.
    void step(const std::function<Game::KeyState()>& deliverInput);
    // The five passes and the frames-per-second text, or the win picture.
    void render(double frameStart);

    // Clears the bound target with the sky colour (colour, depth and stencil).
    static void clearWithSky();

private:
    void renderPass(std::size_t index, GLuint framebuffer);

    Scene::World& world_;
    Game::FlightCamera& camera_;
    Game::FrameRenderer& renderer_;
    Ui::ImageScreen& winPicture_;
    FrameHooks& hooks_;
};

} // namespace Skyhog::App
