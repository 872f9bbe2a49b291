#include "render/Model.h"

#include "render/Fatal.h"
#include "render/SceneLayout.h"
#include "render/TextureLoader.h"

#include <assimp/Importer.hpp>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <unordered_map>

namespace Skyhog::Scene {
namespace {

using Meshes::Texture;
using Meshes::Vertex;

// What one imported mesh contributes, before any GPU object exists.
struct ParsedMesh {
    std::vector<Vertex> vertices;
    std::vector<GLuint> indices;
    std::vector<std::string> diffusePaths;
    std::vector<std::string> specularPaths;
    bool hasTriangle = false;
    bool hasBox = false;
    glm::vec3 boxMin{0.0f};
    glm::vec3 boxMax{0.0f};
};

struct ParsedFile {
    std::string directory;
    std::vector<ParsedMesh> meshes; // depth-first node order
};

std::vector<std::string> materialPaths(const aiMaterial* material, aiTextureType type)
{
    std::vector<std::string> paths;
    if (material == nullptr) return paths;
    const unsigned count = aiGetMaterialTextureCount(material, type);
    for (unsigned i = 0; i < count; ++i) {
        aiString path;
        if (aiGetMaterialTexture(material, type, i, &path) == AI_SUCCESS) paths.push_back(Model::importerPath(path));
    }
    return paths;
}

ParsedMesh parseMesh(const aiMesh& mesh, const aiScene& scene)
{
    ParsedMesh parsed;
    const unsigned n = mesh.mNumVertices;
    // A mesh without vertices has no box; it keeps the previous one and draws nothing.
    if (n > 0) {
        parsed.hasBox = true;
        parsed.boxMin = parsed.boxMax = glm::vec3(mesh.mVertices[0].x, mesh.mVertices[0].y, mesh.mVertices[0].z);
    }
    parsed.vertices.resize(n);
    const bool hasTexCoords = mesh.mTextureCoords[0] != nullptr;
    static constexpr glm::vec2 quadReference[4] = {{0, 0}, {1, 0}, {1, 1}, {1, 0}};
    for (unsigned i = 0; i < n; ++i) {
        const glm::vec3 position(mesh.mVertices[i].x, mesh.mVertices[i].y, mesh.mVertices[i].z);
        parsed.boxMin = glm::min(parsed.boxMin, position);
        parsed.boxMax = glm::max(parsed.boxMax, position);
        Vertex& vertex = parsed.vertices[i];
        vertex.position = position;
        if (mesh.mNormals != nullptr)
            vertex.normal = glm::vec3(mesh.mNormals[i].x, mesh.mNormals[i].y, mesh.mNormals[i].z);
        if (hasTexCoords) {
            vertex.texCoords = glm::vec2(mesh.mTextureCoords[0][i].x, mesh.mTextureCoords[0][i].y);
            if (n == 4) vertex.texCoordsRef = quadReference[i];
        }
    }
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        parsed.indices.insert(parsed.indices.end(), face.mIndices, face.mIndices + face.mNumIndices);
        if (face.mNumIndices == 3) parsed.hasTriangle = true;
    }
    const aiMaterial* material =
        mesh.mMaterialIndex < scene.mNumMaterials ? scene.mMaterials[mesh.mMaterialIndex] : nullptr;
    parsed.diffusePaths = materialPaths(material, aiTextureType_DIFFUSE);
    parsed.specularPaths = materialPaths(material, aiTextureType_SPECULAR);
    return parsed;
}

void parseNode(const aiNode& node, const aiScene& scene, std::vector<ParsedMesh>& out)
{
    for (unsigned i = 0; i < node.mNumMeshes; ++i) {
        const unsigned index = node.mMeshes[i];
        if (index < scene.mNumMeshes && scene.mMeshes[index] != nullptr)
            out.push_back(parseMesh(*scene.mMeshes[index], scene));
    }
    for (unsigned i = 0; i < node.mNumChildren; ++i) parseNode(*node.mChildren[i], scene, out);
}

// Parsed files are kept during start-up: the same file (a person, a marker)
// is imported once however many models are made from it. A start-up worker
// may fill the cache while the main thread reads it, hence the lock. The cache
// is never destroyed, so a worker still running while the process exits never
// touches a destroyed map.
struct FileCache {
    std::mutex lock;
    std::unordered_map<std::string, std::shared_ptr<const ParsedFile>> files;
};

FileCache& fileCache()
{
    static FileCache* cache = new FileCache;
    return *cache;
}

std::shared_ptr<const ParsedFile> cachedFile(const std::string& path)
{
    FileCache& cache = fileCache();
    const std::lock_guard<std::mutex> guard(cache.lock);
    const auto found = cache.files.find(path);
    return found == cache.files.end() ? nullptr : found->second;
}

// Imports the file; on failure returns nullptr and the importer's message in error.
std::shared_ptr<const ParsedFile> importFile(const std::string& path, std::string& error)
{
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, aiProcess_Triangulate | aiProcess_GenNormals);
    if (scene == nullptr || scene->mFlags == AI_SCENE_FLAGS_INCOMPLETE || scene->mRootNode == nullptr) {
        error = importer.GetErrorString();
        return nullptr;
    }
    auto file = std::make_shared<ParsedFile>();
    const auto slash = path.find_last_of('/');
    file->directory = slash == std::string::npos ? path : path.substr(0, slash);
    parseNode(*scene->mRootNode, *scene, file->meshes);
    FileCache& cache = fileCache();
    const std::lock_guard<std::mutex> guard(cache.lock);
    // Whoever imported it first wins; both copies are equal.
    return cache.files.emplace(path, std::move(file)).first->second;
}

