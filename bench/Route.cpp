#include "Route.h"

#include <utility>

namespace Skyhog::Bench {

Route::Route(std::vector<Leg> legs) : legs_(std::move(legs))
{
    double x = 0.0, y = 0.0;
    for (std::size_t n = 0; n < legs_.size(); ++n) {
        for (int f = 0; f < legs_[n].frames; ++f) {
            legOfFrame_.push_back(static_cast<int>(n));
            dx_.push_back(legs_[n].cursorDx);
            dy_.push_back(legs_[n].cursorDy);
            x += legs_[n].cursorDx;
            y += legs_[n].cursorDy;
            x_.push_back(x);
            y_.push_back(y);
        }
    }
    lapDx_ = x;
    lapDy_ = y;
}

RouteStep Route::at(long frame, bool holdStream) const
{
    RouteStep step;
    step.cursorX = CursorStartX;
    step.cursorY = CursorStartY;
    if (dx_.empty() || frame < 0) {
        step.keys[Game::Key::Space] = holdStream;
        return step;
    }
    const long lap = frame / lapFrames();
    const auto index = static_cast<std::size_t>(frame % lapFrames());
    const Leg& leg = legs_[static_cast<std::size_t>(legOfFrame_[index])];
    step.keys[Game::Key::W] = leg.forward;
    step.keys[Game::Key::S] = leg.back;
    step.keys[Game::Key::A] = leg.left;
    step.keys[Game::Key::D] = leg.right;
    step.keys[Game::Key::Space] = leg.stream || holdStream;
    step.firstCursor = frame == 0;
    step.cursorMoved = step.firstCursor || dx_[index] != 0.0 || dy_[index] != 0.0;
    step.cursorX = CursorStartX + static_cast<double>(lap) * lapDx_ + x_[index];
    step.cursorY = CursorStartY + static_cast<double>(lap) * lapDy_ + y_[index];
    return step;
}

Route Route::standard()
{
    // Yaw changes by 0.05 degrees per pixel of cursor travel (leftwards turns
    // left); 1800 pixels make a quarter turn. Movement is 50 model units per
    // second along the held directions.
    std::vector<Leg> legs;
    legs.push_back({.frames = 30});                                            // hover: the stream starts off
    legs.push_back({.frames = 20, .cursorDx = 3.0, .cursorDy = 2.0});          // glance right and down
    legs.push_back({.frames = 20, .cursorDx = -3.0, .cursorDy = -2.0});        // and back
    legs.push_back({.frames = 60, .forward = true});                           // out to sea towards the island
    legs.push_back({.frames = 60, .forward = true, .stream = true});           // over the people, stream on
    legs.push_back({.frames = 30, .left = true, .stream = true});              // sideways across the island
    legs.push_back({.frames = 60, .forward = true, .stream = true, .cursorDx = -15.0}); // a banking turn left
    legs.push_back({.frames = 60, .back = true, .cursorDx = 15.0});            // unwind the turn backing off
    legs.push_back({.frames = 30, .right = true});                             // sideways back
    legs.push_back({.frames = 120, .back = true});                             // home
    return Route(std::move(legs));
}

} // namespace Skyhog::Bench
