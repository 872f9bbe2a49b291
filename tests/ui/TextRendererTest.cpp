// Text renderer: layout in the 800 x 600 text space on a 1024 x 768 target,
// glyph cache behaviour and font failures, with a real TrueType font.
#include "ui/TextRenderer.h"

#include "render/ShaderProgram.h"
#include "tests/support/GlTestContext.h"
#include "tests/support/TempTree.h"
#include "tests/support/TestShaders.h"

#include <algorithm>
#include <memory>
#include <random>
#include <string>

namespace {

using Skyhog::ShaderProgram;
using Skyhog::Ui::TextRenderer;

const char* const SystemFont = "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf";
const std::string FontPath = "../../Skyhog/Models/arial.ttf";
const std::string GlyphError = "ERROR::FREETYTPE: Failed to load Glyph\n";
constexpr int Width = 1024;
constexpr int Height = 768;
const glm::vec3 Orange(1.0f, 0.7f, 0.3f);

const char* const TextVertex = R"(#version 330 core
layout (location = 0) in vec4 vertex;
out vec2 uv;
uniform mat4 projection;
void main() { gl_Position = projection * vec4(vertex.xy, 0.0, 1.0); uv = vertex.zw; }
)";

// Pixels of a render whose red channel shows ink, and their bounding box.
struct Ink {
    int count = 0;
    int left = Width, right = -1, bottom = Height, top = -1;
    int brightest = 0; // index into the pixels of the strongest red
};

Ink findInk(const SkyhogTest::Pixels& pixels)
{
    Ink ink;
    int strongest = -1;
    for (int y = 0; y < pixels.height; ++y) {
        for (int x = 0; x < pixels.width; ++x) {
            const int red = pixels.at(x, y)[0];
            if (red < 64) continue;
            ++ink.count;
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
            ink.bottom = std::min(ink.bottom, y);
            ink.top = std::max(ink.top, y);
            if (red > strongest) {
                strongest = red;
                ink.brightest = y * pixels.width + x;
            }
        }
    }
    return ink;
}

class TextRendererTest : public SkyhogTest::GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        tree_.enterWorkDir();
        shader_ =
            SkyhogTest::makeProgram(tree_, "Skyhog/Shaders/Text", TextVertex,
                                    SkyhogTest::fragmentShader("vec4(textColor, texture(glyph, uv).r)",
                                                               "uniform sampler2D glyph;\nuniform vec3 textColor;"));
        target_ = std::make_unique<SkyhogTest::OffscreenTarget>(Width, Height);
    }

    void TearDown() override
    {
        target_.reset();
        shader_.reset();
        GlTest::TearDown();
    }

    void installFont() { tree_.copy(SystemFont, "Skyhog/Models/arial.ttf"); }

    // Clears the target, draws text once and reads the whole target back.
    SkyhogTest::Pixels render(TextRenderer& renderer, const std::string& text, float x = 50.0f, float y = 50.0f,
                              float scale = 0.7f)
    {
        target_->bind();
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        renderer.drawText(text, x, y, scale, Orange);
        return SkyhogTest::readPixels(0, 0, Width, Height);
    }

    SkyhogTest::TempTree tree_;
    std::unique_ptr<ShaderProgram> shader_;
    std::unique_ptr<SkyhogTest::OffscreenTarget> target_;
};

TEST_F(TextRendererTest, ScoreLineSitsInTheLowerLeftScaledFromTextSpace)
{
    installFont();
    testing::internal::CaptureStdout();
    TextRenderer renderer(shader_.get(), FontPath);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(renderer.glyphCount(), 128u);

    const auto pixels = render(renderer, "Points: 10");
    const Ink ink = findInk(pixels);
    ASSERT_GT(ink.count, 500);
    // Pen at (50, 50) in text space is (64, 64) in pixels; "P" starts a little
    // right of the pen and nothing in the line hangs below the baseline.
    EXPECT_GE(ink.left, 66);
    EXPECT_LE(ink.left, 69);
    EXPECT_GE(ink.bottom, 62);
    EXPECT_LE(ink.bottom, 65);
    // Cap height of 48 px glyphs at 0.7, stretched by 768 / 600: about 31 px.
    EXPECT_GE(ink.top - ink.bottom, 25);
    EXPECT_LE(ink.top - ink.bottom, 40);
    // Ten characters at about 22 px each at this scale, times 1024 / 800.
    EXPECT_GT(ink.right - ink.left, 150);
    EXPECT_LT(ink.right - ink.left, 260);

    const std::uint8_t* strongest = &pixels.rgba[static_cast<std::size_t>(ink.brightest) * 4];
    EXPECT_NEAR(strongest[0], 255, 3);
    EXPECT_NEAR(strongest[1], 178, 4);
    EXPECT_NEAR(strongest[2], 76, 4);

    // The draw leaves unit 0 active with nothing bound.
    GLint active = 0, vertexArray = -1, texture = -1;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &vertexArray);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
    EXPECT_EQ(active, GL_TEXTURE0);
    EXPECT_EQ(vertexArray, 0);
    EXPECT_EQ(texture, 0);
}

