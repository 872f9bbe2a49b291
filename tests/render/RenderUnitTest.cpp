// Rendering-foundation rules that need no OpenGL context: the vertex record's
// layout, sampler naming, and reading paths out of importer strings.
#include "render/Mesh.h"
#include "render/Model.h"

#include <assimp/types.h>
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

namespace {

using Skyhog::Scene::Model;
using Skyhog::Scene::Meshes::Mesh;
using Skyhog::Scene::Meshes::Texture;
using Skyhog::Scene::Meshes::Vertex;

TEST(VertexLayout, IsFortyTightlyPackedBytes)
{
    // The vertex buffer and the attribute pointers rely on exactly this layout.
    EXPECT_EQ(sizeof(Vertex), 40u);
    EXPECT_EQ(offsetof(Vertex, position), 0u);
    EXPECT_EQ(offsetof(Vertex, normal), 12u);
    EXPECT_EQ(offsetof(Vertex, texCoords), 24u);
    EXPECT_EQ(offsetof(Vertex, texCoordsRef), 32u);
    const Vertex fresh;
    EXPECT_EQ(fresh.texCoordsRef, glm::vec2(0.0f));
}

TEST(SamplerNames, EachFamilyCountsFromOneAndOtherTypesGetNoNumber)
{
    const std::vector<Texture> textures = {
        {1, "texture_diffuse", "a"}, {2, "texture_specular", "b"}, {3, "texture_diffuse", "c"},
        {4, "texture_normal", "d"},  {5, "texture_specular", "e"}, {6, "texture_diffuse", "f"},
    };
    EXPECT_EQ(Mesh::samplerNames(textures),
              (std::vector<std::string>{"texture_diffuse1", "texture_specular1", "texture_diffuse2", "texture_normal",
                                        "texture_specular2", "texture_diffuse3"}));
    EXPECT_TRUE(Mesh::samplerNames({}).empty());

    std::vector<Texture> many(12, Texture{7, "texture_diffuse", "x"});
    EXPECT_EQ(Mesh::samplerNames(many).back(), "texture_diffuse12") << "decimal numbers past 9";
}

// An importer string followed directly by bytes that must never be read.
struct Guarded {
    aiString text;
    char after[64];
};

TEST(ImporterPath, ReadsAnOrdinaryString)
{
    EXPECT_EQ(Model::importerPath(aiString(std::string("textures/wood.jpg"))), "textures/wood.jpg");
    EXPECT_EQ(Model::importerPath(aiString()), "");
}

TEST(ImporterPath, NeverReadsPastTheBufferWhateverTheLengthClaims)
{
    Guarded guarded;
    std::memset(guarded.after, 'b', sizeof(guarded.after));
    std::memset(guarded.text.data, 'a', sizeof(guarded.text.data)); // no terminator anywhere
    for (ai_uint32 claimed : {1025u, 5000u, 0xFFFFFFFFu}) {
        guarded.text.length = claimed;
        const std::string path = Model::importerPath(guarded.text);
        EXPECT_LE(path.size(), 1024u) << claimed;
        EXPECT_EQ(path.find('b'), std::string::npos) << "read past the buffer for length " << claimed;
        EXPECT_EQ(path, std::string(path.size(), 'a'));
    }
}

TEST(ImporterPath, StopsAtTheClaimedLengthOrAnEarlierTerminator)
{
    aiString text;
    std::memcpy(text.data, "abc\0def", 8);
    text.length = 7;
    EXPECT_EQ(Model::importerPath(text), "abc") << "a terminator inside the claimed length ends the path";

    std::memcpy(text.data, "abcdef", 7);
    text.length = 3;
    EXPECT_EQ(Model::importerPath(text), "abc") << "the length ends the path before the terminator";

    Guarded guarded;
    std::memset(guarded.after, 'b', sizeof(guarded.after));
    std::memset(guarded.text.data, 'a', sizeof(guarded.text.data));
    guarded.text.data[1000] = '\0';
    guarded.text.length = 5000;
    EXPECT_EQ(Model::importerPath(guarded.text), std::string(1000, 'a'));
}

} // namespace
