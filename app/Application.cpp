#include "app/Application.h"

#include "app/CommandLine.h"
#include "app/Input.h"
#include "render/DataPaths.h"
#include "render/Fatal.h"
#include "render/Gl.h"
#include "render/GlContext.h"
#include "render/RenderPass.h"

#include <GLFW/glfw3.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <iostream>
#include <string>

namespace Skyhog::App {
namespace {

const std::string WindowTitle = "Skyhog - piss 'em all off!";
const std::string IntroPicture = DataRoot + "Models/intro.jpg";
const std::string WinPicture = DataRoot + "Models/outro_win.jpg";

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Runs a start-up step and adds its duration to slot.
template <typename Step>
void timed(double& slot, Step&& step)
{
    const auto start = std::chrono::steady_clock::now();
    step();
    slot += secondsSince(start);
}

// The window system's last complaint, kept so that a failed start can be
// explained in words a player can act on.
int lastGlfwError = 0;
std::string lastGlfwDescription;

void reportGlfwError(int code, const char* description)
{
    std::cerr << "GLFW error " << code << ": " << description << '\n';
    lastGlfwError = code;
    lastGlfwDescription = description;
}

bool mentionsDisplay(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text.find("display") != std::string::npos;
}

// The OpenGL version the driver offers when asked for no particular one
// ("3.0", say), or "" when it offers none at all. Opens and closes a hidden
// window of its own; the window system must be up.
std::string offeredOpenGlVersion()
{
    glfwDefaultWindowHints();
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* probe = glfwCreateWindow(64, 64, "", nullptr, nullptr);
    if (probe == nullptr) return "";
    const std::string version = std::to_string(glfwGetWindowAttrib(probe, GLFW_CONTEXT_VERSION_MAJOR)) + "." +
                                std::to_string(glfwGetWindowAttrib(probe, GLFW_CONTEXT_VERSION_MINOR));
    glfwDestroyWindow(probe);
    return version;
}

// Says on standard error, in one sentence, what a player can do when no
// OpenGL 3.3 core context could be had.
void explainMissingContext()
{
    const std::string offered = offeredOpenGlVersion();
    std::cerr << "Skyhog needs OpenGL 3.3 (core profile), but "
              << (offered.empty() ? std::string("no OpenGL context of any version could be created")
                                  : "the graphics driver offers only OpenGL " + offered)
              << ": please check that the graphics driver is installed and up to date.\n";
}

} // namespace

Application::Application(const WindowSize& size) : size_(size) {}

Application::~Application()
{
    shutdown();
}

void Application::openWindow(bool visible)
{
    // The files are read on another core while the window, shaders and intro come up.
    prefetch_ = std::make_unique<Scene::WorldPrefetch>(std::vector<std::string>{IntroPicture, WinPicture});
    timed(times_.window, [&] {
        glfwSetErrorCallback(reportGlfwError);
        if (!glfwInit()) {
            if (mentionsDisplay(lastGlfwDescription)) {
                std::cerr << "Skyhog found no display to open its window on: please start the game from a desktop "
                             "session.\n";
            }
            note("could not initialize GLFW");
            pause();
            glfwTerminate();
            std::exit(1);
        }
        windowSystemUp_ = true;
        glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
        glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
        glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
        // Every target is sized once to the window; a resized window would draw into a corner.
        glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
        glfwWindowHint(GLFW_VISIBLE, visible ? GLFW_TRUE : GLFW_FALSE);
        if (size_.getWidth() <= 0 || size_.getHeight() <= 0) {
            // The window system would abort on these; refuse them the way it refuses any window.
            note("window size " + std::to_string(size_.getWidth()) + "x" + std::to_string(size_.getHeight()) +
                 " is not positive");
            note("could not create window");
            glfwTerminate();
            pause();
            std::exit(1);
        }
        window_ = glfwCreateWindow(size_.getWidth(), size_.getHeight(), WindowTitle.c_str(), nullptr, nullptr);
        if (window_ == nullptr) {
            if (lastGlfwError == GLFW_VERSION_UNAVAILABLE || lastGlfwError == GLFW_API_UNAVAILABLE) {
                explainMissingContext();
            }
            note("could not create window");
            glfwTerminate();
            pause();
            std::exit(1);
        }
        glfwMakeContextCurrent(window_);
        Input::install(window_);
        glfwSetInputMode(window_, GLFW_CURSOR, GLFW_CURSOR_DISABLED);

        glewExperimental = GL_TRUE;
        if (glewInit() != GLEW_OK) fatal("could not initialize GLEW");
        while (glGetError() != GL_NO_ERROR) {} // GLEW's probing of a core context can leave an error behind
        GlContext::setAlive(true);

        // Every offscreen target has the window's size; refuse one the driver cannot make.
        GLint maxTexture = 0, maxRenderbuffer = 0;
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTexture);
        glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &maxRenderbuffer);
        const GLint limit = std::min(maxTexture, maxRenderbuffer);
        if (size_.getWidth() > limit || size_.getHeight() > limit) {
            fatal("window size " + std::to_string(size_.getWidth()) + "x" + std::to_string(size_.getHeight()) +
                  " is larger than this OpenGL driver supports (" + std::to_string(limit) + ")");
        }

        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    });
}

