// Models loaded from small OBJ files written by the tests: mesh order and the
// last mesh's box, the per-model texture cache, the directory rule, reference
// coordinates, the model matrix with and without the pose, and import failures.
#include "render/Model.h"
#include "render/TextureLoader.h"
#include "tests/render/RenderTestSupport.h"
#include "tests/support/TestShaders.h"
#include "tests/support/GlTestContext.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using Skyhog::ShaderProgram;
using Skyhog::Scene::Model;
using SkyhogTest::TempTree;

const std::string ModelVertex = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 texCoords;
uniform mat4 model;
uniform float useExtras;
out vec2 uv;
void main() {
    uv = texCoords + useExtras * normal.xy;
    gl_Position = model * vec4(position, 1.0);
}
)";

const std::string ModelFragment = R"(#version 330 core
in vec2 uv;
out vec4 color;
struct Material { float shininess; };
uniform Material material;
uniform sampler2D texture_diffuse1;
uniform sampler2D texture_diffuse2;
uniform sampler2D texture_specular1;
void main() {
    color = texture(texture_diffuse1, uv) + texture(texture_diffuse2, uv) + texture(texture_specular1, uv);
    color.a = 1.0 + 0.0001 * material.shininess;
}
)";

const std::string DepthVertex = R"(#version 330 core
layout(location = 0) in vec3 position;
uniform mat4 lightSpaceMatrix;
uniform mat4 model;
void main() { gl_Position = lightSpaceMatrix * model * vec4(position, 1.0); }
)";

const std::string DepthFragment = "#version 330 core\nvoid main() {}\n";

// Two objects with different materials. The first ("Big") is a large box of
// two triangles, the second ("Small") a single quad. The second material
// names its specular map before its diffuse one; both share "shared.png".
const std::string TwoObjects = R"(mtllib two.mtl
o Big
v -10 -20 -30
v 10 -20 -30
v 10 20 30
v -10 20 30
vt 0 0
vt 1 0
vt 1 1
vt 0 1
vn 0 0 1
usemtl matA
f 1/1/1 2/2/1 3/3/1
f 1/1/1 3/3/1 4/4/1
o Small
v 1 2 3
v 2 3 4
v 1.5 5 3.5
v 1 5 3
usemtl matB
f 5/1 6/2 7/3 8/4
)";

const std::string TwoMaterials = R"(newmtl matA
Kd 1 1 1
map_Kd shared.png

newmtl matB
Kd 1 1 1
map_Ks gloss.png
map_Kd shared.png
)";

const glm::vec4 SmallMin(1, 2, 3, 1), SmallMax(2, 5, 4, 1);

void expectVec4Near(const glm::vec4& actual, const glm::vec4& expected, const char* what)
{
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(actual[i], expected[i], 1e-4f) << what << " component " << i;
}

void expectMatNear(const glm::mat4& actual, const glm::mat4& expected, const char* what)
{
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            EXPECT_NEAR(actual[c][r], expected[c][r], 1e-5f) << what << " [" << c << "][" << r << "]";
}

glm::mat4 uniformMatrix(const ShaderProgram& program, const char* name)
{
    glm::mat4 value(0.0f);
    glGetUniformfv(program.program(), program.uniformLocation(name), glm::value_ptr(value));
    return value;
}

GLint integer(GLenum name)
{
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

class ModelTest : public SkyhogTest::GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        Model::clearFileCache();
        Skyhog::clearDecodedImageCache();
        mainProgram = SkyhogTest::makeProgram(tree, "programs/main", ModelVertex, ModelFragment);
        depthProgram = SkyhogTest::makeProgram(tree, "programs/depth", DepthVertex, DepthFragment);
    }
    void TearDown() override
    {
        glUseProgram(0);
        for (int unit = 0; unit < 4; ++unit) {
            glActiveTexture(static_cast<GLenum>(GL_TEXTURE0 + unit));
            glBindTexture(GL_TEXTURE_2D, 0);
        }
        glActiveTexture(GL_TEXTURE0);
        Model::clearFileCache();
        Skyhog::clearDecodedImageCache();
        GlTest::TearDown();
    }

    // Writes the two-object model and its pictures under `folder` of the tree.
    std::string writeTwoObjects(const std::string& folder)
    {
        tree.write(folder + "/two.mtl", TwoMaterials);
        SkyhogTest::writeSolidPicture(tree.root() / folder / "shared.png", 5, 3, {255, 0, 0});
        SkyhogTest::writeSolidPicture(tree.root() / folder / "gloss.png", 2, 2, {0, 0, 255});
        return tree.write(folder + "/two.obj", TwoObjects).string();
    }
    std::unique_ptr<Model> load(const std::string& path)
    {
        return std::make_unique<Model>(glm::mat4(1.0f), mainProgram.get(), depthProgram.get(), path);
    }

    TempTree tree;
    std::unique_ptr<ShaderProgram> mainProgram;
    std::unique_ptr<ShaderProgram> depthProgram;
};

