// The game's time: the window system's clock with every paused stretch left
// out, so that a pause holds the world still and play resumes where it
// stopped, with no jump. Plain logic: the caller passes the clock's reading.
#pragma once

namespace Skyhog::App {

class GameClock {
public:
    // The game time at the clock reading wall; it stands still while paused.
    double at(double wall) const;
    // Stops the game time at wall; a second pause changes nothing.
    void pause(double wall);
    // Lets the game time run on from where it stopped; harmless when not paused.
    void resume(double wall);
    bool paused() const { return paused_; }

private:
    bool paused_ = false;
    double pausedAt_ = 0.0;
    double pausedTotal_ = 0.0;
};

} // namespace Skyhog::App
