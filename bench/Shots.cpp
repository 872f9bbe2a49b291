#include "Shots.h"

#include "render/Gl.h"

#include <FreeImage.h>

#include <cstdio>
#include <vector>

namespace Skyhog::Bench {

std::string shotPath(const std::string& folder, long frame)
{
    char name[32];
    std::snprintf(name, sizeof(name), "frame-%04ld.png", frame);
    return folder + "/" + name;
}

std::string saveBackBuffer(const std::string& path, int width, int height)
{
    // Read as BGR, bottom row first: FreeImage's own layout for 24-bit pictures.
    const int pitch = width * 3;
    std::vector<unsigned char> pixels(static_cast<std::size_t>(pitch) * static_cast<std::size_t>(height));
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_BGR, GL_UNSIGNED_BYTE, pixels.data());
    FIBITMAP* picture = FreeImage_ConvertFromRawBits(pixels.data(), width, height, pitch, 24, FI_RGBA_RED_MASK,
                                                     FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, false);
    if (!picture) return "could not make a picture of the frame for " + path;
    const bool saved = FreeImage_Save(FIF_PNG, picture, path.c_str(), PNG_DEFAULT);
    FreeImage_Unload(picture);
    return saved ? std::string() : "could not write " + path;
}

} // namespace Skyhog::Bench
