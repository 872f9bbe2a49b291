#include "DataTree.h"

#include "IslandLayout.h"

#include <FreeImage.h>
#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <functional>
#include <limits>

#include <glm/geometric.hpp>

namespace SkyhogTest {

std::vector<std::string> modelFiles()
{
    namespace game = datagen::layout::game;
    std::vector<std::string> files;
    for (const char* file : {game::PigFile, game::LeftWingFile, game::RightWingFile, game::SeaGroundFile,
                             game::IslandFile, game::WaterFile, game::BoatFile, game::PersonFile})
        files.push_back(std::string("Models/") + file);
    for (int i = 1; i <= game::PalmCount; ++i) files.push_back("Models/" + game::palmFile(i));
    for (int i = 1; i <= game::PeopleCount; ++i) files.push_back("Models/" + game::markerFile(i));
    return files;
}

size_t ModelData::triangleCount() const
{
    size_t n = 0;
    for (const MeshData& m : meshes) n += m.faces.size();
    return n;
}

ModelData loadModel(const std::string& relativePath)
{
    ModelData model;
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(DataRoot + relativePath, aiProcess_Triangulate | aiProcess_GenNormals);
    if (!scene || !scene->mRootNode) {
        model.error = importer.GetErrorString();
        return model;
    }
    model.loaded = true;
    model.lo = glm::vec3(std::numeric_limits<float>::max());
    model.hi = glm::vec3(std::numeric_limits<float>::lowest());
    std::function<void(const aiNode*)> walk = [&](const aiNode* node) {
        for (unsigned i = 0; i < node->mNumMeshes; ++i) {
            const aiMesh* src = scene->mMeshes[node->mMeshes[i]];
            MeshData m;
            m.name = src->mName.C_Str();
            m.hasNormals = src->HasNormals();
            m.hasUvs = src->HasTextureCoords(0);
            m.lo = glm::vec3(std::numeric_limits<float>::max());
            m.hi = glm::vec3(std::numeric_limits<float>::lowest());
            for (unsigned v = 0; v < src->mNumVertices; ++v) {
                glm::vec3 p(src->mVertices[v].x, src->mVertices[v].y, src->mVertices[v].z);
                m.positions.push_back(p);
                m.lo = glm::min(m.lo, p);
                m.hi = glm::max(m.hi, p);
                if (m.hasNormals) m.normals.emplace_back(src->mNormals[v].x, src->mNormals[v].y, src->mNormals[v].z);
                if (m.hasUvs) m.uvs.emplace_back(src->mTextureCoords[0][v].x, src->mTextureCoords[0][v].y);
            }
            for (unsigned f = 0; f < src->mNumFaces; ++f)
                if (src->mFaces[f].mNumIndices == 3)
                    m.faces.emplace_back(src->mFaces[f].mIndices[0], src->mFaces[f].mIndices[1],
                                         src->mFaces[f].mIndices[2]);
            const aiMaterial* material = scene->mMaterials[src->mMaterialIndex];
            m.diffuseCount = material->GetTextureCount(aiTextureType_DIFFUSE);
            m.specularCount = material->GetTextureCount(aiTextureType_SPECULAR);
            aiString path;
            if (m.diffuseCount > 0 && material->GetTexture(aiTextureType_DIFFUSE, 0, &path) == AI_SUCCESS)
                m.diffuse = path.C_Str();
            model.lo = glm::min(model.lo, m.lo);
            model.hi = glm::max(model.hi, m.hi);
            model.meshes.push_back(std::move(m));
        }
        for (unsigned c = 0; c < node->mNumChildren; ++c) walk(node->mChildren[c]);
    };
    walk(scene->mRootNode);
    return model;
}

Picture loadPicture(const std::string& path)
{
    Picture picture;
    FIBITMAP* bitmap = FreeImage_Load(FreeImage_GetFileType(path.c_str(), 0), path.c_str(), 0);
    if (!bitmap) return picture;
    FIBITMAP* rgb = FreeImage_ConvertTo24Bits(bitmap);
    FreeImage_Unload(bitmap);
    if (!rgb) return picture;
    picture.loaded = true;
    picture.width = static_cast<int>(FreeImage_GetWidth(rgb));
    picture.height = static_cast<int>(FreeImage_GetHeight(rgb));
    picture.rows.resize(picture.height);
    for (int y = 0; y < picture.height; ++y) {
        const BYTE* line = FreeImage_GetScanLine(rgb, y);
        for (int x = 0; x < picture.width; ++x)
            picture.rows[y].push_back(
                glm::vec3(line[3 * x + FI_RGBA_RED], line[3 * x + FI_RGBA_GREEN], line[3 * x + FI_RGBA_BLUE]) / 255.0f);
    }
    FreeImage_Unload(rgb);
    return picture;
}

std::optional<float> surfaceHeight(const MeshData& mesh, float x, float z)
{
    using datagen::layout::sceneryToWorld;
    for (const glm::uvec3& f : mesh.faces) {
        glm::vec3 a = sceneryToWorld(mesh.positions[f.x]), b = sceneryToWorld(mesh.positions[f.y]),
                  c = sceneryToWorld(mesh.positions[f.z]);
        float det = (b.x - a.x) * (c.z - a.z) - (c.x - a.x) * (b.z - a.z);
        if (std::abs(det) < 1e-9f) continue;
        float u = ((x - a.x) * (c.z - a.z) - (c.x - a.x) * (z - a.z)) / det;
        float v = ((b.x - a.x) * (z - a.z) - (x - a.x) * (b.z - a.z)) / det;
        if (u >= -1e-5f && v >= -1e-5f && u + v <= 1 + 1e-5f) return a.y + u * (b.y - a.y) + v * (c.y - a.y);
    }
    return std::nullopt;
}

} // namespace SkyhogTest
