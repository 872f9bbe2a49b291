// The table of held keys shared by the input callbacks and the camera:
// one entry per key code 0..1023, true while the key is held.
#pragma once
#include <array>

namespace Skyhog::Game {

using KeyState = std::array<bool, 1024>;

// The key codes the game reacts to (the window system's numbering).
namespace Key {
inline constexpr int Space = 32;
inline constexpr int A = 65;
inline constexpr int D = 68;
inline constexpr int S = 83;
inline constexpr int W = 87;
inline constexpr int F1 = 290;
inline constexpr int F3 = 292;
inline constexpr int F4 = 293;
inline constexpr int F5 = 294;
inline constexpr int F6 = 295;
inline constexpr int F7 = 296;
inline constexpr int F8 = 297;
} // namespace Key

} // namespace Skyhog::Game
