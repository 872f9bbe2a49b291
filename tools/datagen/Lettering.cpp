#include "Lettering.h"

#include "Image.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <stdexcept>

namespace datagen {

struct Lettering::Impl {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

Lettering::Lettering(const std::string& fontPath) : impl_(new Impl)
{
    if (FT_Init_FreeType(&impl_->library) || FT_New_Face(impl_->library, fontPath.c_str(), 0, &impl_->face)) {
        if (impl_->library) FT_Done_FreeType(impl_->library);
        delete impl_;
        throw std::runtime_error("cannot open font " + fontPath);
    }
    setSize(32);
}

Lettering::~Lettering()
{
    FT_Done_Face(impl_->face);
    FT_Done_FreeType(impl_->library);
    delete impl_;
}

namespace {

// Horizontal kerning between two glyphs in 26.6 units; 0 without a pair.
long kerning(FT_Face face, FT_UInt previous, FT_UInt glyph)
{
    if (!previous || !glyph || !FT_HAS_KERNING(face)) return 0;
    FT_Vector kern;
    FT_Get_Kerning(face, previous, glyph, FT_KERNING_DEFAULT, &kern);
    return kern.x;
}

} // namespace

void Lettering::setSize(int pixels)
{
    FT_Set_Pixel_Sizes(impl_->face, 0, static_cast<FT_UInt>(pixels));
}

int Lettering::measure(const std::string& text)
{
    FT_Face face = impl_->face;
    long pen = 0;
    FT_UInt previous = 0;
    for (unsigned char ch : text) {
        FT_UInt glyph = FT_Get_Char_Index(face, ch);
        pen += kerning(face, previous, glyph);
        if (FT_Load_Glyph(face, glyph, FT_LOAD_DEFAULT) == 0) pen += face->glyph->advance.x;
        previous = glyph;
    }
    return static_cast<int>(pen >> 6);
}

void Lettering::draw(Image& image, glm::vec2 origin, const std::string& text, glm::vec3 colour, float alpha)
{
    FT_Face face = impl_->face;
    long pen = static_cast<long>(std::lround(origin.x * 64));
    int baseline = static_cast<int>(std::lround(origin.y));
    FT_UInt previous = 0;
    for (unsigned char ch : text) {
        FT_UInt glyph = FT_Get_Char_Index(face, ch);
        pen += kerning(face, previous, glyph);
        previous = glyph;
        if (FT_Load_Glyph(face, glyph, FT_LOAD_RENDER)) continue;
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bm = slot->bitmap;
        int left = static_cast<int>(pen >> 6) + slot->bitmap_left;
        int top = baseline - slot->bitmap_top;
        for (unsigned row = 0; row < bm.rows; ++row)
            for (unsigned col = 0; col < bm.width; ++col) {
                float cover = bm.buffer[row * bm.pitch + col] / 255.0f;
                image.blend(left + static_cast<int>(col), top + static_cast<int>(row), colour, cover * alpha);
            }
        pen += slot->advance.x;
    }
}

void Lettering::drawShadowed(Image& image, glm::vec2 origin, const std::string& text, glm::vec3 colour,
                             glm::vec3 shadow)
{
    // A few offset copies make a blurred drop shadow.
    const float reach = 2.0f;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            draw(image, origin + glm::vec2(reach + dx * reach * 0.7f, reach + dy * reach * 0.7f), text, shadow, 0.22f);
    draw(image, origin, text, colour);
}

} // namespace datagen
