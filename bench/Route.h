// The scripted flight: a fixed sequence of legs, each holding some keys and
// moving the cursor by a fixed amount per frame, so every run flies exactly
// the same path at the same fixed time step. The legs form a closed loop (the
// pig ends where it started, facing the same way), so the route can repeat.
// Pure data and arithmetic, no window or OpenGL.
#pragma once
#include "game/KeyState.h"

#include <vector>

namespace Skyhog::Bench {

struct Leg {
    int frames = 0;
    bool forward = false, back = false, left = false, right = false; // W, S, A, D
    bool stream = false;                                             // Space
    double cursorDx = 0.0, cursorDy = 0.0;                           // pixels per frame
};

// What to feed the game on one frame.
struct RouteStep {
    Game::KeyState keys{};
    bool cursorMoved = false;
    double cursorX = 0.0, cursorY = 0.0;
};

class Route {
public:
    // Where the cursor rests before the first frame; the caller reports it
    // once as the first cursor event, so the first move turns the view too.
    static constexpr double CursorStartX = 512.0, CursorStartY = 384.0;

    explicit Route(std::vector<Leg> legs);
    // The benchmark's flight: out over the island and its people and back.
    static Route standard();

    // Frames in one lap.
    long lapFrames() const { return static_cast<long>(dx_.size()); }
    const std::vector<Leg>& legs() const { return legs_; }

    // The input for frame number `frame` (0-based; frames past one lap repeat
    // the lap); holdStream forces Space on every frame.
    RouteStep at(long frame, bool holdStream = false) const;

private:
    std::vector<Leg> legs_;
    std::vector<int> legOfFrame_;
    std::vector<double> dx_, dy_;      // cursor motion on each frame of a lap
    std::vector<double> x_, y_;        // cursor position after each frame of a lap
    double lapDx_ = 0.0, lapDy_ = 0.0; // cursor travel over a whole lap
};

} // namespace Skyhog::Bench
