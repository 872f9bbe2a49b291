// The title picture shown while loading and the picture shown on winning.
#pragma once
#include <string>

namespace datagen {

struct Fonts {
    std::string regular;
    std::string bold;
};

void writeIntroPicture(const std::string& root, const Fonts& fonts);
void writeWinPicture(const std::string& root, const Fonts& fonts);

// The desktop icon: the intro picture's pig on a clear background, written as
// `dir`/skyhog-48.png, skyhog-128.png and skyhog-256.png.
void writeIcons(const std::string& dir);

} // namespace datagen
