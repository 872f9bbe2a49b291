// Writes the whole data tree the game reads: models, pictures, sounds, font.
#pragma once
#include <string>
#include <vector>

#include "Pictures.h"

namespace datagen {

// The fonts found at build time: Liberation Sans; the bold face is shipped as Models/arial.ttf.
Fonts defaultFonts();

// Writes every file below `root`, creating folders as needed. The same inputs
// always give the same bytes.
void generateDataTree(const std::string& root, const Fonts& fonts = defaultFonts());

} // namespace datagen
