// The five render passes of a frame. The frame loop stores the current one in
// the camera; the camera and the renderer decide by comparing with these names.
#pragma once
#include <string_view>

namespace Skyhog::RenderPass {

inline constexpr std::string_view Reflection = "reflection";
inline constexpr std::string_view Refraction = "refraction";
inline constexpr std::string_view Map = "map";
inline constexpr std::string_view Shadow = "shadow";
inline constexpr std::string_view Main = "main";

} // namespace Skyhog::RenderPass
