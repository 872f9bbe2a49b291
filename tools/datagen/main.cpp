// skyhog-datagen OUTPUT_DIR: writes the game's models, pictures, sounds and font.
#include "DataGenerator.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    try {
        datagen::generateDataTree(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skyhog-datagen: %s\n", e.what());
        return 1;
    }
    return 0;
}
