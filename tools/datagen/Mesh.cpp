#include "Mesh.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <stdexcept>
#include <tuple>

#include <glm/geometric.hpp>
#include <glm/matrix.hpp>

namespace datagen {

uint32_t Mesh::addVertex(glm::vec3 position, glm::vec2 uv)
{
    vertices.push_back({position, glm::vec3(0), uv});
    return static_cast<uint32_t>(vertices.size() - 1);
}

void Mesh::addTriangle(uint32_t a, uint32_t b, uint32_t c)
{
    const glm::vec3 &pa = vertices[a].position, &pb = vertices[b].position, &pc = vertices[c].position;
    if (pa == pb || pb == pc || pa == pc) return;
    triangles.emplace_back(a, b, c);
}

void Mesh::append(const Mesh& part)
{
    uint32_t base = static_cast<uint32_t>(vertices.size());
    vertices.insert(vertices.end(), part.vertices.begin(), part.vertices.end());
    for (const glm::uvec3& t : part.triangles) triangles.push_back(t + base);
}

void Mesh::transform(const glm::mat4& m)
{
    glm::mat3 normalMatrix = glm::transpose(glm::inverse(glm::mat3(m)));
    for (Vertex& v : vertices) {
        v.position = glm::vec3(m * glm::vec4(v.position, 1));
        if (v.normal != glm::vec3(0)) v.normal = glm::normalize(normalMatrix * v.normal);
    }
    if (glm::determinant(glm::mat3(m)) < 0)
        for (glm::uvec3& t : triangles) std::swap(t.y, t.z);
}

void Mesh::computeNormals(bool weld)
{
    std::vector<glm::vec3> sums(vertices.size(), glm::vec3(0));
    for (const glm::uvec3& t : triangles) {
        glm::vec3 n = glm::cross(vertices[t.y].position - vertices[t.x].position,
                                 vertices[t.z].position - vertices[t.x].position);
        sums[t.x] += n;
        sums[t.y] += n;
        sums[t.z] += n;
    }
    if (weld) {
        std::map<std::tuple<float, float, float>, glm::vec3> shared;
        for (size_t i = 0; i < vertices.size(); ++i) {
            const glm::vec3& p = vertices[i].position;
            shared[{p.x, p.y, p.z}] += sums[i];
        }
        for (size_t i = 0; i < vertices.size(); ++i) {
            const glm::vec3& p = vertices[i].position;
            sums[i] = shared[{p.x, p.y, p.z}];
        }
    }
    for (size_t i = 0; i < vertices.size(); ++i) {
        float len = glm::length(sums[i]);
        vertices[i].normal = len > 0 ? sums[i] / len : glm::vec3(0, 1, 0);
    }
}

void Mesh::addBackFaces(float apart)
{
    uint32_t base = static_cast<uint32_t>(vertices.size());
    size_t count = vertices.size();
    for (size_t i = 0; i < count; ++i) {
        Vertex v = vertices[i];
        v.position -= v.normal * apart;
        v.normal = -v.normal;
        vertices.push_back(v);
    }
    size_t tris = triangles.size();
    for (size_t i = 0; i < tris; ++i) {
        glm::uvec3 t = triangles[i];
        triangles.emplace_back(t.x + base, t.z + base, t.y + base);
    }
}

glm::vec3 Mesh::boundsMin() const
{
    glm::vec3 lo(std::numeric_limits<float>::max());
    for (const Vertex& v : vertices) lo = glm::min(lo, v.position);
    return lo;
}

glm::vec3 Mesh::boundsMax() const
{
    glm::vec3 hi(std::numeric_limits<float>::lowest());
    for (const Vertex& v : vertices) hi = glm::max(hi, v.position);
    return hi;
}

Mesh surface(int nu, int nv, const std::function<glm::vec3(float, float)>& position, const UvRect& uv, bool closedU)
{
    Mesh m;
    for (int j = 0; j <= nv; ++j) {
        float v = static_cast<float>(j) / nv;
        for (int i = 0; i <= nu; ++i) {
            float u = static_cast<float>(i) / nu;
            glm::vec3 p = position(closedU && i == nu ? 0.0f : u, v);
            m.addVertex(p, uv.at(u, v));
        }
    }
    auto index = [&](int i, int j) { return static_cast<uint32_t>(j * (nu + 1) + i); };
    for (int j = 0; j < nv; ++j)
        for (int i = 0; i < nu; ++i) m.addQuad(index(i, j), index(i + 1, j), index(i + 1, j + 1), index(i, j + 1));
    return m;
}

Mesh ellipsoid(glm::vec3 centre, glm::vec3 radii, int segments, int rings, const UvRect& uv)
{
    Mesh m = surface(
        segments, rings,
        [&](float u, float v) {
            float lon = -3.14159265f + 6.2831853f * u;
            float lat = -1.5707963f + 3.14159265f * v;
            // Exact poles, so the ring of triangles there collapses cleanly.
            float c = (v <= 0 || v >= 1) ? 0.0f : std::cos(lat);
            float s = v <= 0 ? -1.0f : (v >= 1 ? 1.0f : std::sin(lat));
            return centre + radii * glm::vec3(c * std::sin(lon), s, c * std::cos(lon));
        },
        uv, true);
    m.computeNormals(true);
    return m;
}

namespace {

glm::vec3 anyPerpendicular(glm::vec3 t)
{
    glm::vec3 a = std::fabs(t.y) < 0.9f ? glm::vec3(0, 1, 0) : glm::vec3(1, 0, 0);
    return glm::normalize(glm::cross(a, t));
}

} // namespace

Mesh tube(const std::function<glm::vec3(float)>& path, const std::function<float(float)>& radius, int sides,
          int segments, const UvRect& uv, bool caps)
{
    // Parallel-transported frames keep the rings from twisting.
    std::vector<glm::vec3> centres(segments + 1), normals(segments + 1), binormals(segments + 1);
    for (int j = 0; j <= segments; ++j) centres[j] = path(static_cast<float>(j) / segments);
    auto tangentAt = [&](int j) {
        glm::vec3 d = centres[std::min(j + 1, segments)] - centres[std::max(j - 1, 0)];
        return glm::normalize(d);
    };
    glm::vec3 n = anyPerpendicular(tangentAt(0));
    for (int j = 0; j <= segments; ++j) {
        glm::vec3 t = tangentAt(j);
        n = glm::normalize(n - t * glm::dot(n, t));
        normals[j] = n;
        binormals[j] = glm::cross(t, n);
    }
    Mesh m = surface(
        sides, segments,
        [&](float u, float v) {
            int j = static_cast<int>(std::lround(v * segments));
            float a = 6.2831853f * u;
            return centres[j] + radius(v) * (std::cos(a) * normals[j] + std::sin(a) * binormals[j]);
        },
        uv, true);
    m.computeNormals(true);
    if (caps) {
        for (int end = 0; end < 2; ++end) {
            int j = end ? segments : 0;
            glm::vec3 axis = tangentAt(j) * (end ? 1.0f : -1.0f);
            Mesh cap;
            uint32_t middle = cap.addVertex(centres[j], uv.at(0.5f, end ? 1.0f : 0.0f));
            for (int i = 0; i < sides; ++i) {
                float a = 6.2831853f * i / sides;
                glm::vec3 p =
                    centres[j] + radius(end ? 1.0f : 0.0f) * (std::cos(a) * normals[j] + std::sin(a) * binormals[j]);
                cap.addVertex(p, uv.at(static_cast<float>(i) / sides, end ? 1.0f : 0.0f));
            }
            for (int i = 0; i < sides; ++i) {
                uint32_t a = 1 + i, b = 1 + (i + 1) % sides;
                // Rings run counter-clockwise around the tangent; the start cap faces backwards.
                if (end) cap.addTriangle(middle, a, b);
                else cap.addTriangle(middle, b, a);
            }
            for (Vertex& v : cap.vertices) v.normal = axis;
            if (radius(end ? 1.0f : 0.0f) > 0) m.append(cap);
        }
    }
    return m;
}

Mesh box(glm::vec3 lo, glm::vec3 hi, const UvRect& uv)
{
    Mesh m;
    // Each face: a corner and two edge directions whose cross product points outwards.
    const glm::vec3 size = hi - lo;
    struct Face {
        glm::vec3 origin, du, dv;
    };
    const Face faces[6] = {
        {{hi.x, lo.y, hi.z}, {0, 0, -size.z}, {0, size.y, 0}}, // +X
        {{lo.x, lo.y, lo.z}, {0, 0, size.z}, {0, size.y, 0}},  // -X
        {{lo.x, hi.y, hi.z}, {size.x, 0, 0}, {0, 0, -size.z}}, // +Y
        {{lo.x, lo.y, lo.z}, {size.x, 0, 0}, {0, 0, size.z}},  // -Y
        {{lo.x, lo.y, hi.z}, {size.x, 0, 0}, {0, size.y, 0}},  // +Z
        {{hi.x, lo.y, lo.z}, {-size.x, 0, 0}, {0, size.y, 0}}, // -Z
    };
    for (const Face& f : faces) {
        uint32_t a = m.addVertex(f.origin, uv.at(0, 0));
        uint32_t b = m.addVertex(f.origin + f.du, uv.at(1, 0));
        uint32_t c = m.addVertex(f.origin + f.du + f.dv, uv.at(1, 1));
        uint32_t d = m.addVertex(f.origin + f.dv, uv.at(0, 1));
        m.addQuad(a, b, c, d);
    }
    m.computeNormals(false);
    return m;
}

namespace {

// Fixed-point text for every number, without "-0.0000".
void appendNumber(std::string& out, float value)
{
    char buf[32];
    double v = std::fabs(value) < 0.00005f ? 0.0 : value;
    std::snprintf(buf, sizeof buf, " %.4f", v);
    out += buf;
}

void writeText(const std::string& path, const std::string& text)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error("cannot write " + path);
    size_t written = std::fwrite(text.data(), 1, text.size(), f);
    bool ok = written == text.size();
    ok = std::fclose(f) == 0 && ok;
    if (!ok) throw std::runtime_error("cannot write " + path);
}

} // namespace

