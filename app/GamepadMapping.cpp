#include "app/GamepadMapping.h"

#include "game/CameraRig.h"

#include <algorithm>
#include <cmath>

namespace Skyhog::App {
namespace {

// The stick's travel past the dead zone, rescaled to -1..1 so that turning
// starts gently at the zone's edge instead of with a jump.
float beyondDeadZone(float axis)
{
    const float travel = std::abs(axis) - GamepadMapping::DeadZone;
    if (travel <= 0.0f) return 0.0f;
    return std::copysign(std::min(travel / (1.0f - GamepadMapping::DeadZone), 1.0f), axis);
}

} // namespace

PadInput GamepadMapping::read(std::span<const GLFWgamepadstate> pads, float seconds)
{
    PadInput input;
    bool startDown = false;
    // The turn in cursor units that a full push gives over the frame.
    const float fullTurn = TurnDegreesPerSecond / Game::CameraRig::MouseSensitivity * seconds;
    for (const GLFWgamepadstate& pad : pads) {
        // The window system's sticks read -1 up and left, +1 down and right.
        const float moveX = pad.axes[GLFW_GAMEPAD_AXIS_LEFT_X];
        const float moveY = pad.axes[GLFW_GAMEPAD_AXIS_LEFT_Y];
        if (moveY < -DeadZone) input.keys[Game::Key::W] = true;
        if (moveY > DeadZone) input.keys[Game::Key::S] = true;
        if (moveX < -DeadZone) input.keys[Game::Key::A] = true;
        if (moveX > DeadZone) input.keys[Game::Key::D] = true;
        // A trigger rests at -1 and reads +1 pulled fully: half way counts.
        if (pad.buttons[GLFW_GAMEPAD_BUTTON_A] == GLFW_PRESS || pad.axes[GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER] > 0.0f) {
            input.keys[Game::Key::Space] = true;
        }
        input.lookX += fullTurn * beyondDeadZone(pad.axes[GLFW_GAMEPAD_AXIS_RIGHT_X]);
        input.lookY += fullTurn * beyondDeadZone(pad.axes[GLFW_GAMEPAD_AXIS_RIGHT_Y]);
        startDown = startDown || pad.buttons[GLFW_GAMEPAD_BUTTON_START] == GLFW_PRESS;
    }
    input.togglePause = startDown && !startHeld_;
    startHeld_ = startDown;
    return input;
}

} // namespace Skyhog::App
