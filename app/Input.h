// The window system's input callbacks and the state they keep: the table of
// held keys, the first-cursor flag and the pause. Escape asks the window to
// close, paused or not. Callbacks run only inside event polling on the main
// thread.
//
// The pause: when the window loses focus the game pauses and lets the
// pointer go; a click in the window captures it again and resumes play.
// While paused the cursor turns nothing, and the first cursor event after
// the capture only records where the pointer is, so the view does not jump.
#pragma once
#include "game/FlightCamera.h"
#include "game/KeyState.h"

struct GLFWwindow;

namespace Skyhog::App::Input {

// Registers the key, cursor-position and scroll callbacks, in that order,
// then those for focus, mouse buttons and redraw requests.
void install(GLFWwindow* window);
// The camera that receives mouse look; null until the camera exists.
void setCamera(Game::FlightCamera* camera);

const Game::KeyState& keys();
// The keys for one frame: those held now plus those pressed since the last
// call, so a tap shorter than a frame still counts once. Clears the taps.
Game::KeyState takeFrameKeys();
bool firstCursor();

bool paused();
// Pauses (the pointer is let go) or resumes (the pointer is captured, keys
// tapped while paused are forgotten). Setting the state it is in changes nothing.
void setPaused(GLFWwindow* window, bool paused);
// Called after each round of event polling: pauses if the focus went away
// and did not come back in the same round. (Some window systems take the
// focus away and give it back at once when a window is given it; that is no
// reason to pause.)
void settleFocus(GLFWwindow* window);
// True once after the pause began or ended or the window system asked for
// the window to be drawn again; a paused game redraws only then.
bool takeRedraw();

// The callbacks themselves, exposed for tests.
void onKey(GLFWwindow* window, int key, int scancode, int action, int mods);
void onCursor(GLFWwindow* window, double x, double y);
void onScroll(GLFWwindow* window, double xOffset, double yOffset);
void onFocus(GLFWwindow* window, int focused);
void onMouseButton(GLFWwindow* window, int button, int action, int mods);
void onRefresh(GLFWwindow* window);

} // namespace Skyhog::App::Input
