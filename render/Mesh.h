// One drawable piece of a model: an indexed triangle list in GPU buffers and
// the textures its material uses.
//
// The vertex array is laid out from the main program's attributes: "position"
// at the location the program reports (a program without it ends the process),
// the normal at location 1, texture coordinates at location 2 and, when the
// program has it, "texCoordsRef" at its own location.
//
// Drawing binds texture i to unit i and names it by the sampler convention
// "texture_diffuse<N>" / "texture_specular<N>", counting each family from 1.
// The caller makes the program current first. Texture objects are shared
// through the model's cache and are not owned by the mesh.
#pragma once
#include "render/GlHandle.h"
#include "render/ShaderProgram.h"

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <string>
#include <vector>

namespace Skyhog::Scene::Meshes {

struct Vertex {
    glm::vec3 position{0.0f};
    glm::vec3 normal{0.0f};
    glm::vec2 texCoords{0.0f};
    glm::vec2 texCoordsRef{0.0f};
};
static_assert(sizeof(Vertex) == 40, "the vertex buffer layout is 40 bytes per vertex");

struct Texture {
    GLuint id = 0;
    std::string type; // "texture_diffuse" or "texture_specular"
    std::string path; // as written in the material
};

class Mesh {
public:
    Mesh(ShaderProgram* program, std::vector<Vertex> vertices, std::vector<GLuint> indices,
         std::vector<Texture> textures);
    virtual ~Mesh() = default;
    Mesh(const Mesh&) = delete;
    Mesh& operator=(const Mesh&) = delete;

    // Binds the textures, sets the samplers and "material.shininess", draws all triangles.
    void draw() const;
    // Sets both filters on every texture, in list order.
    void setTextureFilter(GLint minFilter, GLint magFilter) const;

    GLuint vertexArray() const { return vertexArray_.get(); }
    const std::vector<GLuint>& indices() const { return indices_; }
    const std::vector<Vertex>& vertices() const { return vertices_; }
    const std::vector<Texture>& textures() const { return textures_; }

    // The sampler name for each texture, in list order ("texture_diffuse1", ...).
    static std::vector<std::string> samplerNames(const std::vector<Texture>& textures);

private:
    std::vector<Vertex> vertices_;
    std::vector<GLuint> indices_;
    std::vector<Texture> textures_;
    std::vector<std::string> samplerNames_; // formed once, not on every draw
    ShaderProgram* program_;
    GlVertexArray vertexArray_;
    GlBuffer vertexBuffer_;
    GlBuffer elementBuffer_;
};

} // namespace Skyhog::Scene::Meshes
