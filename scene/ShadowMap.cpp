#include "scene/ShadowMap.h"

#include "render/Fatal.h"

namespace Skyhog::Scene {

ShadowMap::ShadowMap(const ShaderProgram& debugShader, std::int32_t width, std::int32_t height)
    : debugShader_(debugShader), width_(width), height_(height), quad_(TopLeftQuad)
{
    framebuffer_ = GlFramebuffer::generate();

    // Float depth, no comparison mode: the shaders compare depths themselves.
    // The white border makes every lookup outside the lamp's box read "far".
    depthTexture_ = GlTexture::generate();
    glBindTexture(GL_TEXTURE_2D, depthTexture_.get());
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, width_, height_, 0, GL_DEPTH_COMPONENT, GL_FLOAT, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_BORDER);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_BORDER);
    const float border[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    glTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, border);

    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_.get());
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D, depthTexture_.get(), 0);
    // No colour attachment: nothing is drawn or read as colour.
    glDrawBuffer(GL_NONE);
    glReadBuffer(GL_NONE);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        fatal("ERROR::Shadowmap:: Shadowmap is not complete!");
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void ShadowMap::drawDebug() const
{
    debugShader_.use();
    // A missing sampler is reported on every draw; the quad is drawn all the same.
    if (!debugShader_.setSampler("depthMap", 0)) note("Error: deptherror");
    quad_.draw(depthTexture_.get());
}

} // namespace Skyhog::Scene
