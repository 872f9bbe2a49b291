#include "tests/scene/SceneTest.h"

#include "render/Model.h"
#include "render/TextureLoader.h"

#include <FreeImage.h>

#include <cstdlib>

namespace SkyhogTest {

void SceneTest::SetUp()
{
    GlTest::SetUp();
    // Every test writes its own files under the same relative paths.
    Skyhog::clearDecodedImageCache();
    Skyhog::Scene::Model::clearFileCache();
    tree_.enterWorkDir();
}

void SceneTest::writePicture(const std::string& relative, Rgb color) const
{
    const auto path = tree_.write("Skyhog/" + relative, "");
    FIBITMAP* bitmap = FreeImage_Allocate(4, 4, 24);
    RGBQUAD value{};
    value.rgbRed = static_cast<BYTE>(color.r);
    value.rgbGreen = static_cast<BYTE>(color.g);
    value.rgbBlue = static_cast<BYTE>(color.b);
    for (unsigned y = 0; y < 4; ++y) {
        for (unsigned x = 0; x < 4; ++x) FreeImage_SetPixelColor(bitmap, x, y, &value);
    }
    const bool saved = FreeImage_Save(FIF_PNG, bitmap, path.c_str(), 0);
    FreeImage_Unload(bitmap);
    ASSERT_TRUE(saved) << path;
}

void SceneTest::writeSquareModel(const std::string& relative, const std::string& texture,
                                 const std::string& specular) const
{
    std::string obj;
    if (!texture.empty()) {
        const std::string material = relative.substr(0, relative.rfind('.')) + ".mtl";
        tree_.write("Skyhog/" + material,
                    "newmtl surface\nmap_Kd " + texture + "\n" + (specular.empty() ? "" : "map_Ks " + specular + "\n"));
        obj += "mtllib " + material.substr(material.rfind('/') + 1) + "\n";
    }
    obj += "v -1 -1 0\nv 1 -1 0\nv 1 1 0\nv -1 1 0\n"
           "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
           "vn 0 0 1\n";
    if (!texture.empty()) obj += "usemtl surface\n";
    obj += "f 1/1/1 2/2/1 3/3/1\nf 1/1/1 3/3/1 4/4/1\n";
    tree_.write("Skyhog/" + relative, obj);
}

Rgb SceneTest::pixel(int x, int y)
{
    const Pixels pixels = readPixels(x, y, 1, 1);
    return {pixels.at(0, 0)[0], pixels.at(0, 0)[1], pixels.at(0, 0)[2]};
}

GLuint SceneTest::boundTexture(int unit)
{
    const GLint previous = activeUnit();
    glActiveTexture(static_cast<GLenum>(GL_TEXTURE0 + unit));
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glActiveTexture(static_cast<GLenum>(previous));
    return static_cast<GLuint>(bound);
}

GLint SceneTest::activeUnit()
{
    GLint unit = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    return unit;
}

::testing::AssertionResult near(const Rgb& actual, const Rgb& expected, int tolerance)
{
    if (std::abs(actual.r - expected.r) > tolerance || std::abs(actual.g - expected.g) > tolerance ||
        std::abs(actual.b - expected.b) > tolerance) {
        return ::testing::AssertionFailure()
            << "got (" << actual.r << ", " << actual.g << ", " << actual.b << "), expected (" << expected.r << ", "
            << expected.g << ", " << expected.b << ")";
    }
    return ::testing::AssertionSuccess();
}

} // namespace SkyhogTest
