// Meshes: the vertex array laid out from the program's attributes, the
// buffer contents, sampler numbering and texture units during and after a
// draw, and the messages for programs that lack attributes.
#include "render/Mesh.h"
#include "tests/render/RenderTestSupport.h"
#include "tests/support/TestShaders.h"
#include "tests/support/GlTestContext.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using Skyhog::ShaderProgram;
using Skyhog::Scene::Meshes::Mesh;
using Skyhog::Scene::Meshes::Texture;
using Skyhog::Scene::Meshes::Vertex;
using SkyhogTest::TempTree;

// Position at location 3 (not 0) and texCoordsRef at 4, so that the layout
// must follow the program for these two and stay fixed for the others.
const std::string FullVertex = R"(#version 330 core
layout(location = 3) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 texCoords;
layout(location = 4) in vec2 texCoordsRef;
uniform float useExtras;
out vec2 uv;
void main() {
    uv = texCoords + useExtras * (texCoordsRef + normal.xy);
    gl_Position = vec4(position, 1.0);
}
)";

// Each family's samplers feed their own colour channel, so a texture bound to
// the wrong unit shows up in the picture.
const std::string SamplerFragment = R"(#version 330 core
in vec2 uv;
out vec4 color;
struct Material { float shininess; };
uniform Material material;
uniform float useExtras;
uniform sampler2D texture_diffuse1;
uniform sampler2D texture_diffuse2;
uniform sampler2D texture_specular1;
void main() {
    color = vec4(texture(texture_diffuse1, uv).r, texture(texture_diffuse2, uv).g,
                 texture(texture_specular1, uv).b, 1.0 + useExtras * material.shininess);
}
)";

const std::string PlainFragment = SkyhogTest::fragmentShader("vec4(uv, 1.0, 1.0)");

// "normal" is declared but unused, so the linker drops it.
const std::string NoNormalVertex = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 texCoords;
out vec2 uv;
void main() { uv = texCoords; gl_Position = vec4(position, 1.0); }
)";

const std::string OnlyPositionVertex = R"(#version 330 core
layout(location = 0) in vec3 position;
out vec2 uv;
void main() { uv = vec2(0.0); gl_Position = vec4(position, 1.0); }
)";

const std::string NoPositionVertex = R"(#version 330 core
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 texCoords;
out vec2 uv;
void main() { uv = texCoords; gl_Position = vec4(normal, 1.0); }
)";

// Two triangles covering the whole viewport.
std::vector<Vertex> screenQuad()
{
    std::vector<Vertex> v(4);
    const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (int i = 0; i < 4; ++i) {
        v[i].position = glm::vec3(corners[i][0], corners[i][1], 0.0f);
        v[i].normal = glm::vec3(0.0f, 0.0f, 1.0f + static_cast<float>(i));
        v[i].texCoords = glm::vec2((corners[i][0] + 1) / 2, (corners[i][1] + 1) / 2);
        v[i].texCoordsRef = glm::vec2(static_cast<float>(i), 10.0f + static_cast<float>(i));
    }
    return v;
}
const std::vector<GLuint> QuadIndices = {0, 1, 2, 0, 2, 3};

struct AttribState {
    GLint enabled = 0, size = 0, stride = 0, type = 0, normalized = 0, buffer = 0;
    std::uintptr_t offset = 0;
};

AttribState attrib(GLuint location)
{
    AttribState s;
    glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &s.enabled);
    glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_SIZE, &s.size);
    glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_STRIDE, &s.stride);
    glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_TYPE, &s.type);
    glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_NORMALIZED, &s.normalized);
    glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING, &s.buffer);
    void* pointer = nullptr;
    glGetVertexAttribPointerv(location, GL_VERTEX_ATTRIB_ARRAY_POINTER, &pointer);
    s.offset = reinterpret_cast<std::uintptr_t>(pointer);
    return s;
}

