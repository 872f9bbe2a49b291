// Single-line HUD text (score and frame rate) drawn over the scene.
//
// The constructor rasterises character codes 0..127 of a TrueType font at a
// pixel height of 48 into one single-channel texture per glyph; FreeType is
// used only inside the constructor. Text is laid out in a fixed 800 x 600 text
// space (y up) that is stretched over the whole viewport. The "Text" program
// takes the quad as a vec4 (x, y, u, v) at attribute 0, the uniforms
// "projection", "textColor" and "textOpacity", and samples the glyph from
// texture unit 0.
// Blending is expected to be enabled by the caller.
//
// Font problems are reported on standard output and never stop the program:
// a renderer without glyphs simply draws nothing. Needs a current context.
#pragma once
#include "render/GlHandle.h"
#include "render/ShaderProgram.h"

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

#include <cstddef>
#include <map>
#include <string>

namespace Skyhog::Ui {

class TextRenderer {
public:
    // Loads the font's first 128 glyphs and builds the shared quad buffer.
    TextRenderer(ShaderProgram* shader, const std::string& fontPath);

    TextRenderer(const TextRenderer&) = delete;
    TextRenderer& operator=(const TextRenderer&) = delete;

    // Draws the bytes of text starting with the pen at (x, y) on the baseline,
    // in text-space units, every glyph metric multiplied by scale. opacity
    // (0..1) fades the whole text, rim included ("textOpacity" in the program).
    void drawText(const std::string& text, float x, float y, float scale, glm::vec3 colour, float opacity = 1.0f);
    // How far drawText would move the pen over text, in text-space units.
    float width(const std::string& text, float scale) const;

    // Number of cached glyphs (128 with a complete font, 0 without one).
    std::size_t glyphCount() const { return glyphs_.size(); }

private:
    // One rasterised character.
    struct Glyph {
        GlTexture texture;     // GL_RED bitmap, top row first; 0 x 0 when empty
        glm::ivec2 size{0};    // bitmap width and rows, in pixels
        glm::ivec2 bearing{0}; // pen to left edge, baseline to top row
        unsigned advance = 0;  // horizontal advance in 1/64 pixel
    };

    void loadGlyphs(const std::string& fontPath);
    void createQuad();

    ShaderProgram* shader_ = nullptr;
    std::map<signed char, Glyph> glyphs_;
    GlVertexArray vertexArray_;
    GlBuffer vertexBuffer_;
    glm::mat4 projection_{1.0f};
};

} // namespace Skyhog::Ui
