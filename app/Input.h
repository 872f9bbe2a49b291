// The window system's input callbacks and the state they keep: the table of
// held keys and the first-cursor flag. Escape asks the window to close.
// Callbacks run only inside event polling on the main thread.
#pragma once
#include "game/FlightCamera.h"
#include "game/KeyState.h"

struct GLFWwindow;

namespace Skyhog::App::Input {

// Registers the key, cursor-position and scroll callbacks, in that order.
void install(GLFWwindow* window);
// The camera that receives mouse look; null until the camera exists.
void setCamera(Game::FlightCamera* camera);

const Game::KeyState& keys();
// The keys for one frame: those held now plus those pressed since the last
// call, so a tap shorter than a frame still counts once. Clears the taps.
Game::KeyState takeFrameKeys();
bool firstCursor();

// The callbacks themselves, exposed for tests.
void onKey(GLFWwindow* window, int key, int scancode, int action, int mods);
void onCursor(GLFWwindow* window, double x, double y);
void onScroll(GLFWwindow* window, double xOffset, double yOffset);

} // namespace Skyhog::App::Input