GLint integer(GLenum name)
{
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

GLuint solidTexture(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    const std::uint8_t texel[4] = {r, g, b, 255};
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}

class MeshTest : public SkyhogTest::GlTest {
protected:
    void TearDown() override
    {
        glUseProgram(0);
        glBindVertexArray(0);
        for (int unit = 0; unit < 8; ++unit) {
            glActiveTexture(static_cast<GLenum>(GL_TEXTURE0 + unit));
            glBindTexture(GL_TEXTURE_2D, 0);
        }
        glActiveTexture(GL_TEXTURE0);
        for (GLuint texture : textures) glDeleteTextures(1, &texture);
        GlTest::TearDown();
    }

    std::unique_ptr<ShaderProgram> program(const std::string& name, const std::string& vertex,
                                           const std::string& fragment)
    {
        return SkyhogTest::makeProgram(tree, "programs/" + name, vertex, fragment);
    }
    GLuint texture(std::uint8_t r, std::uint8_t g, std::uint8_t b)
    {
        textures.push_back(solidTexture(r, g, b));
        return textures.back();
    }
    GLint uniformInt(const ShaderProgram& p, const char* name)
    {
        GLint value = -100;
        glGetUniformiv(p.program(), p.uniformLocation(name), &value);
        return value;
    }

    TempTree tree;
    std::vector<GLuint> textures;
};

TEST_F(MeshTest, VertexArrayFollowsTheProgramForPositionAndReferenceAndFixedLocationsOtherwise)
{
    const auto shader = program("full", FullVertex, SamplerFragment);
    const auto vertices = screenQuad();
    testing::internal::CaptureStdout();
    Mesh mesh(shader.get(), vertices, QuadIndices, {});
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << "a complete program draws no complaint";

    EXPECT_EQ(integer(GL_VERTEX_ARRAY_BINDING), 0) << "the vertex array is unbound again";
    EXPECT_EQ(integer(GL_ARRAY_BUFFER_BINDING), 0);
    ASSERT_NE(mesh.vertexArray(), 0u);

    glBindVertexArray(mesh.vertexArray());
    const AttribState position = attrib(3), normal = attrib(1), texCoords = attrib(2), reference = attrib(4);
    EXPECT_FALSE(attrib(0).enabled) << "position goes where the program says, not to 0";
    struct Expect {
        const char* name;
        AttribState state;
        GLint size;
        std::uintptr_t offset;
    };
    for (const Expect& e : {Expect{"position", position, 3, 0}, Expect{"normal", normal, 3, 12},
                            Expect{"texCoords", texCoords, 2, 24}, Expect{"texCoordsRef", reference, 2, 32}}) {
        SCOPED_TRACE(e.name);
        EXPECT_TRUE(e.state.enabled);
        EXPECT_EQ(e.state.size, e.size);
        EXPECT_EQ(e.state.offset, e.offset);
        EXPECT_EQ(e.state.stride, 40);
        EXPECT_EQ(e.state.type, GL_FLOAT);
        EXPECT_FALSE(e.state.normalized);
        EXPECT_EQ(e.state.buffer, position.buffer) << "all from the one vertex buffer";
    }
    ASSERT_NE(position.buffer, 0);

    // The buffers hold the vertices (40 bytes each) and the indices as given.
    std::vector<Vertex> storedVertices(vertices.size());
    glBindBuffer(GL_COPY_READ_BUFFER, static_cast<GLuint>(position.buffer));
    GLint bytes = 0;
    glGetBufferParameteriv(GL_COPY_READ_BUFFER, GL_BUFFER_SIZE, &bytes);
    ASSERT_EQ(bytes, 40 * 4);
    glGetBufferSubData(GL_COPY_READ_BUFFER, 0, bytes, storedVertices.data());
    EXPECT_EQ(std::memcmp(storedVertices.data(), vertices.data(), static_cast<std::size_t>(bytes)), 0);

    const GLint elements = integer(GL_ELEMENT_ARRAY_BUFFER_BINDING);
    ASSERT_NE(elements, 0) << "the element buffer belongs to the vertex array";
    ASSERT_NE(elements, position.buffer);
    std::vector<GLuint> storedIndices(QuadIndices.size());
    glBindBuffer(GL_COPY_READ_BUFFER, static_cast<GLuint>(elements));
    glGetBufferParameteriv(GL_COPY_READ_BUFFER, GL_BUFFER_SIZE, &bytes);
    ASSERT_EQ(bytes, 4 * 6);
    glGetBufferSubData(GL_COPY_READ_BUFFER, 0, bytes, storedIndices.data());
    EXPECT_EQ(storedIndices, QuadIndices);
    glBindBuffer(GL_COPY_READ_BUFFER, 0);
    glBindVertexArray(0);

    EXPECT_EQ(mesh.indices().size(), 6u);
    EXPECT_EQ(mesh.vertices().size(), 4u);
}

TEST_F(MeshTest, WithoutReferenceAttributeOnlyTheThreeFixedOnesAreEnabled)
{
    const auto shader = program("noref", NoNormalVertex, PlainFragment);
    testing::internal::CaptureStdout();
    Mesh mesh(shader.get(), screenQuad(), QuadIndices, {});
    testing::internal::GetCapturedStdout();
    glBindVertexArray(mesh.vertexArray());
    EXPECT_TRUE(attrib(0).enabled);
    for (GLuint location = 3; location < 8; ++location) EXPECT_FALSE(attrib(location).enabled) << location;
    glBindVertexArray(0);
}

TEST_F(MeshTest, SamplersAreNumberedPerFamilyAndTexturesBoundToTheirUnitsDuringTheDraw)
{
    const auto shader = program("samplers", FullVertex, SamplerFragment);
    const GLuint red = texture(255, 0, 0), green = texture(0, 255, 0), blue = texture(0, 0, 255);
    struct Case {
        std::vector<Texture> list;
        GLint diffuse1, diffuse2, specular1;
    };
    // The usual order (diffuse before specular), and the families interleaved.
    const Case cases[] = {
        {{{red, "texture_diffuse", "r.png"}, {green, "texture_diffuse", "g.png"}, {blue, "texture_specular", "b.png"}},
         0,
         1,
         2},
        {{{red, "texture_diffuse", "r.png"}, {blue, "texture_specular", "b.png"}, {green, "texture_diffuse", "g.png"}},
         0,
         2,
         1},
    };
    SkyhogTest::OffscreenTarget target(16, 16);
    glViewport(0, 0, 16, 16);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.diffuse2);
        Mesh mesh(shader.get(), screenQuad(), QuadIndices, c.list);
        shader->use();
        for (const char* name : {"texture_diffuse1", "texture_diffuse2", "texture_specular1"}) shader->setInt(name, 7);
        shader->setFloat("material.shininess", 0.0f);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        glActiveTexture(GL_TEXTURE0);

        mesh.draw();

        EXPECT_EQ(uniformInt(*shader, "texture_diffuse1"), c.diffuse1);
        EXPECT_EQ(uniformInt(*shader, "texture_diffuse2"), c.diffuse2);
        EXPECT_EQ(uniformInt(*shader, "texture_specular1"), c.specular1);
        GLfloat shininess = 0;
        glGetUniformfv(shader->program(), shader->uniformLocation("material.shininess"), &shininess);
        EXPECT_FLOAT_EQ(shininess, 16.0f);

        const auto pixels = SkyhogTest::readPixels(8, 8, 1, 1);
        EXPECT_EQ(pixels.at(0, 0)[0], 255) << "texture_diffuse1 samples the first diffuse texture";
        EXPECT_EQ(pixels.at(0, 0)[1], 255) << "texture_diffuse2 samples the second diffuse texture";
        EXPECT_EQ(pixels.at(0, 0)[2], 255) << "texture_specular1 samples the specular texture";

        EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE2) << "the last unit used stays active";
        for (int unit = 0; unit < 3; ++unit) {
            glActiveTexture(static_cast<GLenum>(GL_TEXTURE0 + unit));
            EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), 0) << "unit " << unit << " is unbound after the draw";
        }
        EXPECT_EQ(integer(GL_VERTEX_ARRAY_BINDING), 0);
        glActiveTexture(GL_TEXTURE0);
    }
    glViewport(0, 0, 1024, 768);
}

