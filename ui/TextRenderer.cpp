#include "ui/TextRenderer.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <glm/gtc/matrix_transform.hpp>

#include <iostream>
#include <utility>

namespace Skyhog::Ui {
namespace {

constexpr FT_UInt PixelHeight = 48;
constexpr int LoadedCodes = 128;
constexpr GLsizeiptr QuadBytes = 6 * 4 * sizeof(float);

// Owns the FreeType library and face for the length of one font load, so both
// are released on every path, face first.
class FontSession {
public:
    FontSession() = default;
    ~FontSession()
    {
        if (face != nullptr) FT_Done_Face(face);
        if (library != nullptr) FT_Done_FreeType(library);
    }
    FontSession(const FontSession&) = delete;
    FontSession& operator=(const FontSession&) = delete;

    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

} // namespace

TextRenderer::TextRenderer(ShaderProgram* shader, const std::string& fontPath)
    : shader_(shader), projection_(glm::ortho(0.0f, 800.0f, 0.0f, 600.0f, -1.0f, 1.0f))
{
    loadGlyphs(fontPath);
    createQuad();
}

void TextRenderer::loadGlyphs(const std::string& fontPath)
{
    FontSession font;
    if (FT_Init_FreeType(&font.library) != 0) {
        font.library = nullptr;
        std::cout << "ERROR::FREETYPE: Could not init FreeType Library" << '\n';
    }

    const FT_Error faceError = font.library != nullptr ? FT_New_Face(font.library, fontPath.c_str(), 0, &font.face)
                                                       : FT_Err_Invalid_Library_Handle;
    if (faceError != 0) {
        font.face = nullptr;
        std::cout << faceError << '\n' << "ERROR::FREETYPE: Failed to load font" << '\n';
        if (faceError == FT_Err_Unknown_File_Format) std::cout << "ERROR::FREETYPE: wrong file format" << '\n';
    }
    if (font.face != nullptr) FT_Set_Pixel_Sizes(font.face, 0, PixelHeight);

    // Glyph rows are tightly packed bytes; the setting stays for the whole run.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);

    for (int code = 0; code < LoadedCodes; ++code) {
        const FT_Error glyphError = font.face != nullptr
            ? FT_Load_Char(font.face, static_cast<FT_ULong>(code), FT_LOAD_RENDER)
            : FT_Err_Invalid_Face_Handle;
        if (glyphError != 0) {
            std::cout << "ERROR::FREETYTPE: Failed to load Glyph" << '\n';
            continue;
        }
        const FT_GlyphSlot slot = font.face->glyph;

        Glyph glyph;
        glyph.texture = GlTexture::generate();
        glBindTexture(GL_TEXTURE_2D, glyph.texture.get());
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RED, static_cast<GLsizei>(slot->bitmap.width),
                     static_cast<GLsizei>(slot->bitmap.rows), 0, GL_RED, GL_UNSIGNED_BYTE, slot->bitmap.buffer);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);

        glyph.size = glm::ivec2(static_cast<int>(slot->bitmap.width), static_cast<int>(slot->bitmap.rows));
        glyph.bearing = glm::ivec2(slot->bitmap_left, slot->bitmap_top);
        glyph.advance = static_cast<unsigned>(slot->advance.x);
        glyphs_.emplace(static_cast<signed char>(code), std::move(glyph));
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    // FontSession releases the face and then the library here.
}

void TextRenderer::createQuad()
{
    vertexArray_ = GlVertexArray::generate();
    vertexBuffer_ = GlBuffer::generate();
    glBindVertexArray(vertexArray_.get());
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_.get());
    glBufferData(GL_ARRAY_BUFFER, QuadBytes, nullptr, GL_DYNAMIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, 4 * sizeof(float), nullptr);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindVertexArray(0);
}

float TextRenderer::width(const std::string& text, float scale) const
{
    float advance = 0.0f;
    for (const char byte : text) {
        const auto found = glyphs_.find(static_cast<signed char>(byte));
        if (found != glyphs_.end()) advance += static_cast<float>(found->second.advance >> 6) * scale;
    }
    return advance;
}

void TextRenderer::drawText(const std::string& text, float x, float y, float scale, glm::vec3 colour, float opacity)
{
    if (shader_ == nullptr) return;
    shader_->use();
    shader_->setVec3("textColor", colour);
    shader_->setFloat("textOpacity", opacity);
    shader_->setMat4("projection", projection_);
    glActiveTexture(GL_TEXTURE0);
    glBindVertexArray(vertexArray_.get());

    // A byte without a glyph (codes 128..255, failed loads) is an empty quad
    // that does not move the pen; it is not added to the cache.
    static const Glyph NoGlyph{};
    for (const char byte : text) {
        const auto found = glyphs_.find(static_cast<signed char>(byte));
        const Glyph& glyph = found != glyphs_.end() ? found->second : NoGlyph;

        const float xpos = x + static_cast<float>(glyph.bearing.x) * scale;
        const float ypos = y - static_cast<float>(glyph.size.y - glyph.bearing.y) * scale;
        const float w = static_cast<float>(glyph.size.x) * scale;
        const float h = static_cast<float>(glyph.size.y) * scale;
        const float vertices[6][4] = {
            {xpos, ypos + h, 0.0f, 0.0f}, {xpos, ypos, 0.0f, 1.0f},     {xpos + w, ypos, 1.0f, 1.0f},
            {xpos, ypos + h, 0.0f, 0.0f}, {xpos + w, ypos, 1.0f, 1.0f}, {xpos + w, ypos + h, 1.0f, 0.0f},
        };
        static_assert(sizeof(vertices) == QuadBytes);

        glBindTexture(GL_TEXTURE_2D, glyph.texture.get());
        glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_.get());
        glBufferSubData(GL_ARRAY_BUFFER, 0, QuadBytes, vertices);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glDrawArrays(GL_TRIANGLES, 0, 6);

        // Whole pixels only: the 1/64 fraction is dropped before scaling.
        x += static_cast<float>(glyph.advance >> 6) * scale;
    }
    glBindVertexArray(0);
    glBindTexture(GL_TEXTURE_2D, 0);
}

} // namespace Skyhog::Ui