TEST_F(ModelTest, MeshesComeInFileOrderAndTheBoxIsTheLastMeshs)
{
    const std::string path = writeTwoObjects("models");
    testing::internal::CaptureStdout();
    const auto model = load(path);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << "loading a model with a complete program is silent";

    ASSERT_EQ(model->meshes().size(), 2u);
    EXPECT_EQ(model->meshes()[0]->vertices().size(), 6u) << "Big comes first";
    EXPECT_EQ(model->meshes()[1]->vertices().size(), 4u) << "Small second";
    EXPECT_EQ(model->meshes()[1]->indices().size(), 6u) << "the quad arrives as two triangles";
    EXPECT_EQ(model->directory(), (tree.root() / "models").string());

    expectMatNear(model->modelMatrix(), glm::mat4(1.0f), "model matrix at construction");
    EXPECT_EQ(model->drawnMeshCount(), 0);
    expectVec4Near(model->worldMin(), SmallMin, "worldMin");
    expectVec4Near(model->worldMax(), SmallMax, "worldMax");
    const glm::vec3 size = model->size(), center = model->center();
    EXPECT_NEAR(size.x, 1.0f, 1e-5f);
    EXPECT_NEAR(size.y, 3.0f, 1e-5f);
    EXPECT_NEAR(size.z, 1.0f, 1e-5f);
    EXPECT_NEAR(center.x, 1.5f, 1e-5f);
    EXPECT_NEAR(center.y, 3.5f, 1e-5f);
    EXPECT_NEAR(center.z, 3.5f, 1e-5f);

    // The positions and coordinates of each vertex are carried over.
    const auto& small = model->meshes()[1]->vertices();
    EXPECT_EQ(small[2].position, glm::vec3(1.5f, 5.0f, 3.5f));
    EXPECT_EQ(small[3].texCoords, glm::vec2(0.0f, 1.0f));
    for (const auto& vertex : small) EXPECT_NEAR(glm::length(vertex.normal), 1.0f, 1e-4f) << "normals are generated";
    EXPECT_EQ(model->meshes()[0]->vertices()[0].normal, glm::vec3(0.0f, 0.0f, 1.0f)) << "given normals are kept";
}

TEST_F(ModelTest, FourVertexMeshGetsQuadReferenceCoordinatesOthersZero)
{
    const auto model = load(writeTwoObjects("models"));
    ASSERT_EQ(model->meshes().size(), 2u);
    const auto& quad = model->meshes()[1]->vertices();
    const glm::vec2 expected[4] = {{0, 0}, {1, 0}, {1, 1}, {1, 0}};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(quad[i].texCoordsRef, expected[i]) << "vertex " << i;
    for (const auto& vertex : model->meshes()[0]->vertices()) EXPECT_EQ(vertex.texCoordsRef, glm::vec2(0.0f));

    // Without texture coordinates a four-vertex mesh gets zeros for both.
    const std::string bare = tree.write("bare/quad.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\n").string();
    const auto plain = load(bare);
    ASSERT_EQ(plain->meshes().size(), 1u);
    ASSERT_EQ(plain->meshes()[0]->vertices().size(), 4u);
    for (const auto& vertex : plain->meshes()[0]->vertices()) {
        EXPECT_EQ(vertex.texCoordsRef, glm::vec2(0.0f));
        EXPECT_EQ(vertex.texCoords, glm::vec2(0.0f));
    }
    EXPECT_TRUE(plain->loadedTextures().empty());
    EXPECT_TRUE(plain->meshes()[0]->textures().empty());
}