TEST_F(TextRendererTest, GlyphsAreUprightAndTextOutsideTheTextSpaceIsInvisible)
{
    installFont();
    TextRenderer renderer(shader_.get(), FontPath);

    // Ink extent [first, last] of one pixel row.
    struct Row {
        int first = Width, last = -1;
        int width() const { return last - first + 1; }
    };
    auto row = [](const SkyhogTest::Pixels& pixels, int y) {
        Row r;
        for (int x = 0; x < pixels.width; ++x) {
            if (pixels.at(x, y)[0] < 64) continue;
            r.first = std::min(r.first, x);
            r.last = std::max(r.last, x);
        }
        return r;
    };

    // "T": the bar spans the glyph at the top; the stem is narrow and centred.
    const auto t = render(renderer, "T", 300.0f, 300.0f, 1.0f);
    const Ink tInk = findInk(t);
    ASSERT_GT(tInk.count, 100);
    EXPECT_GE(row(t, tInk.top - 1).width(), tInk.right - tInk.left - 1);
    const Row stem = row(t, tInk.bottom + 1);
    EXPECT_LT(stem.width(), (tInk.right - tInk.left) / 3);
    EXPECT_NEAR(stem.first + stem.last, tInk.left + tInk.right, 3);

    // "L": the foot spans the glyph at the bottom; the stem stays at the left.
    const auto l = render(renderer, "L", 300.0f, 300.0f, 1.0f);
    const Ink lInk = findInk(l);
    ASSERT_GT(lInk.count, 100);
    EXPECT_GE(row(l, lInk.bottom + 1).width(), lInk.right - lInk.left - 1);
    const Row upright = row(l, lInk.top - 1);
    EXPECT_EQ(upright.first, lInk.left);
    EXPECT_LT(upright.width(), (lInk.right - lInk.left) / 3);

    // The frame-rate call writes above the top edge of the text space.
    EXPECT_EQ(findInk(render(renderer, "1234567890", 550.0f, 770.0f, 0.5f)).count, 0);
}

TEST_F(TextRendererTest, PenAdvancesOnlyForCachedGlyphsAndTheCacheNeverGrows)
{
    installFont();
    TextRenderer renderer(shader_.get(), FontPath);

    const auto plain = render(renderer, "AB");
    // High bytes have no glyph: nothing drawn, the pen does not move.
    EXPECT_EQ(render(renderer,
                     "A\x80\xff"
                     "B")
                  .rgba,
              plain.rgba);
    EXPECT_EQ(findInk(render(renderer, "\x80\x90\xa0\xb0\xc0\xd0\xe0\xf0\xff")).count, 0);
    EXPECT_EQ(renderer.glyphCount(), 128u);

    // A space has an empty bitmap but still moves the pen.
    const Ink alone = findInk(render(renderer, "A"));
    const Ink spaced = findInk(render(renderer, "  A"));
    EXPECT_GT(spaced.left, alone.left + 10);
    EXPECT_NEAR(spaced.right - spaced.left, alone.right - alone.left, 2);

    // Drawing is repeatable.
    EXPECT_EQ(render(renderer, "AB").rgba, plain.rgba);
    EXPECT_EQ(renderer.glyphCount(), 128u);
}

TEST_F(TextRendererTest, MissingFontReportsAndDrawsNothing)
{
    testing::internal::CaptureStdout();
    TextRenderer renderer(shader_.get(), FontPath);
    std::string expected = "1\nERROR::FREETYPE: Failed to load font\n";
    for (int i = 0; i < 128; ++i) expected += GlyphError;
    EXPECT_EQ(testing::internal::GetCapturedStdout(), expected);

    EXPECT_EQ(renderer.glyphCount(), 0u);
    EXPECT_EQ(findInk(render(renderer, "Points: 10")).count, 0);
    EXPECT_EQ(renderer.glyphCount(), 0u);
}

TEST_F(TextRendererTest, CorruptFontIsReportedAsWrongFormat)
{
    std::mt19937 random(7);
    std::string noise(4096, '\0');
    for (char& byte : noise) byte = static_cast<char>(random());
    tree_.write("Skyhog/Models/arial.ttf", noise);

    testing::internal::CaptureStdout();
    TextRenderer renderer(shader_.get(), FontPath);
    const std::string output = testing::internal::GetCapturedStdout();
    const std::string head = "2\nERROR::FREETYPE: Failed to load font\nERROR::FREETYPE: wrong file format\n";
    EXPECT_EQ(output.substr(0, head.size()), head);
    EXPECT_EQ(output.size(), head.size() + 128 * GlyphError.size());

    EXPECT_EQ(findInk(render(renderer, "AB")).count, 0);
}

} // namespace
