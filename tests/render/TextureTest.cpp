// Picture loading: sizes, pixel order, per-variant sampling parameters, the
// echoed paths, the bindings left behind, and files that are missing or junk.
#include "render/TextureLoader.h"
#include "tests/render/RenderTestSupport.h"
#include "tests/support/GlTestContext.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

namespace {

using Skyhog::loadCubeMapFiles;
using Skyhog::loadTextureFile;
using Skyhog::TextureVariant;
using SkyhogTest::readTexImage;
using SkyhogTest::Rgb;
using SkyhogTest::TempTree;
using SkyhogTest::TexImage;

constexpr Rgb Red{255, 0, 0};
constexpr Rgb Green{0, 255, 0};
constexpr Rgb Blue{0, 0, 255};

// A pattern in which every texel of a 37 x 19 picture differs from its neighbours.
Rgb patternAt(int x, int y)
{
    if (x == 0 && y == 0) return Red;    // bottom-left
    if (x == 0 && y == 18) return Green; // top-left
    if (x == 36 && y == 0) return Blue;  // bottom-right
    return {static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 13), static_cast<std::uint8_t>(x + y)};
}

struct Params {
    GLint wrapS = 0, wrapT = 0, wrapR = 0, minFilter = 0, magFilter = 0;
};

Params paramsOf(GLenum target, GLuint texture)
{
    Params p;
    glBindTexture(target, texture);
    glGetTexParameteriv(target, GL_TEXTURE_WRAP_S, &p.wrapS);
    glGetTexParameteriv(target, GL_TEXTURE_WRAP_T, &p.wrapT);
    glGetTexParameteriv(target, GL_TEXTURE_WRAP_R, &p.wrapR);
    glGetTexParameteriv(target, GL_TEXTURE_MIN_FILTER, &p.minFilter);
    glGetTexParameteriv(target, GL_TEXTURE_MAG_FILTER, &p.magFilter);
    glBindTexture(target, 0);
    return p;
}

class TextureTest : public SkyhogTest::GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        Skyhog::clearDecodedImageCache();
        glActiveTexture(GL_TEXTURE0);
        picture = (tree.root() / "pictures" / "odd.png").string();
        SkyhogTest::writePicture(picture, 37, 19, patternAt);
    }
    void TearDown() override
    {
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, 0);
        for (GLuint texture : created) glDeleteTextures(1, &texture);
        Skyhog::clearDecodedImageCache();
        GlTest::TearDown();
    }
    GLuint load(const std::string& path, TextureVariant variant)
    {
        const GLuint texture = loadTextureFile(path, variant);
        created.push_back(texture);
        return texture;
    }

    TempTree tree;
    std::string picture;
    std::vector<GLuint> created;
};

TEST_F(TextureTest, PictureLoadsAtItsOwnSizeBottomRowFirstWithAllTexelsIntact)
{
    const GLuint texture = load(picture, TextureVariant::ModelMaterial);
    ASSERT_NE(texture, 0u);
    const TexImage image = readTexImage(GL_TEXTURE_2D, texture, GL_TEXTURE_2D);
    ASSERT_EQ(image.width, 37);
    ASSERT_EQ(image.height, 19);
    EXPECT_EQ(image.at(0, 0), Red) << "texel (0, 0) is the picture's bottom-left corner";
    EXPECT_EQ(image.at(0, 18), Green);
    EXPECT_EQ(image.at(36, 0), Blue);
    int wrong = 0;
    for (int y = 0; y < 19; ++y)
        for (int x = 0; x < 37; ++x) wrong += image.at(x, y) == patternAt(x, y) ? 0 : 1;
    EXPECT_EQ(wrong, 0) << "odd widths need no row padding";
    for (std::size_t i = 3; i < image.rgba.size(); i += 4) ASSERT_EQ(image.rgba[i], 255) << "opaque alpha";

    GLint internalFormat = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &internalFormat);
    EXPECT_EQ(internalFormat, GL_RGBA8);
    // The full mipmap chain exists: 37x19 -> 18x9 -> ... -> 1x1.
    GLint width = 0, height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_HEIGHT, &height);
    EXPECT_EQ(width, 18);
    EXPECT_EQ(height, 9);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 5, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 1);
    glBindTexture(GL_TEXTURE_2D, 0);

    // Each level averages the 2 x 2 blocks of the one above (the odd last column is dropped).
    const TexImage half = readTexImage(GL_TEXTURE_2D, texture, GL_TEXTURE_2D, 1);
    ASSERT_EQ(half.width, 18);
    int off = 0;
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 18; ++x) {
            const auto channels = [](Rgb c) { return std::array<int, 3>{c.r, c.g, c.b}; };
            std::array<int, 3> sum{};
            for (int dy = 0; dy < 2; ++dy) {
                for (int dx = 0; dx < 2; ++dx) {
                    const auto texel = channels(patternAt(2 * x + dx, 2 * y + dy));
                    for (int c = 0; c < 3; ++c) sum[c] += texel[c];
                }
            }
            const auto got = channels(half.at(x, y));
            for (int c = 0; c < 3; ++c) off += std::abs(got[c] - (sum[c] + 2) / 4) > 1 ? 1 : 0;
        }
    }
    EXPECT_EQ(off, 0);
    const TexImage last = readTexImage(GL_TEXTURE_2D, texture, GL_TEXTURE_2D, 5);
    ASSERT_EQ(last.width, 1);
    ASSERT_EQ(last.height, 1);
    EXPECT_EQ(last.rgba[3], 255) << "alpha stays opaque all the way down";
}

