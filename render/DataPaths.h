// Every file the game reads lives under this folder, relative to the working
// directory the game is started in.
#pragma once
#include <string>

namespace Skyhog {

inline const std::string DataRoot = "../../Skyhog/";

} // namespace Skyhog
