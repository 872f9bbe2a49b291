// The sea: the first mesh of a water model drawn with four textures - its own
// material picture (unit 0), the reflection and refraction pictures rendered
// earlier in the frame (units 1 and 2) and a distortion map (unit 3,
// "Models/Ground/water_dudv.jpg") - plus two debug quads at the top of the
// screen that show the reflection (top left) and the refraction (top right,
// mirrored left to right).
//
// Needs a current OpenGL context for its whole life. Both targets are exactly
// height x width, the window's size. A model file without a mesh, or whose
// first mesh has no texture, ends the process at construction. Call order per
// frame: the "reflection" and "refraction" passes render into the two
// framebuffers; later the caller makes the main program current, sets
// "projection", "view", "cameraPos", "lightPos" and "moveFactor", and calls
// draw(). draw() and setTextureFilter() hide Model's versions (not virtual).
#pragma once
#include "render/GlHandle.h"
#include "render/Model.h"
#include "render/ScreenBuffer.h"

#include <cstdint>
#include <string>

namespace Skyhog::Scene {

class Water : public Model {
public:
    // The ripples' distortion map.
    static std::string distortionPath();
    // Loads the model, checks it has a textured first mesh, builds both targets and loads the distortion map.
    Water(const glm::mat4& modelMatrix, ShaderProgram* waterProgram, ShaderProgram* debugProgram,
          ShaderProgram* depthProgram, const std::string& path, std::int32_t height, std::int32_t width);
    ~Water() override;

    // Draws the surface with the matrix without the pose (not stored); leaves unit 0 active.
    void draw();
    // Shows the reflection picture upright in the top-left quad.
    void drawReflectionDebug() const;
    // Shows the refraction picture mirrored left to right in the top-right quad.
    void drawRefractionDebug() const;
    // Sets both filters of the surface's own material picture.
    void setTextureFilter(GLint minFilter, GLint magFilter) const;

    GLuint getReflectionFramebuffer() const { return reflection_.getFramebuffer(); }
    GLuint getRefractionFramebuffer() const { return refraction_.getFramebuffer(); }
    GLuint getReflectionTexture() const { return reflection_.getColorTexture(); }
    GLuint getRefractionTexture() const { return refraction_.getColorTexture(); }
    GLuint getDudvTexture() const { return dudvTexture_.get(); }

private:
    GLuint surfaceTexture_;   // first texture of the first mesh; the model's texture cache owns it
    ScreenBuffer reflection_; // each target is height x width, with its debug quad
    ScreenBuffer refraction_;
    GlTexture dudvTexture_;
};

} // namespace Skyhog::Scene
