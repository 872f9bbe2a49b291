#include "render/Mesh.h"

#include "render/Fatal.h"
#include "render/TextureLoader.h"

#include <cstddef>

namespace Skyhog::Scene::Meshes {

Mesh::Mesh(ShaderProgram* program, std::vector<Vertex> vertices, std::vector<GLuint> indices,
           std::vector<Texture> textures)
    : vertices_(std::move(vertices)), indices_(std::move(indices)), textures_(std::move(textures)),
      samplerNames_(samplerNames(textures_)), program_(program)
{
    vertexArray_ = GlVertexArray::generate();
    vertexBuffer_ = GlBuffer::generate();
    elementBuffer_ = GlBuffer::generate();

    glBindVertexArray(vertexArray_.get());
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_.get());
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices_.size() * sizeof(Vertex)), vertices_.data(),
                 GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, elementBuffer_.get());
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices_.size() * sizeof(GLuint)), indices_.data(),
                 GL_STATIC_DRAW);

    const GLuint id = program_->program();
    const GLint position = glGetAttribLocation(id, "position");
    if (position == -1) fatal("Error: shader loading failed");
    glEnableVertexAttribArray(static_cast<GLuint>(position));
    glVertexAttribPointer(static_cast<GLuint>(position), 3, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                          reinterpret_cast<void*>(offsetof(Vertex, position)));

    // Normal and texture coordinates always feed locations 1 and 2; the name
    // checks only tell a shader author that the program ignores them.
    if (glGetAttribLocation(id, "normal") == -1) note("Error: shader could not load normals");
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<void*>(offsetof(Vertex, normal)));

    if (glGetAttribLocation(id, "texCoords") == -1) note("Error: shader could not load texture");
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                          reinterpret_cast<void*>(offsetof(Vertex, texCoords)));

    const GLint reference = glGetAttribLocation(id, "texCoordsRef");
    if (reference != -1) {
        glEnableVertexAttribArray(static_cast<GLuint>(reference));
        glVertexAttribPointer(static_cast<GLuint>(reference), 2, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                              reinterpret_cast<void*>(offsetof(Vertex, texCoordsRef)));
    }

    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

std::vector<std::string> Mesh::samplerNames(const std::vector<Texture>& textures)
{
    std::vector<std::string> names;
    names.reserve(textures.size());
    unsigned diffuse = 1;
    unsigned specular = 1;
    for (const Texture& texture : textures) {
        if (texture.type == "texture_diffuse") names.push_back(texture.type + std::to_string(diffuse++));
        else if (texture.type == "texture_specular") names.push_back(texture.type + std::to_string(specular++));
        else names.push_back(texture.type);
    }
    return names;
}

void Mesh::draw() const
{
    for (std::size_t i = 0; i < textures_.size(); ++i) {
        glActiveTexture(static_cast<GLenum>(GL_TEXTURE0 + i));
        program_->setInt(samplerNames_[i].c_str(), static_cast<GLint>(i));
        glBindTexture(GL_TEXTURE_2D, textures_[i].id);
    }
    program_->setFloat("material.shininess", 16.0f);

    glBindVertexArray(vertexArray_.get());
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices_.size()), GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);

    for (std::size_t i = 0; i < textures_.size(); ++i) {
        glActiveTexture(static_cast<GLenum>(GL_TEXTURE0 + i));
        glBindTexture(GL_TEXTURE_2D, 0);
    }
}

void Mesh::setTextureFilter(GLint minFilter, GLint magFilter) const
{
    for (const Texture& texture : textures_) setTextureFilters(GL_TEXTURE_2D, texture.id, minFilter, magFilter);
}

} // namespace Skyhog::Scene::Meshes
