// Title pictures, the sky box and the tiling textures, read back with
// FreeImage as the game reads them; and the font.
#include "DataTree.h"

#include <gtest/gtest.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include <glm/geometric.hpp>

namespace SkyhogTest {
namespace {

float brightness(glm::vec3 c)
{
    return (c.r + c.g + c.b) / 3;
}

TEST(Pictures, DecodeAtTheirIntendedSizes)
{
    const struct {
        const char* file;
        int width, height;
    } pictures[] = {
        {"Models/intro.jpg", 1024, 768},
        {"Models/outro_win.jpg", 1024, 768},
        {"Models/Skybox/right.jpg", 512, 512},
        {"Models/Skybox/left.jpg", 512, 512},
        {"Models/Skybox/top.jpg", 512, 512},
        {"Models/Skybox/bottom.jpg", 512, 512},
        {"Models/Skybox/back.jpg", 512, 512},
        {"Models/Skybox/front.jpg", 512, 512},
        {"Models/Ground/water_dudv.jpg", 256, 256},
        {"Models/Ground/dudv_sand.jpg", 256, 256},
    };
    for (const auto& p : pictures) {
        Picture picture = loadPicture(DataRoot + p.file);
        ASSERT_TRUE(picture.loaded) << p.file;
        EXPECT_EQ(picture.width, p.width) << p.file;
        EXPECT_EQ(picture.height, p.height) << p.file;
    }
}

TEST(Pictures, TitleAndWinPicturesAreNotBlank)
{
    for (const char* file : {"Models/intro.jpg", "Models/outro_win.jpg"}) {
        Picture picture = loadPicture(DataRoot + file);
        ASSERT_TRUE(picture.loaded) << file;
        // Lettering and drawings give plenty of strong edges.
        int edges = 0;
        for (int y = 0; y < picture.height; ++y)
            for (int x = 1; x < picture.width; ++x)
                if (std::abs(brightness(picture.at(x, y)) - brightness(picture.at(x - 1, y))) > 0.25f) ++edges;
        EXPECT_GT(edges, 5000) << file;
        // Sky on top, sea below: the top of the picture (last scanline) is bluer than red.
        glm::vec3 top = picture.at(picture.width / 2, picture.height - 2);
        EXPECT_GT(top.b, top.r + 0.2f) << file;
    }
}

// The six faces sampled the way OpenGL samples a cube map, with each face's
// rows in the order the game uploads them (FreeImage's scanline 0 first).
class SkyBox : public testing::Test {
protected:
    void SetUp() override
    {
        const char* files[6] = {"right", "left", "top", "bottom", "back", "front"};
        for (int i = 0; i < 6; ++i) {
            faces_[i] = loadPicture(DataRoot + "Models/Skybox/" + files[i] + ".jpg");
            ASSERT_TRUE(faces_[i].loaded) << files[i];
        }
    }
    // Sample face `face` at the point where `d` pierces its plane, clamped to the face.
    glm::vec3 onFace(int face, glm::vec3 d) const
    {
        float sc, tc, ma;
        switch (face) {
        case 0: sc = -d.z, tc = -d.y, ma = d.x; break;
        case 1: sc = d.z, tc = -d.y, ma = -d.x; break;
        case 2: sc = d.x, tc = d.z, ma = d.y; break;
        case 3: sc = d.x, tc = -d.z, ma = -d.y; break;
        case 4: sc = d.x, tc = -d.y, ma = d.z; break;
        default: sc = -d.x, tc = -d.y, ma = -d.z; break;
        }
        const Picture& p = faces_[face];
        float s = (sc / ma + 1) / 2, t = (tc / ma + 1) / 2;
        int x = std::clamp(static_cast<int>(s * p.width), 0, p.width - 1);
        int y = std::clamp(static_cast<int>(t * p.height), 0, p.height - 1);
        return p.at(x, y);
    }
    glm::vec3 look(glm::vec3 d) const
    {
        glm::vec3 a = glm::abs(d);
        if (a.x >= a.y && a.x >= a.z) return onFace(d.x > 0 ? 0 : 1, d);
        if (a.y >= a.z) return onFace(d.y > 0 ? 2 : 3, d);
        return onFace(d.z > 0 ? 4 : 5, d);
    }
    Picture faces_[6];
};

// The colour the sea and the models fade into, as the shaders hold it.
glm::vec3 shaderSkyColour(const std::string& shader)
{
    std::ifstream in(DataRoot + "Shaders/" + shader);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string key = "const vec3 SKY_COLOR = vec3(";
    const size_t at = text.find(key);
    glm::vec3 c(-1);
    if (at != std::string::npos)
        std::sscanf(text.c_str() + at + key.size(), "%f ,%f ,%f", &c.r, &c.g, &c.b);
    return c;
}

TEST_F(SkyBox, IsBlueOverheadWithHazeAndFarLandOnTheHorizon)
{
    // Overhead, clouds drift over a deep blue sky.
    glm::vec3 overhead(0);
    for (float x = -0.5f; x <= 0.5f; x += 0.05f)
        for (float z = -0.5f; z <= 0.5f; z += 0.05f) overhead += look({x, 1, z}) / 441.0f;
    EXPECT_GT(overhead.b, overhead.r + 0.2f) << "blue overhead";
    // The far sea fades into the haze and the sky rises out of it: the sky
    // just under the horizon must be exactly what the shaders fog to.
    const glm::vec3 haze = shaderSkyColour("Water.frag");
    for (const char* shader : {"Shadow.frag", "Island.frag", "SkyBox.frag", "Particle.vert"})
        EXPECT_LT(glm::length(shaderSkyColour(shader) - haze), 1e-4f) << shader;
    int landed = 0, steps = 0;
    for (float a = 0; a < 6.28f; a += 0.02f, ++steps) {
        glm::vec3 flat(std::cos(a), 0, std::sin(a));
        EXPECT_LT(glm::length(look(flat - glm::vec3(0, 0.05f, 0)) - haze), 0.03f) << "direction angle " << a;
        // Far land stands on the horizon here and there, darker than the haze.
        if (brightness(look(flat + glm::vec3(0, 0.004f, 0))) < brightness(haze) - 0.12f) ++landed;
    }
    EXPECT_GT(landed, steps / 20) << "some land on the horizon";
    EXPECT_LT(landed, steps / 2) << "open sea in most directions";
}

TEST_F(SkyBox, FacesJoinWithoutSeams)
{
    // Walk along all twelve cube edges and compare the two faces that meet there.
    const glm::vec3 corners[8] = {{-1, -1, -1}, {1, -1, -1}, {-1, 1, -1}, {1, 1, -1},
                                  {-1, -1, 1},  {1, -1, 1},  {-1, 1, 1},  {1, 1, 1}};
    int edges = 0;
    for (int i = 0; i < 8; ++i)
        for (int j = i + 1; j < 8; ++j) {
            glm::vec3 diff = corners[j] - corners[i];
            if (glm::length(diff) != 2.0f) continue;
            // The two faces sharing this edge are the axes where both corners agree.
            int shared[2], n = 0;
            for (int axis = 0; axis < 3; ++axis)
                if (corners[i][axis] == corners[j][axis]) shared[n++] = 2 * axis + (corners[i][axis] > 0 ? 0 : 1);
            ASSERT_EQ(n, 2);
            float total = 0;
            const int steps = 64;
            for (int k = 1; k < steps; ++k) {
                glm::vec3 d = corners[i] + diff * (static_cast<float>(k) / steps);
                total += glm::length(onFace(shared[0], d) - onFace(shared[1], d));
            }
            EXPECT_LT(total / (steps - 1), 0.06f) << "faces " << shared[0] << " and " << shared[1];
            ++edges;
        }
    EXPECT_EQ(edges, 12);
}

// Mean colour step between the picture's last and first column (and row),
// relative to the mean step between neighbouring columns inside it.
float wrapStepRatio(const Picture& p)
{
    auto step = [&](int x0, int y0, int x1, int y1) { return glm::length(p.at(x0, y0) - p.at(x1, y1)); };
    float inside = 0, across = 0;
    for (int y = 0; y < p.height; ++y) {
        inside += step(p.width / 2, y, p.width / 2 - 1, y);
        across += step(0, y, p.width - 1, y);
    }
    for (int x = 0; x < p.width; ++x) {
        inside += step(x, p.height / 2, x, p.height / 2 - 1);
        across += step(x, 0, x, p.height - 1);
    }
    return across / std::max(inside, 1e-6f);
}

TEST(TilingPictures, RepeatWithoutVisibleEdges)
{
    for (const char* file : {"Models/Ground/water_dudv.jpg", "Models/Ground/dudv_sand.jpg", "Models/Ground/sand.jpg",
                             "Models/Ground/seabed.jpg", "Models/Ground/water.jpg"}) {
        Picture p = loadPicture(DataRoot + file);
        ASSERT_TRUE(p.loaded) << file;
        EXPECT_LT(wrapStepRatio(p), 1.6f) << file;
    }
}

TEST(TilingPictures, DistortionMapsHoldSmoothNoiseAroundOneHalf)
{
    for (const char* file : {"Models/Ground/water_dudv.jpg", "Models/Ground/dudv_sand.jpg"}) {
        Picture p = loadPicture(DataRoot + file);
        ASSERT_TRUE(p.loaded) << file;
        glm::vec3 mean(0), lo(1), hi(0);
        for (const auto& row : p.rows)
            for (const glm::vec3& c : row) {
                mean += c / static_cast<float>(p.width * p.height);
                lo = glm::min(lo, c);
                hi = glm::max(hi, c);
            }
        EXPECT_NEAR(mean.r, 0.5f, 0.06f) << file;
        EXPECT_NEAR(mean.g, 0.5f, 0.06f) << file;
        EXPECT_LT(mean.b, 0.03f) << file;
        EXPECT_GT(hi.r - lo.r, 0.3f) << file << ": red should vary";
        EXPECT_GT(hi.g - lo.g, 0.3f) << file << ": green should vary";
    }
}

TEST(Font, IsLiberationSansBoldWithEveryPrintableAsciiGlyph)
{
    FT_Library library;
    ASSERT_EQ(FT_Init_FreeType(&library), 0);
    FT_Face face;
    ASSERT_EQ(FT_New_Face(library, (DataRoot + "Models/arial.ttf").c_str(), 0, &face), 0);
    EXPECT_STREQ(face->family_name, "Liberation Sans");
    EXPECT_STREQ(face->style_name, "Bold");
    FT_Set_Pixel_Sizes(face, 0, 48);
    for (unsigned long c = 32; c <= 126; ++c) {
        FT_UInt glyph = FT_Get_Char_Index(face, c);
        EXPECT_NE(glyph, 0u) << "character " << c;
        EXPECT_EQ(FT_Load_Glyph(face, glyph, FT_LOAD_RENDER), 0) << "character " << c;
        if (c > 32) {
            EXPECT_GT(face->glyph->bitmap.rows, 0u) << "character " << c;
        }
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
}

} // namespace
} // namespace SkyhogTest