TEST_F(MeshTest, MeshWithoutTexturesTouchesNoTextureState)
{
    const auto shader = program("plain", FullVertex, SamplerFragment);
    const GLuint placeholder = texture(1, 2, 3);
    Mesh mesh(shader.get(), screenQuad(), QuadIndices, {});
    shader->use();
    shader->setInt("texture_diffuse1", 5);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, placeholder);
    glActiveTexture(GL_TEXTURE5);
    glBindTexture(GL_TEXTURE_2D, placeholder);

    mesh.draw();

    EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE5);
    EXPECT_EQ(static_cast<GLuint>(integer(GL_TEXTURE_BINDING_2D)), placeholder);
    glActiveTexture(GL_TEXTURE0);
    EXPECT_EQ(static_cast<GLuint>(integer(GL_TEXTURE_BINDING_2D)), placeholder);
    EXPECT_EQ(uniformInt(*shader, "texture_diffuse1"), 5);
    GLfloat shininess = 0;
    glGetUniformfv(shader->program(), shader->uniformLocation("material.shininess"), &shininess);
    EXPECT_FLOAT_EQ(shininess, 16.0f);
}

TEST_F(MeshTest, EmptyIndexListDrawsNothingWithoutError)
{
    const auto shader = program("empty", FullVertex, SamplerFragment);
    SkyhogTest::OffscreenTarget target(8, 8);
    glViewport(0, 0, 8, 8);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    shader->use();
    Mesh noIndices(shader.get(), screenQuad(), {}, {{texture(255, 255, 255), "texture_diffuse", "w.png"}});
    Mesh nothing(shader.get(), {}, {}, {});
    GLuint query = 0;
    glGenQueries(1, &query);
    glBeginQuery(GL_PRIMITIVES_GENERATED, query);
    noIndices.draw();
    nothing.draw();
    glEndQuery(GL_PRIMITIVES_GENERATED);
    GLuint primitives = 99;
    glGetQueryObjectuiv(query, GL_QUERY_RESULT, &primitives);
    glDeleteQueries(1, &query);
    EXPECT_EQ(primitives, 0u) << "a draw of zero elements";
    EXPECT_TRUE(SkyhogTest::takeGlErrors().empty());
    EXPECT_EQ(noIndices.indices().size(), 0u);
    const auto pixels = SkyhogTest::readPixels(4, 4, 1, 1);
    EXPECT_EQ(pixels.at(0, 0)[0], 0) << "no triangle was drawn";
    glViewport(0, 0, 1024, 768);
    glActiveTexture(GL_TEXTURE0);
}