TEST_F(TextureTest, JpegPictureLoadsTooAndEveryCallMakesItsOwnTexture)
{
    const auto jpeg = (tree.root() / "pictures" / "solid.jpg").string();
    SkyhogTest::writeSolidPicture(jpeg, 20, 10, Rgb{200, 40, 90}, FIF_JPEG);
    const GLuint first = load(jpeg, TextureVariant::ModelMaterial);
    const GLuint second = load(jpeg, TextureVariant::ModelMaterial);
    EXPECT_NE(first, second);
    for (GLuint texture : {first, second}) {
        const TexImage image = readTexImage(GL_TEXTURE_2D, texture, GL_TEXTURE_2D);
        ASSERT_EQ(image.width, 20);
        ASSERT_EQ(image.height, 10);
        const Rgb c = image.at(10, 5);
        EXPECT_NEAR(c.r, 200, 6);
        EXPECT_NEAR(c.g, 40, 6);
        EXPECT_NEAR(c.b, 90, 6);
    }
}

TEST_F(TextureTest, EachVariantSetsItsWrapAndFilters)
{
    struct Case {
        TextureVariant variant;
        GLint wrap, minFilter, magFilter;
    };
    const Case cases[] = {
        {TextureVariant::FullScreenPicture, GL_MIRRORED_REPEAT, GL_LINEAR, GL_LINEAR},
        {TextureVariant::ModelMaterial, GL_REPEAT, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR},
        {TextureVariant::Island, GL_REPEAT, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR},
        // The distortion map keeps the OpenGL default filters.
        {TextureVariant::WaterDistortion, GL_REPEAT, GL_NEAREST_MIPMAP_LINEAR, GL_LINEAR},
    };
    testing::internal::CaptureStdout();
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.variant));
        const Params p = paramsOf(GL_TEXTURE_2D, load(picture, c.variant));
        EXPECT_EQ(p.wrapS, c.wrap);
        EXPECT_EQ(p.wrapT, c.wrap);
        EXPECT_EQ(p.minFilter, c.minFilter);
        EXPECT_EQ(p.magFilter, c.magFilter);
    }
    testing::internal::GetCapturedStdout();
}

TEST_F(TextureTest, OnlyTheModelMaterialVariantLoadsSilently)
{
    for (TextureVariant variant :
         {TextureVariant::FullScreenPicture, TextureVariant::Island, TextureVariant::WaterDistortion}) {
        testing::internal::CaptureStdout();
        load(picture, variant);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), picture + "\n") << static_cast<int>(variant);
    }
    testing::internal::CaptureStdout();
    load(picture, TextureVariant::ModelMaterial);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    // A missing picture is echoed the same way and reported no further.
    const std::string missing = (tree.root() / "nowhere" / "missing.jpg").string();
    testing::internal::CaptureStdout();
    load(missing, TextureVariant::FullScreenPicture);
    load(missing, TextureVariant::ModelMaterial);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), missing + "\n");
}

TEST_F(TextureTest, MissingOrUndecodableFilesGiveAnEmptyTextureWithoutErrors)
{
    const std::string missing = (tree.root() / "missing.png").string();
    std::string junk(4096, '\0');
    std::mt19937 random(7);
    for (char& c : junk) c = static_cast<char>(random());
    const std::string junkPath = tree.write("junk.jpg", junk).string();
    // A real PNG cut short after its header.
    std::string truncated;
    {
        std::ifstream whole(picture, std::ios::binary);
        truncated.assign(std::istreambuf_iterator<char>(whole), std::istreambuf_iterator<char>());
        truncated.resize(std::min<std::size_t>(truncated.size(), 60));
    }
    const std::string truncatedPath = tree.write("truncated.png", truncated).string();
    const std::string emptyPath = tree.write("empty.png", "").string();

    testing::internal::CaptureStdout();
    for (const std::string& path : {missing, junkPath, emptyPath}) {
        for (TextureVariant variant : {TextureVariant::ModelMaterial, TextureVariant::WaterDistortion}) {
            SCOPED_TRACE(path);
            const GLuint texture = load(path, variant);
            EXPECT_NE(texture, 0u) << "a texture name is still created";
            const TexImage image = readTexImage(GL_TEXTURE_2D, texture, GL_TEXTURE_2D);
            EXPECT_EQ(image.width, 0);
            EXPECT_EQ(image.height, 0);
            EXPECT_TRUE(SkyhogTest::takeGlErrors().empty());
        }
    }
    // Whatever a decoder makes of a cut-short file, loading it must not fail.
    load(truncatedPath, TextureVariant::ModelMaterial);
    EXPECT_TRUE(SkyhogTest::takeGlErrors().empty());
    testing::internal::GetCapturedStdout();
}

