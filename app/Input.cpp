#include "app/Input.h"

#include <GLFW/glfw3.h>

namespace Skyhog::App::Input {
namespace {

Game::KeyState keyState{};
Game::KeyState tappedSinceFrame{};
bool firstCursorEvent = true;
bool pausedNow = false;
bool redrawWanted = false;
bool focusLeft = false; // the focus went away during this round of events
Game::FlightCamera* activeCamera = nullptr;

} // namespace

void install(GLFWwindow* window)
{
    glfwSetKeyCallback(window, onKey);
    glfwSetCursorPosCallback(window, onCursor);
    glfwSetScrollCallback(window, onScroll);
    glfwSetWindowFocusCallback(window, onFocus);
    glfwSetMouseButtonCallback(window, onMouseButton);
    glfwSetWindowRefreshCallback(window, onRefresh);
}

void setCamera(Game::FlightCamera* camera)
{
    activeCamera = camera;
}

const Game::KeyState& keys()
{
    return keyState;
}

Game::KeyState takeFrameKeys()
{
    Game::KeyState frame{};
    for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = keyState[i] || tappedSinceFrame[i];
    tappedSinceFrame = {};
    return frame;
}

bool firstCursor()
{
    return firstCursorEvent;
}

bool paused()
{
    return pausedNow;
}

void setPaused(GLFWwindow* window, bool paused)
{
    if (paused == pausedNow) return;
    pausedNow = paused;
    redrawWanted = true;
    if (window != nullptr) glfwSetInputMode(window, GLFW_CURSOR, paused ? GLFW_CURSOR_NORMAL : GLFW_CURSOR_DISABLED);
    if (!paused) {
        firstCursorEvent = true;
        tappedSinceFrame = {};
    }
}

void settleFocus(GLFWwindow* window)
{
    if (focusLeft) setPaused(window, true);
    focusLeft = false;
}

bool takeRedraw()
{
    const bool wanted = redrawWanted;
    redrawWanted = false;
    return wanted;
}

void onKey(GLFWwindow* window, int key, int, int action, int)
{
    if (key == GLFW_KEY_ESCAPE && action == GLFW_PRESS) glfwSetWindowShouldClose(window, GLFW_TRUE);
    if (key < 0 || key >= static_cast<int>(keyState.size())) return;
    if (action == GLFW_PRESS) {
        keyState[static_cast<std::size_t>(key)] = true;
        tappedSinceFrame[static_cast<std::size_t>(key)] = true;
    } else if (action == GLFW_RELEASE) keyState[static_cast<std::size_t>(key)] = false;
}

void onCursor(GLFWwindow*, double x, double y)
{
    if (pausedNow) return;
    if (activeCamera != nullptr) firstCursorEvent = activeCamera->onCursor(x, y, firstCursorEvent);
}

void onScroll(GLFWwindow*, double, double yOffset)
{
    if (activeCamera != nullptr) activeCamera->onScroll(yOffset);
}

void onFocus(GLFWwindow*, int focused)
{
    focusLeft = !focused;
}

void onMouseButton(GLFWwindow* window, int, int action, int)
{
    if (action == GLFW_PRESS) setPaused(window, false);
}

void onRefresh(GLFWwindow*)
{
    redrawWanted = true;
}

} // namespace Skyhog::App::Input