TEST_F(MeshTest, ProgramWithoutNormalsIsReportedOncePerMeshAndLocationOneStillFed)
{
    const auto shader = program("nonormal", NoNormalVertex, PlainFragment);
    ASSERT_EQ(glGetAttribLocation(shader->program(), "normal"), -1) << "the unused input is not active";
    testing::internal::CaptureStdout();
    Mesh first(shader.get(), screenQuad(), QuadIndices, {});
    const std::string once = testing::internal::GetCapturedStdout();
    EXPECT_EQ(once, "Error: shader could not load normals\n");
    testing::internal::CaptureStdout();
    Mesh second(shader.get(), screenQuad(), QuadIndices, {});
    EXPECT_EQ(testing::internal::GetCapturedStdout(), once) << "once per mesh built with the program";

    glBindVertexArray(first.vertexArray());
    const AttribState normal = attrib(1);
    EXPECT_TRUE(normal.enabled);
    EXPECT_EQ(normal.size, 3);
    EXPECT_EQ(normal.offset, 12u);
    EXPECT_EQ(normal.stride, 40);
    glBindVertexArray(0);
}

TEST_F(MeshTest, ProgramWithOnlyPositionReportsNormalsThenTexture)
{
    const auto shader = program("onlypos", OnlyPositionVertex, PlainFragment);
    testing::internal::CaptureStdout();
    Mesh mesh(shader.get(), screenQuad(), QuadIndices, {});
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Error: shader could not load normals\nError: shader could not load texture\n");
    glBindVertexArray(mesh.vertexArray());
    const AttribState texCoords = attrib(2);
    EXPECT_TRUE(texCoords.enabled);
    EXPECT_EQ(texCoords.size, 2);
    EXPECT_EQ(texCoords.offset, 24u);
    glBindVertexArray(0);
    shader->use();
    mesh.draw(); // drawable all the same
    glUseProgram(0);
}

TEST_F(MeshTest, ProgramWithoutPositionEndsTheProcess)
{
    const auto shader = program("noposition", NoPositionVertex, PlainFragment);
    const std::string output =
        SkyhogTest::runExpectingExit1(&tree, [&] { Mesh mesh(shader.get(), screenQuad(), QuadIndices, {}); });
    EXPECT_EQ(SkyhogTest::lines(output).at(0), "Error: shader loading failed");
}

TEST_F(MeshTest, TextureFilterAppliesToEveryTextureAndDestructionSparesTextures)
{
    const auto shader = program("filters", FullVertex, SamplerFragment);
    const GLuint a = texture(1, 1, 1), b = texture(2, 2, 2);
    GLint buffer = 0;
    GLuint vertexArray = 0;
    {
        Mesh mesh(shader.get(), screenQuad(), QuadIndices, {{a, "texture_diffuse", "a"}, {b, "texture_specular", "b"}});
        mesh.setTextureFilter(GL_NEAREST_MIPMAP_NEAREST, GL_NEAREST);
        EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), 0);
        for (GLuint t : {a, b}) {
            glBindTexture(GL_TEXTURE_2D, t);
            GLint minFilter = 0, magFilter = 0;
            glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
            glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
            EXPECT_EQ(minFilter, GL_NEAREST_MIPMAP_NEAREST);
            EXPECT_EQ(magFilter, GL_NEAREST);
        }
        glBindTexture(GL_TEXTURE_2D, 0);
        vertexArray = mesh.vertexArray();
        glBindVertexArray(vertexArray);
        buffer = attrib(3).buffer;
        glBindVertexArray(0);
    }
    EXPECT_FALSE(glIsVertexArray(vertexArray));
    EXPECT_FALSE(glIsBuffer(static_cast<GLuint>(buffer)));
    EXPECT_TRUE(glIsTexture(a)) << "textures belong to the model's cache, not the mesh";
    EXPECT_TRUE(glIsTexture(b));
}

} // namespace