void Application::startScene()
{
    glViewport(0, 0, size_.getWidth(), size_.getHeight());
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_STENCIL_TEST);
    // Filter the sky's cube map across face edges, so no seam shows where two
    // faces meet (drivers that do not do so by default would show one).
    glEnable(GL_TEXTURE_CUBE_MAP_SEAMLESS);

    timed(times_.shaders, [&] { shaders_ = std::make_unique<ShaderLibrary>(); });
    timed(times_.pictures, [&] {
        intro_ = std::make_unique<Ui::ImageScreen>(shaders_->get("Intro"), IntroPicture);
        win_ = std::make_unique<Ui::ImageScreen>(shaders_->get("Intro"), WinPicture);
    });
    timed(times_.sound, [&] {
        music_ = Audio::SoundEngine::create();
        if (!music_) fatal("ERROR Sound not available");
        music_->play2D(DataRoot + "Sounds/Intro.mp3", false);
    });
    timed(times_.pictures, [&] {
        FrameLoop::clearWithSky();
        intro_->draw();
        glfwSwapBuffers(window_);
    });
    timed(times_.world, [&] {
        if (prefetch_) prefetch_->finish();
        prefetch_.reset();
        world_ = std::make_unique<Scene::World>(*shaders_, size_.getWidth(), size_.getHeight());
        particles_ = std::make_unique<Game::ParticleStream>(glm::mat4(1.0f), shaders_->get("Particle"), world_->pig(),
                                                            world_->island());
    });
    timed(times_.camera, [&] {
        camera_ = std::make_unique<Game::FlightCamera>(size_, world_->pig(), *world_, *particles_, glfwGetTime());
        Input::setCamera(camera_.get());
    });
    timed(times_.renderer,
          [&] { renderer_ = std::make_unique<Game::FrameRenderer>(size_, *camera_, *world_, *shaders_, *particles_); });
    loop_ = std::make_unique<FrameLoop>(*world_, *camera_, *renderer_, *win_, clock_);
    glClearColor(0.1f, 0.1f, 0.1f, 1.0f);
}

bool Application::shouldRun() const
{
    return glfwGetKey(window_, GLFW_KEY_ESCAPE) != GLFW_PRESS && !glfwWindowShouldClose(window_);
}

double Application::WindowClock::now()
{
    return game.at(glfwGetTime());
}

void Application::frame()
{
    if (clock_.game.paused()) {
        // Nothing moves, so nothing needs drawing until the window is uncovered,
        // and the wait costs no processor time. Pads are not events: look at
        // them often enough that Start answers at once.
        glfwWaitEventsTimeout(0.05);
        Input::settleFocus(window_);
        withPads({}, 0.0f);
        followPause();
        if (clock_.game.paused()) {
            if (Input::takeRedraw()) {
                loop_->render(clock_.now());
                glfwSwapBuffers(window_);
            }
            return;
        }
    }
    const double frameStart = clock_.now();
    loop_->step([this] {
        glfwPollEvents();
        Input::settleFocus(window_);
        const Game::KeyState keys = withPads(Input::takeFrameKeys(), camera_->getDeltaTime());
        // The window system lets every key go when the focus leaves; the frame
        // that pauses plays on with the keys before, so the pause finds the
        // pig, and the stream under it, as the player left them.
        if (Input::paused()) return lastKeys_;
        lastKeys_ = keys;
        return keys;
    });
    followPause();
    loop_->render(frameStart);
    glfwSwapBuffers(window_);
    if (clock_.game.paused()) Input::takeRedraw(); // this frame already shows the pause
}

Game::KeyState Application::withPads(Game::KeyState keys, float seconds)
{
    std::array<GLFWgamepadstate, GLFW_JOYSTICK_LAST + 1> states{};
    std::size_t count = 0;
    for (int pad = GLFW_JOYSTICK_1; pad <= GLFW_JOYSTICK_LAST; ++pad) {
        if (glfwJoystickIsGamepad(pad) && glfwGetGamepadState(pad, &states[count])) ++count;
    }
    const PadInput input = pads_.read(std::span(states.data(), count), seconds);
    if (input.togglePause) Input::setPaused(window_, !Input::paused());
    if (Input::paused()) return keys;
    for (std::size_t key = 0; key < keys.size(); ++key) keys[key] = keys[key] || input.keys[key];
    camera_->turn(input.lookX, input.lookY);
    return keys;
}

void Application::followPause()
{
    const bool paused = Input::paused();
    if (paused == clock_.game.paused()) return;
    if (paused) {
        clock_.game.pause(glfwGetTime());
    } else {
        clock_.game.resume(glfwGetTime());
    }
    renderer_->setPaused(paused);
}

void Application::renderFrame(double frameStart)
{
    loop_->render(frameStart);
}

void Application::shutdown()
{
    prefetch_.reset();
    if (!windowSystemUp_) return;
    intro_.reset();
    win_.reset();
    Input::setCamera(nullptr);
    loop_.reset();
    camera_.reset(); // stops the sea sound
    window_ = nullptr;
    // Terminating the window system takes the context and every GPU object with it.
    GlContext::setAlive(false);
    glfwTerminate();
    windowSystemUp_ = false;
    shaders_.reset();
    particles_.reset();
    world_.reset();
    renderer_.reset();
    music_.reset();
    glfwTerminate();
}

int run(int argc, char** argv)
{
    const ParsedCommandLine line = parseCommandLine(argc, argv, std::cout);
    if (!line.error.empty()) fatal(line.error);
    Application app(line.size);
    app.openWindow();
    app.startScene();
    while (app.shouldRun()) app.frame();
    app.shutdown();
    return 0;
}

} // namespace Skyhog::App
