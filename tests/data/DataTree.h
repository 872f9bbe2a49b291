// Reading the generated data tree back the way the game does.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

namespace SkyhogTest {

// Tests run two folders below the build root, next to the data tree.
inline const std::string DataRoot = "../../Skyhog/";

// Every model file the game opens, relative to the data root.
std::vector<std::string> modelFiles();

struct MeshData {
    std::string name;
    std::vector<glm::vec3> positions, normals;
    std::vector<glm::vec2> uvs;
    std::vector<glm::uvec3> faces;
    bool hasNormals = false, hasUvs = false;
    unsigned diffuseCount = 0, specularCount = 0;
    std::string diffuse; // as written in the material
    glm::vec3 lo{0}, hi{0};
};

struct ModelData {
    bool loaded = false;
    std::string error;
    std::vector<MeshData> meshes; // in the depth-first node order the game walks
    glm::vec3 lo{0}, hi{0};       // over every mesh
    const MeshData& last() const { return meshes.back(); }
    size_t triangleCount() const;
};

// Imports with aiProcess_Triangulate | aiProcess_GenNormals, like the game.
ModelData loadModel(const std::string& relativePath);

struct Picture {
    bool loaded = false;
    int width = 0, height = 0;
    // rows[scanline][x]; scanline 0 is FreeImage's first row, the bottom of the
    // JPEG as seen and the first row the game uploads.
    std::vector<std::vector<glm::vec3>> rows;
    glm::vec3 at(int x, int scanline) const { return rows[scanline][x]; }
};
Picture loadPicture(const std::string& path);

// Height of a height-field mesh (world = scenery placement) at world (x, z).
std::optional<float> surfaceHeight(const MeshData& mesh, float x, float z);

} // namespace SkyhogTest