void writeObj(const std::string& dir, const std::string& objName, const std::string& mtlName,
              const std::vector<NamedMesh>& meshes)
{
    std::string out = "# Skyhog model " + objName + "\nmtllib " + mtlName + "\n";
    uint32_t base = 1;
    for (const NamedMesh& nm : meshes) {
        out += "o " + nm.name + "\n";
        for (const Vertex& v : nm.mesh.vertices) {
            out += "v";
            appendNumber(out, v.position.x);
            appendNumber(out, v.position.y);
            appendNumber(out, v.position.z);
            out += "\nvt";
            appendNumber(out, v.uv.x);
            appendNumber(out, v.uv.y);
            out += "\nvn";
            appendNumber(out, v.normal.x);
            appendNumber(out, v.normal.y);
            appendNumber(out, v.normal.z);
            out += "\n";
        }
        out += "usemtl " + nm.material + "\ns off\n";
        for (const glm::uvec3& t : nm.mesh.triangles) {
            char buf[96];
            uint32_t a = t.x + base, b = t.y + base, c = t.z + base;
            std::snprintf(buf, sizeof buf, "f %u/%u/%u %u/%u/%u %u/%u/%u\n", a, a, a, b, b, b, c, c, c);
            out += buf;
        }
        base += static_cast<uint32_t>(nm.mesh.vertices.size());
    }
    writeText(dir + "/" + objName, out);
}

void writeMtl(const std::string& dir, const std::string& mtlName, const std::vector<Material>& materials)
{
    std::string out = "# Skyhog materials\n";
    for (const Material& m : materials) {
        out += "\nnewmtl " + m.name + "\n";
        out +=
            "Ka 0.2000 0.2000 0.2000\nKd 1.0000 1.0000 1.0000\nKs 0.0000 0.0000 0.0000\nNs 8.0000\nd 1.0000\nillum 1\n";
        out += "map_Kd " + m.texture + "\n";
    }
    writeText(dir + "/" + mtlName, out);
}

} // namespace datagen
