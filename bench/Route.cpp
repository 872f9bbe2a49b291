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
    step.cursorMoved = dx_[index] != 0.0 || dy_[index] != 0.0;
    step.cursorX = CursorStartX + static_cast<double>(lap) * lapDx_ + x_[index];
    step.cursorY = CursorStartY + static_cast<double>(lap) * lapDy_ + y_[index];
    return step;
}

Route Route::standard()
{
    // The pig starts 1 unit in front of the origin facing +z; the people stand
    // between z = 10 and z = 31 and x = -11 and x = 12 (world units). W and S
    // move 1/6 unit a frame along z, A and D along x (A towards +x). The
    // cursor turns the view 0.05 degrees per pixel; it only moves while the
    // pig hovers and always returns, so every movement leg keeps the heading
    // and the loop closes: 110 + 40 forward, 90 + 60 back, 36 left, 36 right.
    std::vector<Leg> legs;
    legs.push_back({.frames = 5, .cursorDx = 4.0, .cursorDy = 2.0}); // look around while hovering
    legs.push_back({.frames = 10, .cursorDx = -4.0, .cursorDy = -2.0});
    legs.push_back({.frames = 5, .cursorDx = 4.0, .cursorDy = 2.0});
    legs.push_back({.frames = 40, .forward = true});                                   // towards the island
    legs.push_back({.frames = 110, .forward = true, .stream = true});                  // over the people
    legs.push_back({.frames = 36, .left = true, .stream = true});                      // across
    legs.push_back({.frames = 10, .stream = true, .cursorDx = -6.0, .cursorDy = 3.0}); // hover, look back
    legs.push_back({.frames = 10, .stream = true, .cursorDx = 6.0, .cursorDy = -3.0});
    legs.push_back({.frames = 90, .back = true, .stream = true}); // back over the people
    legs.push_back({.frames = 36, .right = true});                // across again
    legs.push_back({.frames = 60, .back = true});                 // home
    return Route(std::move(legs));
}

} // namespace Skyhog::Bench
