#include "DataGenerator.h"

#include "Models.h"
#include "Sky.h"
#include "Sounds.h"

#include <exception>
#include <filesystem>
#include <thread>

namespace datagen {

Fonts defaultFonts()
{
    return {SKYHOG_FONT_REGULAR, SKYHOG_FONT_BOLD};
}

void generateDataTree(const std::string& root, const Fonts& fonts)
{
    namespace fs = std::filesystem;
    for (const char* dir : {"Models/Pig", "Models/Ground", "Models/Landscape/Palms", "Models/Positions",
                            "Models/People/Bystand", "Models/Skybox", "Sounds"})
        fs::create_directories(fs::path(root) / dir);
    // The score is drawn with the bold face: its strokes are wide enough to
    // carry a dark rim inside them and still show their colour.
    fs::copy_file(fonts.bold, fs::path(root) / "Models/arial.ttf", fs::copy_options::overwrite_existing);

    // Two independent halves on two threads: every file is written by exactly
    // one of them, so the output does not depend on timing.
    std::exception_ptr failure;
    std::thread sounds([&] {
        try {
            sounds::writeSounds(root);
            writeSkybox(root);
        } catch (...) {
            failure = std::current_exception();
        }
    });
    std::exception_ptr mine;
    try {
        writePig(root);
        writeBystander(root);
        writeGround(root);
        writeMarkers(root);
        writePalms(root);
        writeBoat(root);
        writeIntroPicture(root, fonts);
        writeWinPicture(root, fonts);
    } catch (...) {
        mine = std::current_exception();
    }
    sounds.join();
    if (mine) std::rethrow_exception(mine);
    if (failure) std::rethrow_exception(failure);
}

} // namespace datagen
