// A picture shown over the whole window: the intro screen while the world
// loads and the win screen once the game is won.
//
// The picture is loaded as a full-screen picture (its path is echoed, it
// wraps mirrored and filters linearly) and stretched over normalised device
// coordinates -1..1, so a non-square window distorts it. The program takes
// the position at attribute 0, the texture coordinate at attribute 1 and
// samples "screenTexture" from texture unit 0. A missing picture leaves an
// empty texture and an untextured draw. Needs a current context.
#pragma once
#include "render/GlHandle.h"
#include "render/ScreenQuad.h"
#include "render/ShaderProgram.h"

#include <string>

namespace Skyhog::Ui {

class ImageScreen {
public:
    // Builds the full-screen quad and loads the picture at picturePath.
    ImageScreen(ShaderProgram* program, const std::string& picturePath);

    ImageScreen(const ImageScreen&) = delete;
    ImageScreen& operator=(const ImageScreen&) = delete;

    // Draws the picture over the whole viewport; leaves texture unit 0 active
    // with no vertex array and no 2D texture bound.
    void draw() const;

private:
    ShaderProgram* program_ = nullptr;
    ScreenQuad quad_;
    GlTexture texture_;
};

} // namespace Skyhog::Ui