TEST_F(ModelTest, TexturesAreSharedWithinAModelButNotBetweenModels)
{
    const std::string path = writeTwoObjects("models");
    auto first = load(path);
    ASSERT_EQ(first->meshes().size(), 2u);
    const auto& big = first->meshes()[0]->textures();
    const auto& small = first->meshes()[1]->textures();
    ASSERT_EQ(big.size(), 1u);
    ASSERT_EQ(small.size(), 2u);
    EXPECT_EQ(first->loadedTextures().size(), 2u) << "shared.png once, gloss.png once";
    EXPECT_EQ(big[0].id, small[0].id) << "one texture object for the shared path";
    EXPECT_EQ(big[0].path, "shared.png");
    EXPECT_EQ(big[0].type, "texture_diffuse");
    EXPECT_EQ(small[0].type, "texture_diffuse") << "diffuse textures come before specular ones";
    EXPECT_EQ(small[1].type, "texture_specular");
    EXPECT_EQ(small[1].path, "gloss.png");
    EXPECT_NE(small[1].id, small[0].id);

    // The picture was found next to the model file and loaded with the material settings.
    const auto image = SkyhogTest::readTexImage(GL_TEXTURE_2D, big[0].id, GL_TEXTURE_2D);
    EXPECT_EQ(image.width, 5);
    EXPECT_EQ(image.height, 3);
    glBindTexture(GL_TEXTURE_2D, big[0].id);
    GLint minFilter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_LINEAR);
    glBindTexture(GL_TEXTURE_2D, 0);

    const auto second = load(path);
    ASSERT_EQ(second->loadedTextures().size(), 2u);
    EXPECT_NE(second->loadedTextures()[0].id, first->loadedTextures()[0].id) << "the cache is per model";
    EXPECT_NE(second->loadedTextures()[1].id, first->loadedTextures()[1].id);
    EXPECT_NE(second->meshes()[0]->vertexArray(), first->meshes()[0]->vertexArray());

    // The filter toggle reaches every texture of every mesh.
    first->setTextureFilter(GL_NEAREST, GL_NEAREST);
    for (const auto& texture : first->loadedTextures()) {
        glBindTexture(GL_TEXTURE_2D, texture.id);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
        EXPECT_EQ(minFilter, GL_NEAREST);
    }
    glBindTexture(GL_TEXTURE_2D, second->loadedTextures()[0].id);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_LINEAR) << "the other model's textures are its own";
    glBindTexture(GL_TEXTURE_2D, 0);

    // Destroying a model releases its meshes' buffers and the textures it loaded.
    const GLuint vertexArray = first->meshes()[0]->vertexArray();
    const GLuint shared = big[0].id;
    first.reset();
    EXPECT_FALSE(glIsVertexArray(vertexArray));
    EXPECT_FALSE(glIsTexture(shared));
}

TEST_F(ModelTest, PathWithoutSlashIsItsOwnDirectory)
{
    tree.enterWorkDir();
    // Only the first object, with its material file renamed.
    const std::string bigOnly = TwoObjects.substr(0, TwoObjects.find("o Small"));
    tree.write("run/work/flat.obj", "mtllib flat.mtl\n" + bigOnly.substr(bigOnly.find('\n') + 1));
    tree.write("run/work/flat.mtl", TwoMaterials);
    // The picture lies next to the model, but the lookup is "flat.obj/shared.png".
    SkyhogTest::writeSolidPicture(tree.root() / "run/work/shared.png", 5, 3, {255, 0, 0});

    testing::internal::CaptureStdout();
    const auto model = load("flat.obj");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << "a missing material picture is not reported";
    EXPECT_EQ(model->directory(), "flat.obj");
    ASSERT_EQ(model->loadedTextures().size(), 1u);
    EXPECT_EQ(model->loadedTextures()[0].path, "shared.png");
    const auto image = SkyhogTest::readTexImage(GL_TEXTURE_2D, model->loadedTextures()[0].id, GL_TEXTURE_2D);
    EXPECT_EQ(image.width, 0) << "not found as ./shared.png";
    EXPECT_EQ(image.height, 0);

    // The model still draws.
    mainProgram->use();
    model->draw();
    EXPECT_EQ(model->drawnMeshCount(), 1);
}

