// The depth-only render target of the "shadow" pass, as large as the window,
// and a debug quad that shows it in the top-left corner of the screen.
//
// Needs a current OpenGL context for its whole life. Lookups outside the map
// read depth 1.0 (clamp to a white border), so points beyond the lamp's box are
// never in shadow. An incomplete target at construction ends the process.
#pragma once
#include "render/GlHandle.h"
#include "render/ScreenQuad.h"
#include "render/ShaderProgram.h"

#include <cstdint>

namespace Skyhog::Scene {

class ShadowMap {
public:
    // Creates the quad and a width x height depth target; debugShader must outlive the map.
    ShadowMap(const ShaderProgram& debugShader, std::int32_t width, std::int32_t height);
    virtual ~ShadowMap() = default;
    ShadowMap(const ShadowMap&) = delete;
    ShadowMap& operator=(const ShadowMap&) = delete;

    // The framebuffer the "shadow" pass renders into.
    GLuint getFramebuffer() const { return framebuffer_.get(); }
    // The depth picture the shaders sample as "shadowMap".
    GLuint getDepthTexture() const { return depthTexture_.get(); }
    // Shows the depth picture upright in the top-left quad; makes its own program current.
    void drawDebug() const;

private:
    const ShaderProgram& debugShader_;
    std::int32_t width_;
    std::int32_t height_;
    ScreenQuad quad_;
    GlFramebuffer framebuffer_;
    GlTexture depthTexture_;
};

} // namespace Skyhog::Scene