std::shared_ptr<const ParsedFile> parseFile(const std::string& path)
{
    if (auto cached = cachedFile(path)) return cached;
    std::string error;
    auto file = importFile(path, error);
    if (!file) fatal(std::string("Error AASIMP") + error);
    return file;
}

} // namespace

std::string Model::importerPath(const aiString& text)
{
    // Never read past the buffer, even if the length field or the terminator is wrong.
    const std::size_t capacity = sizeof(text.data);
    const std::size_t claimed = std::min<std::size_t>(text.length, capacity);
    const void* nul = std::memchr(text.data, '\0', claimed);
    const std::size_t length = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - text.data) : claimed;
    return std::string(text.data, length);
}

void Model::clearFileCache()
{
    FileCache& cache = fileCache();
    const std::lock_guard<std::mutex> guard(cache.lock);
    cache.files.clear();
}

std::vector<std::string> Model::prepareFile(const std::string& path)
{
    std::shared_ptr<const ParsedFile> file = cachedFile(path);
    if (!file) {
        std::string ignored; // the real load imports it again and reports the failure
        file = importFile(path, ignored);
    }
    std::vector<std::string> pictures;
    if (!file) return pictures;
    for (const ParsedMesh& mesh : file->meshes) {
        for (const auto* paths : {&mesh.diffusePaths, &mesh.specularPaths}) {
            for (const std::string& picture : *paths) pictures.push_back(file->directory + "/" + picture);
        }
    }
    return pictures;
}

Model::Model(const glm::mat4& placement, ShaderProgram* mainProgram, ShaderProgram* depthProgram,
             const std::string& path)
    : mainProgram_(mainProgram), depthProgram_(depthProgram), placement_(placement)
{
    load(path);
}

Model::Model(const glm::mat4& placement, ShaderProgram* mainProgram, ShaderProgram* depthProgram)
    : mainProgram_(mainProgram), depthProgram_(depthProgram), placement_(placement)
{
}

void Model::setLocalBox(const glm::vec3& min, const glm::vec3& max)
{
    localMin_ = glm::vec4(min, 1.0f);
    localMax_ = glm::vec4(max, 1.0f);
}

Model::~Model() = default;

