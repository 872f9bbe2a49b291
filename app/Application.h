// The application shell: opens the window and its OpenGL 3.3 core context,
// builds the long-lived game objects in a fixed order behind the intro
// picture, runs the frame loop and tears everything down in a fixed order.
//
// Start-up: openWindow() then startScene(); then frame() until shouldRun()
// is false; then shutdown(). run() does all of it for the real program.
// Every fatal start-up error writes one line, runs "PAUSE" and exits with 1.
#pragma once
#include "app/FrameLoop.h"
#include "app/GameClock.h"
#include "app/GamepadMapping.h"
#include "audio/SoundEngine.h"
#include "game/FlightCamera.h"
#include "game/FrameRenderer.h"
#include "game/ParticleStream.h"
#include "render/ShaderLibrary.h"
#include "render/WindowSize.h"
#include "scene/World.h"
#include "scene/WorldPrefetch.h"
#include "ui/ImageScreen.h"

#include <memory>

struct GLFWwindow;

namespace Skyhog::App {

// Seconds spent in each start-up step, for the benchmark.
struct StartupTimes {
    double window = 0, shaders = 0, pictures = 0, sound = 0, world = 0, camera = 0, renderer = 0;
};

class Application {
public:
    explicit Application(const WindowSize& size);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Window system, window, input callbacks, captured cursor, loader, global GL state.
    void openWindow(bool visible = true);
    // Shaders, pictures, intro music, intro picture, world, camera, renderer.
    void startScene();
    // False once Escape is held or the window was asked to close.
    bool shouldRun() const;
    // One frame: time, events, keys and pads, particles, the five passes (or
    // the win picture), swap. While paused: waits for events and redraws the
    // still world only when the window system asks.
    void frame();
    // The five passes (or the win picture) without time, input or the swap.
    void renderFrame(double frameStart);
    // Destroys everything in order and terminates the window system.
    void shutdown();

    GLFWwindow* window() const { return window_; }
    const WindowSize& size() const { return size_; }
    Game::FlightCamera& camera() { return *camera_; }
    Game::FrameRenderer& renderer() { return *renderer_; }
    Scene::World& world() { return *world_; }
    Game::ParticleStream& particles() { return *particles_; }
    Ui::ImageScreen& winPicture() { return *win_; }
    const ShaderLibrary& shaders() const { return *shaders_; }
    const StartupTimes& startupTimes() const { return times_; }

private:
    // The game's clock: the window system's time in seconds, paused stretches left out.
    class WindowClock final : public FrameHooks {
    public:
        double now() override;
        GameClock game;
    };

    // Adds the pads' keys and their turn over seconds to the frame (Start
    // pauses or resumes); returns the keys to play with.
    Game::KeyState withPads(Game::KeyState keys, float seconds);
    // Brings the clock and the renderer in line with the pause the input asked for.
    void followPause();

    WindowSize size_;
    GLFWwindow* window_ = nullptr;
    bool windowSystemUp_ = false;
    std::unique_ptr<Scene::WorldPrefetch> prefetch_;
    std::unique_ptr<ShaderLibrary> shaders_;
    std::unique_ptr<Ui::ImageScreen> intro_;
    std::unique_ptr<Ui::ImageScreen> win_;
    std::unique_ptr<Audio::SoundEngine> music_;
    std::unique_ptr<Scene::World> world_;
    std::unique_ptr<Game::ParticleStream> particles_;
    std::unique_ptr<Game::FlightCamera> camera_;
    std::unique_ptr<Game::FrameRenderer> renderer_;
    WindowClock clock_;
    std::unique_ptr<FrameLoop> loop_;
    StartupTimes times_;
    GamepadMapping pads_;
    Game::KeyState lastKeys_{}; // the keys the last frame played with
};

// The program: parses the command line, plays, and returns the exit status.
int run(int argc, char** argv);

} // namespace Skyhog::App