TEST_F(TextureTest, LoadingLeavesTextureZeroBoundOnTheActiveUnit)
{
    GLuint placeholder = 0;
    glGenTextures(1, &placeholder);
    created.push_back(placeholder);
    const std::string missing = (tree.root() / "missing.png").string();
    testing::internal::CaptureStdout();
    for (const std::string& path : {picture, missing}) {
        for (TextureVariant variant : {TextureVariant::FullScreenPicture, TextureVariant::ModelMaterial,
                                       TextureVariant::Island, TextureVariant::WaterDistortion}) {
            SCOPED_TRACE(path + " " + std::to_string(static_cast<int>(variant)));
            glActiveTexture(GL_TEXTURE0);
            glBindTexture(GL_TEXTURE_2D, placeholder); // other units keep their binding
            glActiveTexture(GL_TEXTURE3);
            glBindTexture(GL_TEXTURE_2D, placeholder);
            const GLuint texture = load(path, variant);
            GLint active = 0, bound = 0;
            glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
            glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
            EXPECT_EQ(active, GL_TEXTURE3);
            EXPECT_EQ(bound, 0);
            glActiveTexture(GL_TEXTURE0);
            glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
            EXPECT_EQ(static_cast<GLuint>(bound), placeholder);
            EXPECT_NE(texture, placeholder);
        }
    }
    testing::internal::GetCapturedStdout();
}

class CubeMapTest : public TextureTest {};

TEST_F(CubeMapTest, SixFacesLoadInOrderWithClampedLinearSampling)
{
    const std::array<Rgb, 6> colours = {Red, Green, Blue, Rgb{255, 255, 0}, Rgb{0, 255, 255}, Rgb{255, 0, 255}};
    std::array<std::string, 6> faces;
    for (std::size_t i = 0; i < 6; ++i) {
        faces[i] = (tree.root() / "sky" / ("face" + std::to_string(i) + ".png")).string();
        SkyhogTest::writeSolidPicture(faces[i], 8, 8, colours[i]);
    }
    glActiveTexture(GL_TEXTURE2);
    testing::internal::CaptureStdout();
    const GLuint cube = loadCubeMapFiles(faces);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << "sky box faces are not echoed";
    created.push_back(cube);

    GLint active = 0, bound = -1;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    glGetIntegerv(GL_TEXTURE_BINDING_CUBE_MAP, &bound);
    EXPECT_EQ(active, GL_TEXTURE2);
    EXPECT_EQ(bound, 0);
    glActiveTexture(GL_TEXTURE0);

    const Params p = paramsOf(GL_TEXTURE_CUBE_MAP, cube);
    EXPECT_EQ(p.wrapS, GL_CLAMP_TO_EDGE);
    EXPECT_EQ(p.wrapT, GL_CLAMP_TO_EDGE);
    EXPECT_EQ(p.wrapR, GL_CLAMP_TO_EDGE);
    EXPECT_EQ(p.minFilter, GL_LINEAR);
    EXPECT_EQ(p.magFilter, GL_LINEAR);
    for (std::size_t i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        const auto target = static_cast<GLenum>(GL_TEXTURE_CUBE_MAP_POSITIVE_X + i);
        const TexImage image = readTexImage(GL_TEXTURE_CUBE_MAP, cube, target);
        ASSERT_EQ(image.width, 8);
        ASSERT_EQ(image.height, 8);
        EXPECT_EQ(image.at(3, 3), colours[i]);
    }
}

TEST_F(CubeMapTest, MissingFaceLeavesThatFaceEmptyWithoutErrors)
{
    std::array<std::string, 6> faces;
    for (std::size_t i = 0; i < 6; ++i) {
        faces[i] = (tree.root() / ("face" + std::to_string(i) + ".png")).string();
        if (i != 4) SkyhogTest::writeSolidPicture(faces[i], 4, 4, Blue);
    }
    const GLuint cube = loadCubeMapFiles(faces);
    created.push_back(cube);
    EXPECT_TRUE(SkyhogTest::takeGlErrors().empty());
    EXPECT_EQ(readTexImage(GL_TEXTURE_CUBE_MAP, cube, GL_TEXTURE_CUBE_MAP_POSITIVE_Z).width, 0);
    EXPECT_EQ(readTexImage(GL_TEXTURE_CUBE_MAP, cube, GL_TEXTURE_CUBE_MAP_NEGATIVE_Z).width, 4);
    EXPECT_EQ(paramsOf(GL_TEXTURE_CUBE_MAP, cube).wrapR, GL_CLAMP_TO_EDGE);
}

} // namespace
