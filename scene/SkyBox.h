// The sky: a unit cube around the camera textured with a cube map of six
// pictures read from "Models/Skybox/" under the data root.
//
// Needs a current OpenGL context for its whole life. The caller makes the
// sky box's program current (getShader()) and sets "view" (the camera's view
// without its translation) and "projection" before draw(); draw() sets only the
// "skybox" sampler, to unit 0, and leaves unit 0 active with the cube map bound.
#pragma once
#include "render/GlHandle.h"
#include "render/ShaderProgram.h"

#include <array>
#include <string>

namespace Skyhog::Scene {

class SkyBox {
public:
    // Builds the cube and loads the six faces; shader must outlive the sky box.
    explicit SkyBox(const ShaderProgram& shader);
    virtual ~SkyBox() = default;
    SkyBox(const SkyBox&) = delete;
    SkyBox& operator=(const SkyBox&) = delete;

    // Draws the 36 cube vertices with whatever program is current.
    void draw() const;
    // Sets the cube map's minification and magnification filters (mipmapped ones are fine).
    void setTextureFilter(GLint minFilter, GLint magFilter) const;
    // The program the caller makes current before draw().
    const ShaderProgram& getShader() const { return shader_; }
    GLuint getCubeMapTexture() const { return cubeMapTexture_.get(); }

    // Face pictures in cube-map order +X, -X, +Y, -Y, +Z, -Z.
    static std::array<std::string, 6> facePaths();

private:
    const ShaderProgram& shader_;
    GlVertexArray vertexArray_;
    GlBuffer vertexBuffer_;
    GlTexture cubeMapTexture_;
};

} // namespace Skyhog::Scene
