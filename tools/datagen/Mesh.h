// Triangle meshes built from simple parts, and the Wavefront OBJ/MTL writer.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

#include "Image.h"

namespace datagen {

struct Vertex {
    glm::vec3 position{0};
    glm::vec3 normal{0};
    glm::vec2 uv{0};
};

class Mesh {
public:
    std::vector<Vertex> vertices;
    std::vector<glm::uvec3> triangles;

    uint32_t addVertex(glm::vec3 position, glm::vec2 uv);
    // Counter-clockwise seen from the front. Triangles with two equal corners are dropped.
    void addTriangle(uint32_t a, uint32_t b, uint32_t c);
    void addQuad(uint32_t a, uint32_t b, uint32_t c, uint32_t d)
    {
        addTriangle(a, b, c);
        addTriangle(a, c, d);
    }
    void append(const Mesh& part);
    // Moves positions and normals; a mirroring matrix also flips the winding.
    void transform(const glm::mat4& m);
    // Area-weighted vertex normals. With `weld`, vertices at the same position
    // share one normal, so seams and poles of closed surfaces shade smoothly.
    void computeNormals(bool weld);
    // Adds a mirrored copy of every triangle facing the other way, so thin
    // sheets such as leaves and wings show from both sides. Call after normals.
    // `apart` moves the back sheet that far behind the front one: two faces in
    // one plane fight over the depth test, and the back one's dark underside
    // shows through the front one in specks and lines.
    void addBackFaces(float apart = 0);
    glm::vec3 boundsMin() const;
    glm::vec3 boundsMax() const;
};

// A grid surface over (u, v) in [0,1]^2 with nu x nv cells. The front side is
// the one that dP/du x dP/dv points to. With closedU the last column reuses the
// first column's positions exactly, so normals weld across the seam.
Mesh surface(int nu, int nv, const std::function<glm::vec3(float u, float v)>& position, const UvRect& uv,
             bool closedU = false);

// Ellipsoid around `centre` with the given radii; v runs from the bottom pole
// to the top pole, u around, starting and ending at -Z (the seam at the back).
Mesh ellipsoid(glm::vec3 centre, glm::vec3 radii, int segments, int rings, const UvRect& uv);

// A tube along `path(t)` for t in [0,1] with radius `radius(t)`. Ends are
// closed with flat caps when `caps` is set. Built with smooth normals.
Mesh tube(const std::function<glm::vec3(float)>& path, const std::function<float(float)>& radius, int sides,
          int segments, const UvRect& uv, bool caps = true);

// Axis-aligned box with flat faces, every face mapped onto the whole `uv` rect.
Mesh box(glm::vec3 lo, glm::vec3 hi, const UvRect& uv);

struct Material {
    std::string name;
    std::string texture; // relative to the OBJ's folder
};

struct NamedMesh {
    std::string name;
    std::string material;
    Mesh mesh;
};

// Writes `dir/objName` referencing `mtlName` (also in `dir`). Meshes are
// written in order, so the last one is the last mesh an importer sees.
void writeObj(const std::string& dir, const std::string& objName, const std::string& mtlName,
              const std::vector<NamedMesh>& meshes);
void writeMtl(const std::string& dir, const std::string& mtlName, const std::vector<Material>& materials);

} // namespace datagen
