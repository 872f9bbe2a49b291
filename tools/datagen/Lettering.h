// Draws text into a picture with FreeType.
#pragma once
#include <string>

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

namespace datagen {

class Image;

class Lettering {
public:
    explicit Lettering(const std::string& fontPath);
    ~Lettering();
    Lettering(const Lettering&) = delete;
    Lettering& operator=(const Lettering&) = delete;

    void setSize(int pixels);
    // Advance width of `text` in pixels at the current size.
    int measure(const std::string& text);
    // Draws `text` with its baseline starting at `origin` (pixels, y down).
    void draw(Image& image, glm::vec2 origin, const std::string& text, glm::vec3 colour, float alpha = 1);
    // The same with a soft dark shadow behind it, which keeps text legible on skies.
    void drawShadowed(Image& image, glm::vec2 origin, const std::string& text, glm::vec3 colour,
                      glm::vec3 shadow = glm::vec3(0.02f, 0.08f, 0.2f));

private:
    struct Impl;
    Impl* impl_;
};

} // namespace datagen
