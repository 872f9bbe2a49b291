// Pictures of the benchmark's route: the finished frame of a few fixed route
// steps, saved as PNG, so two builds can be compared frame for frame (the
// route and its clock are the same in every run).
#pragma once
#include <array>
#include <string>

namespace Skyhog::Bench {

// The route frames that are saved: the hover at the start, the stream over
// the island, the crossing above the people, and the flight back over them.
inline constexpr std::array<long, 4> ShotFrames = {20, 120, 190, 290};

// The file a shot of the given route frame is saved to inside folder.
std::string shotPath(const std::string& folder, long frame);

// Saves the back buffer of the current context (width x height, before the
// swap) as a 24-bit PNG; returns an empty string or why it could not.
std::string saveBackBuffer(const std::string& path, int width, int height);

} // namespace Skyhog::Bench
