// skyhog-datagen OUTPUT_DIR [ICON_DIR]: writes the game's models, pictures,
// sounds and font, and with ICON_DIR the desktop icons the package installs.
#include "DataGenerator.h"

#include "Pictures.h"

#include <cstdio>
#include <exception>
#include <filesystem>

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR [ICON_DIR]\n", argv[0]);
        return 2;
    }
    try {
        datagen::generateDataTree(argv[1]);
        if (argc == 3) {
            std::filesystem::create_directories(argv[2]);
            datagen::writeIcons(argv[2]);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skyhog-datagen: %s\n", e.what());
        return 1;
    }
    return 0;
}
