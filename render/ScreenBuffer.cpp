#include "render/ScreenBuffer.h"

#include <iostream>

namespace Skyhog {

ScreenBuffer::ScreenBuffer(const ShaderProgram& shader, std::int32_t height, std::int32_t width,
                           const QuadVertices& quad)
    : shader_(shader), quad_(quad), height_(height), width_(width)
{
    framebuffer_ = GlFramebuffer::generate();
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_.get());

    // Colour: RGB bytes, no initial data; linear both ways because the quad
    // shows the window-sized picture squeezed into a fraction of the screen.
    colorTexture_ = GlTexture::generate();
    glBindTexture(GL_TEXTURE_2D, colorTexture_.get());
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, width_, height_, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glBindTexture(GL_TEXTURE_2D, 0);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colorTexture_.get(), 0);

    // Depth and stencil: the passes rendered here use both tests.
    renderbuffer_ = GlRenderbuffer::generate();
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer_.get());
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width_, height_);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, renderbuffer_.get());

    // Reported, not fatal; the message deliberately leaves the line open.
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        std::cout << "ERROR::FRAMEBUFFER:: Framebuffer is not complete!" << std::flush;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void ScreenBuffer::draw() const
{
    shader_.use();
    // The quad's sampler is never assigned, so it reads unit 0.
    quad_.draw(colorTexture_.get());
}

} // namespace Skyhog
