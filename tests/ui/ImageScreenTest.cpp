// Image screens: the picture fills the target upright, construction echoes
// the picture paths, and draw() leaves the texture state it promises.
#include "ui/ImageScreen.h"

#include "render/ShaderProgram.h"
#include "render/TextureLoader.h"
#include "tests/support/GlTestContext.h"
#include "tests/support/Rgb.h"
#include "tests/support/TempTree.h"
#include "tests/support/TestShaders.h"

#include <FreeImage.h>

#include <memory>
#include <string>

namespace {

using Skyhog::ShaderProgram;
using Skyhog::Ui::ImageScreen;
using SkyhogTest::Rgb;

constexpr int Width = 1024;
constexpr int Height = 768;
const std::string IntroPath = "../../Skyhog/Models/intro.jpg";
const std::string WinPath = "../../Skyhog/Models/outro_win.jpg";

// Quadrants of the test picture as the viewer sees them.
constexpr Rgb TopLeft{255, 0, 0}, TopRight{0, 255, 0}, BottomLeft{0, 0, 255}, BottomRight{255, 255, 255};

// Writes a 64 x 64 picture in four coloured quadrants to path (PNG content;
// FreeImage tells formats by their bytes, not by the name).
void writeQuadrantPicture(const std::string& path)
{
    constexpr unsigned Size = 64;
    FIBITMAP* bitmap = FreeImage_Allocate(Size, Size, 24);
    ASSERT_NE(bitmap, nullptr);
    for (unsigned y = 0; y < Size; ++y) { // FreeImage rows run bottom up
        for (unsigned x = 0; x < Size; ++x) {
            const bool top = y >= Size / 2;
            const bool left = x < Size / 2;
            const Rgb colour = top ? (left ? TopLeft : TopRight) : (left ? BottomLeft : BottomRight);
            RGBQUAD pixel{static_cast<BYTE>(colour.b), static_cast<BYTE>(colour.g), static_cast<BYTE>(colour.r), 0};
            FreeImage_SetPixelColor(bitmap, x, y, &pixel);
        }
    }
    const bool saved = FreeImage_Save(FIF_PNG, bitmap, path.c_str(), 0);
    FreeImage_Unload(bitmap);
    ASSERT_TRUE(saved);
}

void expectColour(const SkyhogTest::Pixels& pixels, int x, int y, Rgb expected)
{
    const std::uint8_t* got = pixels.at(x, y);
    EXPECT_NEAR(got[0], expected.r, 2) << "at " << x << "," << y;
    EXPECT_NEAR(got[1], expected.g, 2) << "at " << x << "," << y;
    EXPECT_NEAR(got[2], expected.b, 2) << "at " << x << "," << y;
}

class ImageScreenTest : public SkyhogTest::GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        // Decoded pictures are cached by path, and every test uses the same paths.
        Skyhog::clearDecodedImageCache();
        tree_.enterWorkDir();
        program_ = SkyhogTest::makeProgram(
            tree_, "Skyhog/Shaders/Intro", SkyhogTest::QuadVertexShader,
            SkyhogTest::fragmentShader("texture(screenTexture, uv)", "uniform sampler2D screenTexture;"));
        target_ = std::make_unique<SkyhogTest::OffscreenTarget>(Width, Height);
    }

    void TearDown() override
    {
        target_.reset();
        program_.reset();
        Skyhog::clearDecodedImageCache();
        GlTest::TearDown();
    }

    void writePictures()
    {
        const auto models = tree_.root() / "Skyhog" / "Models";
        std::filesystem::create_directories(models);
        writeQuadrantPicture((models / "intro.jpg").string());
        std::filesystem::copy_file(models / "intro.jpg", models / "outro_win.jpg");
    }

    // Clears the target to magenta, draws the screen and reads the target back.
    SkyhogTest::Pixels render(const ImageScreen& screen)
    {
        target_->bind();
        glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        screen.draw();
        return SkyhogTest::readPixels(0, 0, Width, Height);
    }

    SkyhogTest::TempTree tree_;
    std::unique_ptr<ShaderProgram> program_;
    std::unique_ptr<SkyhogTest::OffscreenTarget> target_;
};

TEST_F(ImageScreenTest, PictureFillsTheTargetUprightAndLeavesUnitZeroActive)
{
    writePictures();
    testing::internal::CaptureStdout();
    ImageScreen screen(program_.get(), IntroPath);
    testing::internal::GetCapturedStdout();

    glActiveTexture(GL_TEXTURE3);
    const auto pixels = render(screen);
    GLint active = 0, vertexArray = -1, texture = -1;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &vertexArray);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
    glActiveTexture(GL_TEXTURE0);
    EXPECT_EQ(active, GL_TEXTURE0);
    EXPECT_EQ(vertexArray, 0);
    EXPECT_EQ(texture, 0);

    // Quadrant centres: the picture's top-left shows at the target's top-left.
    expectColour(pixels, Width / 4, 3 * Height / 4, TopLeft);
    expectColour(pixels, 3 * Width / 4, 3 * Height / 4, TopRight);
    expectColour(pixels, Width / 4, Height / 4, BottomLeft);
    expectColour(pixels, 3 * Width / 4, Height / 4, BottomRight);
    // The corners are covered too: the non-square target is filled, not letterboxed.
    expectColour(pixels, 0, Height - 1, TopLeft);
    expectColour(pixels, Width - 1, Height - 1, TopRight);
    expectColour(pixels, 0, 0, BottomLeft);
    expectColour(pixels, Width - 1, 0, BottomRight);
}

TEST_F(ImageScreenTest, ConstructionEchoesEachPicturePathInOrder)
{
    writePictures();
    testing::internal::CaptureStdout();
    {
        ImageScreen intro(program_.get(), IntroPath);
        ImageScreen win(program_.get(), WinPath);
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), IntroPath + "\n" + WinPath + "\n");
}

TEST_F(ImageScreenTest, MissingPictureDrawsAnUntexturedQuad)
{
    testing::internal::CaptureStdout();
    ImageScreen screen(program_.get(), IntroPath);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), IntroPath + "\n");

    // An incomplete texture samples as opaque black over the whole target.
    const auto pixels = render(screen);
    expectColour(pixels, Width / 2, Height / 2, Rgb{0, 0, 0});
    expectColour(pixels, 0, 0, Rgb{0, 0, 0});
}

} // namespace
