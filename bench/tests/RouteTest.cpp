#include "Route.h"

#include <gtest/gtest.h>

using namespace Skyhog::Bench;
using Skyhog::Game::Key::A;
using Skyhog::Game::Key::D;
using Skyhog::Game::Key::S;
using Skyhog::Game::Key::Space;
using Skyhog::Game::Key::W;

TEST(Route, LapLengthIsTheSumOfItsLegs)
{
    const Route route({{.frames = 3, .forward = true}, {.frames = 2, .back = true}});
    EXPECT_EQ(route.lapFrames(), 5);
    EXPECT_TRUE(route.at(0).keys[W]);
    EXPECT_TRUE(route.at(2).keys[W]);
    EXPECT_TRUE(route.at(3).keys[S]);
    EXPECT_FALSE(route.at(3).keys[W]);
}

TEST(Route, FramesPastTheLapRepeatIt)
{
    const Route route = Route::standard();
    const long lap = route.lapFrames();
    for (long frame : {0L, 1L, 37L, lap - 1}) {
        EXPECT_EQ(route.at(frame).keys, route.at(frame + lap).keys) << frame;
        EXPECT_EQ(route.at(frame).keys, route.at(frame + 5 * lap).keys) << frame;
        EXPECT_EQ(route.at(frame).cursorMoved, route.at(frame + 2 * lap).cursorMoved) << frame;
    }
}

TEST(Route, CursorMovesByTheLegsAmountEachFrame)
{
    const Route route({{.frames = 2, .cursorDx = 3.0, .cursorDy = -1.0}, {.frames = 1}});
    EXPECT_TRUE(route.at(0).cursorMoved);
    EXPECT_DOUBLE_EQ(route.at(0).cursorX, Route::CursorStartX + 3.0);
    EXPECT_DOUBLE_EQ(route.at(1).cursorX, Route::CursorStartX + 6.0);
    EXPECT_DOUBLE_EQ(route.at(1).cursorY, Route::CursorStartY - 2.0);
    EXPECT_FALSE(route.at(2).cursorMoved);
    // The second lap carries on from where the first left the cursor.
    EXPECT_DOUBLE_EQ(route.at(3).cursorX, Route::CursorStartX + 9.0);
}

TEST(Route, HoldingTheStreamPressesSpaceEverywhere)
{
    const Route route = Route::standard();
    for (long frame = 0; frame < route.lapFrames(); ++frame) EXPECT_TRUE(route.at(frame, true).keys[Space]) << frame;
}

TEST(Route, TheStandardRouteStreamsOnlyPartOfTheWay)
{
    const Route route = Route::standard();
    long streaming = 0;
    for (long frame = 0; frame < route.lapFrames(); ++frame) streaming += route.at(frame).keys[Space] ? 1 : 0;
    EXPECT_GT(streaming, 0);
    EXPECT_LT(streaming, route.lapFrames());
}

TEST(Route, TheStandardRouteIsAClosedLoop)
{
    // Equal frames forward and back, left and right; the cursor comes back,
    // and only while hovering, so every move keeps the starting heading.
    const Route route = Route::standard();
    long forward = 0, left = 0;
    double cursorX = 0.0, cursorY = 0.0;
    for (const Leg& leg : route.legs()) {
        forward += (leg.forward ? leg.frames : 0) - (leg.back ? leg.frames : 0);
        left += (leg.left ? leg.frames : 0) - (leg.right ? leg.frames : 0);
        cursorX += leg.cursorDx * leg.frames;
        cursorY += leg.cursorDy * leg.frames;
        const bool moving = leg.forward || leg.back || leg.left || leg.right;
        const bool turning = leg.cursorDx != 0.0 || leg.cursorDy != 0.0;
        EXPECT_FALSE(moving && turning);
    }
    EXPECT_EQ(forward, 0);
    EXPECT_EQ(left, 0);
    EXPECT_DOUBLE_EQ(cursorX, 0.0);
    EXPECT_DOUBLE_EQ(cursorY, 0.0);
    const long lap = route.lapFrames();
    EXPECT_DOUBLE_EQ(route.at(lap - 1).cursorX, Route::CursorStartX);
    EXPECT_DOUBLE_EQ(route.at(lap - 1).cursorY, Route::CursorStartY);
}

TEST(Route, KeysOtherThanTheFiveStayUp)
{
    const Route route = Route::standard();
    for (long frame = 0; frame < route.lapFrames(); ++frame) {
        const auto keys = route.at(frame, true).keys;
        for (std::size_t key = 0; key < keys.size(); ++key) {
            if (key == W || key == A || key == S || key == D || key == Space) continue;
            ASSERT_FALSE(keys[key]) << "key " << key << " on frame " << frame;
        }
    }
}
