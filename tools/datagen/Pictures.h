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

} // namespace datagen
