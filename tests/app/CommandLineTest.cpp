// The application shell's plain logic: command-line forms, the frames-per-second
// figure, the key table and the pause, the game clock and the gamepad mapping.
#include "app/CommandLine.h"
#include "app/FrameRate.h"

#include <gtest/gtest.h>

#include <climits>
#include <sstream>
#include <vector>

using namespace Skyhog::App;

namespace {

struct Outcome {
    int width, height;
    std::string error, output;
};

Outcome parse(std::vector<const char*> args)
{
    args.insert(args.begin(), "skyhog");
    std::ostringstream out;
    const auto line = parseCommandLine(static_cast<int>(args.size()), args.data(), out);
    return {line.size.getWidth(), line.size.getHeight(), line.error, out.str()};
}

} // namespace

TEST(CommandLine, AnyCountButTwoUsesTheDefaultSilently)
{
    for (const auto& args : {std::vector<const char*>{}, {"800"}, {"800", "600", "1"}}) {
        const Outcome o = parse(args);
        EXPECT_EQ(o.width, 1024);
        EXPECT_EQ(o.height, 768);
        EXPECT_EQ(o.error, "");
        EXPECT_EQ(o.output, "");
    }
}

TEST(CommandLine, TwoIntegersGiveTheSizeAndAnnounceTheProgram)
{
    const Outcome o = parse({"800", "600"});
    EXPECT_EQ(o.width, 800);
    EXPECT_EQ(o.height, 600);
    EXPECT_EQ(o.output, "Executingskyhog:\n");
}

TEST(CommandLine, TrailingCharactersAreIgnoredAndSignsAccepted)
{
    EXPECT_EQ(parse({"800x", "600"}).width, 800);
    const Outcome negative = parse({"-5", "600"});
    EXPECT_EQ(negative.error, ""); // the window system refuses it later
    EXPECT_EQ(negative.width, -5);
    EXPECT_EQ(parse({"0", "0"}).width, 0);
}

TEST(CommandLine, NonNumbersAndOverflowNameTheFaultyArgument)
{
    EXPECT_EQ(parse({"abc", "600"}).error, "please use int for window width");
    EXPECT_EQ(parse({"800", "abc"}).error, "please use int for window height");
    EXPECT_EQ(parse({"99999999999", "600"}).error, "please use int for window width");
    EXPECT_EQ(parse({"", "600"}).error, "please use int for window width");
}

TEST(FrameRate, TruncatesAndNeverDividesByZeroOrOverflows)
{
    EXPECT_EQ(framesPerSecond(0.016), 62);
    EXPECT_EQ(framesPerSecond(2.0), 0);
    EXPECT_EQ(framesPerSecond(0.0), 0);
    EXPECT_EQ(framesPerSecond(-0.001), 0);
    EXPECT_EQ(framesPerSecond(1e-300), INT_MAX);
}

#include "app/Input.h"
#include "game/KeyState.h"

#include <GLFW/glfw3.h>

TEST(Input, KeysOutsideTheTableAreIgnoredAndRepeatsKeepAKeyHeld)
{
    Input::onKey(nullptr, -1, 0, GLFW_PRESS, 0);
    Input::onKey(nullptr, 1024, 0, GLFW_PRESS, 0);
    Input::onKey(nullptr, Skyhog::Game::Key::W, 0, GLFW_PRESS, 0);
    Input::onKey(nullptr, Skyhog::Game::Key::W, 0, GLFW_REPEAT, 0);
    EXPECT_TRUE(Input::keys()[Skyhog::Game::Key::W]);
    Input::onKey(nullptr, Skyhog::Game::Key::W, 0, GLFW_RELEASE, 0);
    EXPECT_FALSE(Input::keys()[Skyhog::Game::Key::W]);
    Input::takeFrameKeys();
}

TEST(Input, ATapShorterThanAFrameStillCountsForOneFrame)
{
    Input::takeFrameKeys();
    Input::onKey(nullptr, Skyhog::Game::Key::F7, 0, GLFW_PRESS, 0);
    Input::onKey(nullptr, Skyhog::Game::Key::F7, 0, GLFW_RELEASE, 0);
    EXPECT_FALSE(Input::keys()[Skyhog::Game::Key::F7]);
    EXPECT_TRUE(Input::takeFrameKeys()[Skyhog::Game::Key::F7]);
    EXPECT_FALSE(Input::takeFrameKeys()[Skyhog::Game::Key::F7]);
}

// Looking away pauses; only a click plays on, and a key tapped meanwhile is not
// played afterwards (the window system's key-up still counts).
TEST(Input, FocusLossPausesUntilAClickAndTapsWhilePausedAreDropped)
{
    // The focus taken and given back in one round of events is no reason to pause.
    Input::onFocus(nullptr, GLFW_FALSE);
    Input::onFocus(nullptr, GLFW_TRUE);
    Input::settleFocus(nullptr);
    EXPECT_FALSE(Input::paused());
    Input::onFocus(nullptr, GLFW_FALSE);
    Input::settleFocus(nullptr);
    EXPECT_TRUE(Input::paused());
    EXPECT_TRUE(Input::takeRedraw());
    Input::onFocus(nullptr, GLFW_TRUE);
    Input::settleFocus(nullptr);
    Input::onKey(nullptr, Skyhog::Game::Key::F3, 0, GLFW_PRESS, 0);
    Input::onKey(nullptr, Skyhog::Game::Key::F3, 0, GLFW_RELEASE, 0);
    Input::onMouseButton(nullptr, GLFW_MOUSE_BUTTON_LEFT, GLFW_RELEASE, 0);
    EXPECT_TRUE(Input::paused());
    Input::onMouseButton(nullptr, GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS, 0);
    EXPECT_FALSE(Input::paused());
    EXPECT_FALSE(Input::takeFrameKeys()[Skyhog::Game::Key::F3]);
    EXPECT_TRUE(Input::firstCursor());
}

