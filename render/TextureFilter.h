// OpenGL's texture filter values under names that need no OpenGL header, so
// the key controls can choose filters without the renderer. The renderer
// checks at compile time that each equals its GL constant.
#pragma once

namespace Skyhog::TextureFilter {

inline constexpr int Nearest = 0x2600;
inline constexpr int Linear = 0x2601;
inline constexpr int NearestMipmapNearest = 0x2700;
inline constexpr int LinearMipmapNearest = 0x2701;
inline constexpr int NearestMipmapLinear = 0x2702;
inline constexpr int LinearMipmapLinear = 0x2703;

} // namespace Skyhog::TextureFilter