void Model::load(const std::string& path)
{
    const auto file = parseFile(path);
    // The importer takes some files that hold no model at all (text that is
    // not OBJ, vertices without faces) for an empty scene and reports nothing:
    // such a model would be invisible, so it is refused like a failed import.
    const bool drawable =
        std::any_of(file->meshes.begin(), file->meshes.end(), [](const ParsedMesh& mesh) { return mesh.hasTriangle; });
    if (!drawable) fatal("Model file " + path + " holds no mesh with a face");
    sourcePath_ = path;
    directory_ = file->directory;
    meshes_.reserve(file->meshes.size());
    for (const ParsedMesh& parsed : file->meshes) {
        std::vector<Texture> textures = texturesFor(parsed.diffusePaths, "texture_diffuse");
        std::vector<Texture> specular = texturesFor(parsed.specularPaths, "texture_specular");
        textures.insert(textures.end(), specular.begin(), specular.end());
        if (parsed.hasBox) {
            localMin_ = glm::vec4(parsed.boxMin, 1.0f);
            localMax_ = glm::vec4(parsed.boxMax, 1.0f);
        }
        meshes_.push_back(
            std::make_unique<Meshes::Mesh>(mainProgram_, parsed.vertices, parsed.indices, std::move(textures)));
    }
}

std::vector<Texture> Model::texturesFor(const std::vector<std::string>& paths, const char* type)
{
    std::vector<Texture> result;
    for (const std::string& path : paths) {
        bool cached = false;
        for (const Texture& loaded : loadedTextures_) {
            if (loaded.path == path) {
                result.push_back(loaded);
                cached = true;
                break;
            }
        }
        if (cached) continue;
        Texture texture{loadTextureFile(directory_ + "/" + path, TextureVariant::ModelMaterial), type, path};
        result.push_back(texture);
        loadedTextures_.push_back(texture);
        ownedTextures_.emplace_back(texture.id);
    }
    return result;
}

void Model::translate(const glm::vec3& offset)
{
    translation_ = glm::translate(translation_, offset);
}

void Model::rotate(float degrees, const glm::vec3& axis)
{
    rotation_ = glm::rotate(rotation_, degrees * 0.017453292f, glm::normalize(axis));
}

void Model::scale(const glm::vec3& factors)
{
    scale_ = glm::scale(scale_, factors);
}

void Model::setPose(const glm::mat4& pose)
{
    pose_ = pose;
}

glm::mat4 Model::baseMatrix() const
{
    static const glm::mat4 prefix =
        glm::scale(glm::translate(glm::mat4(1.0f), Layout::ModelPrefixOffset), glm::vec3(Layout::ModelPrefixScale));
    return prefix * translation_ * rotation_ * scale_;
}

void Model::updateModelMatrix()
{
    if (mainProgram_ != nullptr) mainProgram_->use();
    modelMatrix_ = baseMatrix();
}

void Model::draw()
{
    drawnMeshCount_ = 0;
    modelMatrix_ = baseMatrix() * pose_;
    mainProgram_->setMat4("model", modelMatrix_);
    for (const auto& mesh : meshes_) mesh->draw();
    drawnMeshCount_ = static_cast<int>(meshes_.size());
}

void Model::drawDepth()
{
    drawnMeshCount_ = 0;
    depthProgram_->use();
    modelMatrix_ = baseMatrix();
    depthProgram_->setMat4("model", modelMatrix_);
    for (const auto& mesh : meshes_) {
        glBindVertexArray(mesh->vertexArray());
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(mesh->indices().size()), GL_UNSIGNED_INT, nullptr);
        glBindVertexArray(0);
    }
    drawnMeshCount_ = static_cast<int>(meshes_.size());
}

glm::vec4 Model::worldMin()
{
    worldMin_ = modelMatrix_ * localMin_;
    return worldMin_;
}

glm::vec4 Model::worldMax()
{
    worldMax_ = modelMatrix_ * localMax_;
    return worldMax_;
}

glm::vec3 Model::size() const
{
    return glm::vec3(worldMax_ - worldMin_);
}

glm::vec3 Model::center() const
{
    return glm::vec3(worldMax_ + worldMin_) * 0.5f;
}

void Model::setTextureFilter(GLint minFilter, GLint magFilter) const
{
    for (const auto& mesh : meshes_) mesh->setTextureFilter(minFilter, magFilter);
}

} // namespace Skyhog::Scene
