// The sandy island: a Model drawn with its own "Island" program, which is also
// offered a sand distortion picture ("Models/Ground/dudv_sand.jpg") on texture
// unit 2 as the sampler "dudvMap" when the program has it.
//
// Needs a current OpenGL context. The World keeps the island out of its model
// lists and calls Island::draw directly: draw() is not virtual, so drawing the
// island through a Model reference would take the plain model path instead.
// The caller sets the program's other uniforms first; draw() leaves unit 0
// active and the distortion picture bound on unit 2.
#pragma once
#include "render/GlHandle.h"
#include "render/Model.h"

#include <string>

namespace Skyhog::Scene {

class Island : public Model {
public:
    // The sand's distortion picture.
    static std::string distortionPath();
    // Loads the model, writes its folder as a line, then loads the distortion picture.
    Island(const glm::mat4& placement, ShaderProgram* mainProgram, ShaderProgram* depthProgram,
           const std::string& path);
    ~Island() override;

    // Makes the main program current, stores and uploads the matrix without the pose, draws every mesh.
    void draw();

    GLuint getDistortionTexture() const { return distortionTexture_.get(); }

private:
    GlTexture distortionTexture_;
};

} // namespace Skyhog::Scene