TEST_F(ModelTest, UpdateModelMatrixAppliesSceneScaleAndOffsetToTranslationRotationScale)
{
    const auto model = load(writeTwoObjects("models"));
    // Accumulated calls, out of order across the three matrices; the axis is not unit length.
    model->scale(glm::vec3(2.0f, 3.0f, 1.0f));
    model->translate(glm::vec3(0.5f, 1.0f, 1.5f));
    model->rotate(45.0f, glm::vec3(0.0f, 0.0f, 2.0f));
    model->scale(glm::vec3(1.0f, 1.0f, 4.0f));
    model->translate(glm::vec3(0.5f, 1.0f, 1.5f));
    model->rotate(45.0f, glm::vec3(0.0f, 0.0f, 2.0f));

    expectVec4Near(model->worldMin(), SmallMin, "nothing is applied before an update or draw");

    glUseProgram(0);
    model->updateModelMatrix();
    EXPECT_EQ(static_cast<GLuint>(integer(GL_CURRENT_PROGRAM)), mainProgram->program())
        << "the main program is made current";

    // By hand, for the corner (1, 2, 3): scale (2, 3, 4) -> (2, 6, 12); 90 degrees about z -> (-6, 2, 12);
    // translate (1, 2, 3) -> (-5, 4, 15); scale 0.2 -> (-1, 0.8, 3); down 1.75 -> (-1, -0.95, 3).
    expectVec4Near(model->worldMin(), glm::vec4(-1.0f, -0.95f, 3.0f, 1.0f), "worldMin");
    // (2, 5, 4) -> (4, 15, 16) -> (-15, 4, 16) -> (-14, 6, 19) -> (-2.8, 1.2, 3.8) -> (-2.8, -0.55, 3.8).
    expectVec4Near(model->worldMax(), glm::vec4(-2.8f, -0.55f, 3.8f, 1.0f), "worldMax");
    const glm::vec3 size = model->size(), center = model->center();
    EXPECT_NEAR(size.x, -1.8f, 1e-4f);
    EXPECT_NEAR(size.y, 0.4f, 1e-4f);
    EXPECT_NEAR(size.z, 0.8f, 1e-4f);
    EXPECT_NEAR(center.x, -1.9f, 1e-4f);
    EXPECT_NEAR(center.y, -0.75f, 1e-4f);
    EXPECT_NEAR(center.z, 3.4f, 1e-4f);

    // The pose is not part of it.
    model->setPose(glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 100.0f, 0.0f)));
    model->updateModelMatrix();
    expectVec4Near(model->worldMin(), glm::vec4(-1.0f, -0.95f, 3.0f, 1.0f), "worldMin with a pose");
    glUseProgram(0);
}

