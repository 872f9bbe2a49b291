// Command-line forms and the frames-per-second figure.
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
