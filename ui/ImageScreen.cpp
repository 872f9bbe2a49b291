#include "ui/ImageScreen.h"

#include "render/TextureLoader.h"

namespace Skyhog::Ui {
namespace {

// Two triangles over the whole of normalised device coordinates, (x, y, u, v);
// v = 1 at the top edge because pictures are uploaded bottom row first.
constexpr float QuadVertices[6][4] = {
    {-1.0f, 1.0f, 0.0f, 1.0f},
    {-1.0f, -1.0f, 0.0f, 0.0f},
    {1.0f, -1.0f, 1.0f, 0.0f},
    {-1.0f, 1.0f, 0.0f, 1.0f},
    {1.0f, -1.0f, 1.0f, 0.0f},
    {1.0f, 1.0f, 1.0f, 1.0f},
};
static_assert(sizeof(QuadVertices) == 96);

} // namespace

ImageScreen::ImageScreen(ShaderProgram* program, const std::string& picturePath) : program_(program)
{
    vertexArray_ = GlVertexArray::generate();
    vertexBuffer_ = GlBuffer::generate();
    glBindVertexArray(vertexArray_.get());
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_.get());
    glBufferData(GL_ARRAY_BUFFER, sizeof(QuadVertices), QuadVertices, GL_STATIC_DRAW);
    constexpr GLsizei stride = 4 * sizeof(float);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, stride, nullptr);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(2 * sizeof(float)));
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);

    texture_ = GlTexture(loadTextureFile(picturePath, TextureVariant::FullScreenPicture));
}

void ImageScreen::draw() const
{
    if (program_ == nullptr) return;
    program_->use();
    glActiveTexture(GL_TEXTURE0);
    glBindVertexArray(vertexArray_.get());
    glBindTexture(GL_TEXTURE_2D, texture_.get());
    glDrawArrays(GL_TRIANGLES, 0, 6);
    glBindVertexArray(0);
    glBindTexture(GL_TEXTURE_2D, 0);
}

} // namespace Skyhog::Ui
