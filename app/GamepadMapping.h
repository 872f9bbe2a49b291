// Turns the state of the gamepads into the game's own input: the left stick
// is W, A, S and D, the right stick turns the view like the mouse at a fixed
// rate, the A button or the right trigger is Space, and Start asks to pause
// or resume. The F-keys and Escape stay on the keyboard.
//
// Pads come in the window system's standard layout (its built-in mappings
// give every common pad one), so any number of them simply add up. Plain
// logic: the caller reads the pads and applies the result.
#pragma once
#include "game/KeyState.h"

#include <GLFW/glfw3.h>

#include <span>

namespace Skyhog::App {

// What the pads ask of the game this frame.
struct PadInput {
    Game::KeyState keys{}; // W, A, S, D and Space, to be added to the keyboard's
    float lookX = 0.0f;    // the view's turn, in the mouse's cursor units
    float lookY = 0.0f;
    bool togglePause = false; // Start was pressed since the previous frame
};

class GamepadMapping {
public:
    // Stick travel that counts for nothing, so that a worn stick resting off
    // centre neither moves the pig nor turns the view.
    static constexpr float DeadZone = 0.2f;
    // A stick pushed fully aside turns the view this fast.
    static constexpr float TurnDegreesPerSecond = 120.0f;

    // The input of the pads present (none at all is fine) over a frame of
    // seconds. Start counts once per press, however long it is held.
    PadInput read(std::span<const GLFWgamepadstate> pads, float seconds);

private:
    bool startHeld_ = false;
};

} // namespace Skyhog::App
