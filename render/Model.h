// One object of the scene loaded from a Wavefront OBJ file: its meshes, the
// textures of their materials, the matrices that place it and its bounding box.
//
// Every model matrix has the form
//   T(0, -1.75, 0) * S(0.2) * translation * rotation * scale [* pose]
// (the whole scene is stored five times larger than drawn, and 1.75 lower);
// the pose factor is applied by draw() only.
//
// The bounding box is that of the LAST mesh processed (each mesh restarts it);
// worldMin()/worldMax() carry it by the matrix stored by the last draw,
// drawDepth() or updateModelMatrix(). Import failures end the process with
// "Error AASIMP" and the importer's message; a file that imports but holds no
// mesh with a face ends it with a line naming the file. Texture objects are cached per
// model (one object per distinct material path) and released with the model
// while the context is current (abandoned with it otherwise).
#pragma once
#include "render/Mesh.h"
#include "render/Placed.h"
#include "render/ShaderProgram.h"

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>
#include <memory>
#include <string>
#include <vector>

struct aiString;

namespace Skyhog::Scene {

class Model : public Placed {
public:
    // Loads the file at path; the meshes are laid out for mainProgram.
    Model(const glm::mat4& placement, ShaderProgram* mainProgram, ShaderProgram* depthProgram, const std::string& path);
    virtual ~Model();
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;

    // Accumulate into the translation, rotation (degrees about axis) and scale matrices.
    void translate(const glm::vec3& offset);
    void rotate(float degrees, const glm::vec3& axis);
    void scale(const glm::vec3& factors);
    // Replaces the pose matrix that draw() appends.
    void setPose(const glm::mat4& pose);

    // Makes the main program current and stores the matrix without the pose.
    void updateModelMatrix();
    // Sets "model" (with the pose) on the main program, which the caller made current, and draws every mesh.
    void draw();
    // Draws every mesh's triangles with the depth program and the matrix without the pose.
    void drawDepth();

    glm::mat4 modelMatrix() const override { return modelMatrix_; }
    ShaderProgram* mainProgram() const { return mainProgram_; }
    ShaderProgram* depthProgram() const { return depthProgram_; }
    int drawnMeshCount() const { return drawnMeshCount_; }

    // The loaded box's corners carried by the stored model matrix (w = 1); both are remembered.
    glm::vec4 worldMin();
    glm::vec4 worldMax();
    // Extent and midpoint of the remembered world corners.
    glm::vec3 size() const;
    glm::vec3 center() const;

    // Sets both filters on every texture of every mesh.
    void setTextureFilter(GLint minFilter, GLint magFilter) const;

    // T(0, -1.75, 0) * S(0.2) * translation * rotation * scale: the matrix without the pose.
    glm::mat4 baseMatrix() const;
    const std::vector<std::unique_ptr<Meshes::Mesh>>& meshes() const { return meshes_; }
    const std::vector<Meshes::Texture>& loadedTextures() const { return loadedTextures_; }
    const std::string& directory() const { return directory_; }
    // The file the model was loaded from (empty for a model made without one).
    const std::string& sourcePath() const { return sourcePath_; }
    const glm::vec4& localMin() const { return localMin_; }
    const glm::vec4& localMax() const { return localMax_; }
    const glm::mat4& translation() const { return translation_; }

    // The path held by an importer string, read without trusting its length or terminator.
    static std::string importerPath(const aiString& text);
    // Drops the parsed files kept for reuse (call once start-up is over).
    static void clearFileCache();
    // Imports the file into the kept parsed files ahead of its load, without
    // reporting a failure (the load itself reports it); returns the paths of
    // the pictures its materials name, as the load will open them. Makes no GL
    // calls and may run on any thread.
    static std::vector<std::string> prepareFile(const std::string& path);

protected:
    // A model without a file or meshes: only matrices and a box. Makes no GL calls.
    Model(const glm::mat4& placement, ShaderProgram* mainProgram, ShaderProgram* depthProgram);
    // Replaces the loaded box (w = 1 is added).
    void setLocalBox(const glm::vec3& min, const glm::vec3& max);

private:
    void load(const std::string& path);
    std::vector<Meshes::Texture> texturesFor(const std::vector<std::string>& paths, const char* type);

    std::vector<std::unique_ptr<Meshes::Mesh>> meshes_;
    std::string directory_;
    std::string sourcePath_;
    std::vector<Meshes::Texture> loadedTextures_;
    std::vector<GlTexture> ownedTextures_; // the names in loadedTextures_, released with the model
    glm::mat4 modelMatrix_{1.0f};
    ShaderProgram* mainProgram_;
    ShaderProgram* depthProgram_;
    glm::mat4 placement_;
    glm::mat4 translation_{1.0f};
    glm::mat4 rotation_{1.0f};
    glm::mat4 scale_{1.0f};
    glm::mat4 pose_{1.0f};
    int drawnMeshCount_ = 0;
    glm::vec4 localMin_{0.0f};
    glm::vec4 localMax_{0.0f};
    glm::vec4 worldMin_{0.0f};
    glm::vec4 worldMax_{0.0f};
};

} // namespace Skyhog::Scene
