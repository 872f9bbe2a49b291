// The frames-per-second figure shown each frame.
#pragma once

namespace Skyhog::App {

// 1 / elapsed, truncated; 0 when the clock did not advance (a timer coarser
// than the frame), and capped rather than overflowing for tiny intervals.
int framesPerSecond(double elapsedSeconds);

} // namespace Skyhog::App
