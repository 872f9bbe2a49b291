#include "ui/ImageScreen.h"

#include "render/TextureLoader.h"

namespace Skyhog::Ui {

ImageScreen::ImageScreen(ShaderProgram* program, const std::string& picturePath)
    : program_(program), quad_(FullScreenQuad),
      texture_(loadTextureFile(picturePath, TextureVariant::FullScreenPicture))
{
}

void ImageScreen::draw() const
{
    if (program_ == nullptr) return;
    program_->use();
    quad_.draw(texture_.get());
}

} // namespace Skyhog::Ui