TEST_F(ModelTest, DrawAppliesThePoseAndDrawDepthDoesNot)
{
    const auto model = load(writeTwoObjects("models"));
    model->translate(glm::vec3(1.0f, 0.0f, 0.0f));
    const glm::mat4 base = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, -1.75f, 0.0f)) *
        glm::scale(glm::mat4(1.0f), glm::vec3(0.2f)) * glm::translate(glm::mat4(1.0f), glm::vec3(1.0f, 0.0f, 0.0f));
    const glm::mat4 pose = glm::rotate(glm::mat4(1.0f), glm::radians(90.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    model->setPose(pose);

    mainProgram->use();
    mainProgram->setMat4("model", glm::mat4(0.0f));
    EXPECT_EQ(model->drawnMeshCount(), 0);
    model->draw();
    EXPECT_EQ(model->drawnMeshCount(), 2);
    expectMatNear(model->modelMatrix(), base * pose, "after draw");
    expectMatNear(uniformMatrix(*mainProgram, "model"), base * pose, "\"model\" on the main program");
    EXPECT_EQ(static_cast<GLuint>(integer(GL_CURRENT_PROGRAM)), mainProgram->program());
    expectVec4Near(model->worldMin(), base * pose * SmallMin, "worldMin after draw");
    EXPECT_EQ(integer(GL_VERTEX_ARRAY_BINDING), 0);

    // The shadow pass: its own program, no pose, no texture state touched.
    GLuint placeholder = 0;
    glGenTextures(1, &placeholder);
    glActiveTexture(GL_TEXTURE3);
    glBindTexture(GL_TEXTURE_2D, placeholder);
    depthProgram->use();
    depthProgram->setMat4("lightSpaceMatrix", glm::mat4(1.0f));
    glUseProgram(0);

    GLuint query = 0;
    glGenQueries(1, &query);
    glBeginQuery(GL_PRIMITIVES_GENERATED, query);
    model->drawDepth();
    glEndQuery(GL_PRIMITIVES_GENERATED);
    GLuint triangles = 0;
    glGetQueryObjectuiv(query, GL_QUERY_RESULT, &triangles);
    glDeleteQueries(1, &query);
    EXPECT_EQ(triangles, 4u) << "both meshes, all their triangles";
    EXPECT_EQ(model->drawnMeshCount(), 2);
    EXPECT_EQ(static_cast<GLuint>(integer(GL_CURRENT_PROGRAM)), depthProgram->program());
    expectMatNear(model->modelMatrix(), base, "after drawDepth");
    expectMatNear(uniformMatrix(*depthProgram, "model"), base, "\"model\" on the depth program");
    expectMatNear(uniformMatrix(*mainProgram, "model"), base * pose, "the main program is left alone");
    expectVec4Near(model->worldMin(), base * SmallMin, "worldMin after drawDepth");
    EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE3);
    EXPECT_EQ(static_cast<GLuint>(integer(GL_TEXTURE_BINDING_2D)), placeholder);
    EXPECT_EQ(integer(GL_VERTEX_ARRAY_BINDING), 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glDeleteTextures(1, &placeholder);
    glActiveTexture(GL_TEXTURE0);
}

TEST_F(ModelTest, ObjectsWithoutGeometryAmongRealOnesLoad)
{
    const std::string body = TwoObjects.substr(TwoObjects.find('\n') + 1); // without the mtllib line
    const auto split = body.find("o Small");
    const std::string text = "mtllib two.mtl\no Empty\n" + body.substr(0, split) + "o Hollow\ng nothing\n" +
        body.substr(split) + "o Trailing\nusemtl matA\n";
    tree.write("mixed/two.mtl", TwoMaterials);
    const std::string path = tree.write("mixed/mixed.obj", text).string();
    const auto model = load(path);
    ASSERT_FALSE(model->meshes().empty());
    expectVec4Near(model->worldMin(), SmallMin, "worldMin from the last real mesh");
    expectVec4Near(model->worldMax(), SmallMax, "worldMax from the last real mesh");
    mainProgram->use();
    model->draw();
    model->drawDepth();
    EXPECT_EQ(model->drawnMeshCount(), static_cast<int>(model->meshes().size()));
}

TEST_F(ModelTest, MissingFileEndsTheProcessWithTheImporterMessage)
{
    const std::string missing = (tree.root() / "absent.obj").string();
    const std::string output = SkyhogTest::runExpectingExit1(&tree, [&] { load(missing); });
    ASSERT_FALSE(output.empty());
    EXPECT_EQ(SkyhogTest::lines(output)[0].rfind("Error AASIMPUnable to open file", 0), 0u) << output;
}

TEST_F(ModelTest, CorruptFileEndsTheProcessWithTheImporterMessage)
{
    // A face that names vertices the file never defines.
    const std::string broken = tree.write("broken.obj", "v 0 0 0\nf 1 2 3\n").string();
    const std::string output = SkyhogTest::runExpectingExit1(&tree, [&] { load(broken); });
    ASSERT_FALSE(output.empty());
    const std::string first = SkyhogTest::lines(output)[0];
    EXPECT_EQ(first.rfind("Error AASIMP", 0), 0u) << output;
    EXPECT_GT(first.size(), std::string("Error AASIMP").size()) << "followed by the importer's message";
}

// The importer takes these for empty scenes without a word: text that is no
// OBJ at all, and vertices that no face uses. Loading one must stop the
// process with a line naming the file.
class NothingImported : public ModelTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(NothingImported, EndsTheProcessNamingTheFile)
{
    const std::string path = tree.write("nothing.obj", GetParam()).string();
    const std::string output = SkyhogTest::runExpectingExit1(&tree, [&] { load(path); });
    ASSERT_FALSE(output.empty());
    const std::string first = SkyhogTest::lines(output)[0];
    EXPECT_NE(first.find("nothing.obj"), std::string::npos) << output;
    EXPECT_EQ(first.find("AASIMP"), std::string::npos) << "the importer reported nothing: " << output;
}

INSTANTIATE_TEST_SUITE_P(ModelTest, NothingImported,
                         ::testing::Values("this is not a model\n", "v 0 0 0\nv 1 0 0\nv 0 1 0\n"));

} // namespace