#include "app/GameClock.h"

TEST(GameClock, PausedStretchesAreLeftOutWithNoJump)
{
    GameClock clock;
    EXPECT_DOUBLE_EQ(clock.at(10.0), 10.0);
    clock.pause(10.0);
    clock.pause(12.0); // already paused: the first pause holds
    EXPECT_DOUBLE_EQ(clock.at(15.0), 10.0);
    clock.resume(15.0);
    EXPECT_DOUBLE_EQ(clock.at(15.0), 10.0);
    EXPECT_DOUBLE_EQ(clock.at(16.5), 11.5);
    clock.resume(20.0); // not paused: nothing changes
    clock.pause(20.0);
    clock.resume(21.0);
    EXPECT_DOUBLE_EQ(clock.at(22.0), 16.0);
}

#include "app/GamepadMapping.h"
#include "game/CameraRig.h"

namespace {

GLFWgamepadstate restingPad()
{
    GLFWgamepadstate pad{};
    pad.axes[GLFW_GAMEPAD_AXIS_LEFT_TRIGGER] = pad.axes[GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER] = -1.0f;
    return pad;
}

} // namespace

TEST(GamepadMapping, SticksCountPastTheDeadZoneAndPadsAddUp)
{
    using namespace Skyhog::Game;
    GamepadMapping mapping;
    GLFWgamepadstate pad = restingPad();
    pad.axes[GLFW_GAMEPAD_AXIS_LEFT_X] = 0.15f;
    pad.axes[GLFW_GAMEPAD_AXIS_LEFT_Y] = -0.19f;
    pad.axes[GLFW_GAMEPAD_AXIS_RIGHT_X] = -0.2f;
    PadInput input = mapping.read(std::span(&pad, 1), 0.5f);
    EXPECT_EQ(input.keys, KeyState{});
    EXPECT_EQ(input.lookX, 0.0f);

    // Up and left on the left stick, right fully on the right stick, trigger half pulled.
    pad.axes[GLFW_GAMEPAD_AXIS_LEFT_X] = -0.5f;
    pad.axes[GLFW_GAMEPAD_AXIS_LEFT_Y] = -0.9f;
    pad.axes[GLFW_GAMEPAD_AXIS_RIGHT_X] = 1.0f;
    pad.axes[GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER] = 0.1f;
    input = mapping.read(std::span(&pad, 1), 0.5f);
    EXPECT_TRUE(input.keys[Key::W] && input.keys[Key::A] && input.keys[Key::Space]);
    EXPECT_FALSE(input.keys[Key::S] || input.keys[Key::D]);
    // Half a second fully aside turns the view as far as the mouse's 60 degrees.
    EXPECT_FLOAT_EQ(input.lookX * CameraRig::MouseSensitivity, 60.0f);
    EXPECT_EQ(input.lookY, 0.0f);

    // A second pad adds its own: down and right, the A button, the same turn.
    GLFWgamepadstate other = restingPad();
    other.axes[GLFW_GAMEPAD_AXIS_LEFT_X] = 0.3f;
    other.axes[GLFW_GAMEPAD_AXIS_LEFT_Y] = 0.3f;
    other.axes[GLFW_GAMEPAD_AXIS_RIGHT_X] = 1.0f;
    other.buttons[GLFW_GAMEPAD_BUTTON_A] = GLFW_PRESS;
    const GLFWgamepadstate both[] = {restingPad(), other};
    input = mapping.read(both, 0.25f);
    EXPECT_TRUE(input.keys[Key::S] && input.keys[Key::D] && input.keys[Key::Space]);
    EXPECT_FALSE(input.keys[Key::W] || input.keys[Key::A]);
    EXPECT_FLOAT_EQ(input.lookX * CameraRig::MouseSensitivity, 30.0f);
}

TEST(GamepadMapping, StartTogglesThePauseOncePerPress)
{
    GamepadMapping mapping;
    GLFWgamepadstate pad = restingPad();
    pad.buttons[GLFW_GAMEPAD_BUTTON_START] = GLFW_PRESS;
    std::vector<bool> toggles;
    for (int frame = 0; frame < 3; ++frame) toggles.push_back(mapping.read(std::span(&pad, 1), 0.1f).togglePause);
    pad.buttons[GLFW_GAMEPAD_BUTTON_START] = GLFW_RELEASE;
    toggles.push_back(mapping.read(std::span(&pad, 1), 0.1f).togglePause);
    // Unplugging the pad that held Start releases it too.
    pad.buttons[GLFW_GAMEPAD_BUTTON_START] = GLFW_PRESS;
    toggles.push_back(mapping.read(std::span(&pad, 1), 0.1f).togglePause);
    toggles.push_back(mapping.read({}, 0.1f).togglePause);
    toggles.push_back(mapping.read(std::span(&pad, 1), 0.1f).togglePause);
    EXPECT_EQ(toggles, (std::vector<bool>{true, false, false, false, true, false, true}));
}
