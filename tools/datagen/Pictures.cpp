#include "Pictures.h"

#include "Image.h"
#include "Lettering.h"
#include "Paint.h"

#include <cmath>
#include <utility>
#include <vector>

namespace datagen {
namespace {

constexpr float Pi = 3.14159265f;
constexpr int Width = 1024, Height = 768;

void paintSkyAndSea(Image& img, float horizon, glm::vec3 top, glm::vec3 haze)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            glm::vec3 c;
            if (y < horizon) {
                float t = y / horizon;
                c = mixColour(top, haze, std::pow(t, 1.6f));
                float n = fbm2(x / 260.0f, y / 70.0f, 301u, 5);
                float cover =
                    smoothstep(0.08f, 0.45f, n) * smoothstep(0.1f, 0.45f, t) * (1 - smoothstep(0.85f, 1.0f, t));
                c = mixColour(c, rgb(252, 252, 255), 0.85f * cover);
            } else {
                float t = (y - horizon) / (img.height() - horizon);
                c = mixColour(rgb(92, 160, 188), rgb(14, 70, 110), std::pow(t, 0.7f));
                // Glints on the swell, squeezed together towards the horizon.
                float depth = std::pow(t, 0.6f) * 60;
                float wave = std::sin(depth * 6 + 2.5f * fbm2(x / 90.0f, depth, 302u, 3));
                c = mixColour(c, rgb(200, 230, 240), 0.25f * smoothstep(0.85f, 1.0f, wave) * (1 - 0.6f * t));
            }
            img.at(x, y) = c;
        }
}

// A cartoon flying pig facing right, centred at `c`, about 320 * scale wide.
void drawPig(Image& img, glm::vec2 c, float scale)
{
    auto P = [&](float x, float y) { return c + scale * glm::vec2(x, y); };
    const glm::vec3 pink = rgb(248, 172, 186), darkPink = rgb(214, 110, 136), outline = rgb(170, 70, 100);
    const glm::vec3 feather = rgb(252, 252, 255), featherLine = rgb(170, 180, 205);
    // A wing is a fan of long feathers sweeping up and back from the shoulder.
    auto wing = [&](glm::vec2 shoulder, float size, glm::vec3 fill, glm::vec3 line) {
        for (int i = 0; i < 6; ++i) {
            float angle = -2.75f + 0.2f * i, length = size * (150 - 14 * i);
            glm::vec2 dir(std::cos(angle), std::sin(angle));
            glm::vec2 middle = shoulder + dir * (0.5f * length);
            img.fillEllipse(middle, glm::vec2(0.5f * length + 3 * scale, 17 * size + 3 * scale), angle, line);
            img.fillEllipse(middle, glm::vec2(0.5f * length, 17 * size), angle, fill);
        }
        img.fillEllipse(shoulder + size * glm::vec2(-30, -18), size * glm::vec2(48, 26), -0.4f, line);
        img.fillEllipse(shoulder + size * glm::vec2(-30, -18), size * glm::vec2(45, 23), -0.4f, fill);
    };
    wing(P(20, -60), 0.8f * scale, rgb(226, 230, 244), featherLine);
    // Legs and trotters.
    for (float x : {-70.0f, -30.0f, 45.0f, 85.0f}) {
        img.fillCapsule(P(x, 30), P(x + 6, 92), 17 * scale, outline);
        img.fillCapsule(P(x, 30), P(x + 6, 90), 14 * scale, pink);
        img.fillEllipse(P(x + 6, 98), scale * glm::vec2(15, 9), 0, rgb(70, 46, 54));
    }
    // Curly tail.
    for (int i = 0; i < 24; ++i) {
        float a0 = i * 0.35f, a1 = (i + 1) * 0.35f;
        float r0 = 22 - 0.55f * i, r1 = 22 - 0.55f * (i + 1);
        img.fillCapsule(P(-150 + r0 * std::cos(a0) - 10, -15 + r0 * std::sin(a0)),
                        P(-150 + r1 * std::cos(a1) - 10, -15 + r1 * std::sin(a1)), 4.5f * scale, darkPink);
    }
    // Body and head.
    img.fillEllipse(P(0, 0), scale * glm::vec2(145, 92), 0, outline);
    img.fillEllipse(P(0, 0), scale * glm::vec2(141, 88), 0, pink);
    img.fillEllipse(P(-20, -40), scale * glm::vec2(80, 28), -0.1f, rgb(255, 225, 232), 0.5f);
    img.fillEllipse(P(112, -28), scale * glm::vec2(68, 64), 0, outline);
    img.fillEllipse(P(112, -28), scale * glm::vec2(64, 60), 0, pink);
    // Ear.
    img.fillEllipse(P(92, -92), scale * glm::vec2(20, 38), -0.5f, outline);
    img.fillEllipse(P(92, -90), scale * glm::vec2(16, 34), -0.5f, darkPink);
    // Snout with nostrils.
    img.fillEllipse(P(172, -18), scale * glm::vec2(24, 32), 0, outline);
    img.fillEllipse(P(172, -18), scale * glm::vec2(21, 29), 0, rgb(238, 140, 162));
    img.fillEllipse(P(168, -28), scale * glm::vec2(5, 8), 0, rgb(110, 40, 60));
    img.fillEllipse(P(168, -6), scale * glm::vec2(5, 8), 0, rgb(110, 40, 60));
    // Eye and a happy cheek.
    img.fillEllipse(P(128, -52), scale * glm::vec2(14, 17), 0, glm::vec3(1));
    img.fillEllipse(P(132, -50), scale * glm::vec2(8, 10), 0, rgb(30, 20, 24));
    img.fillEllipse(P(134, -54), scale * glm::vec2(3, 3), 0, glm::vec3(1));
    img.fillEllipse(P(128, -2), scale * glm::vec2(16, 10), 0, rgb(255, 120, 140), 0.45f);
    for (int i = 0; i < 8; ++i) {
        float a0 = 0.5f + i * 0.12f, a1 = a0 + 0.12f;
        img.fillCapsule(P(150 - 26 * std::cos(a0), 8 + 16 * std::sin(a0)),
                        P(150 - 26 * std::cos(a1), 8 + 16 * std::sin(a1)), 2.5f * scale, outline);
    }
    wing(P(-10, -45), scale, feather, featherLine);
}

void drawCentred(Lettering& font, Image& img, float y, const std::string& text, glm::vec3 colour)
{
    font.drawShadowed(img, {(img.width() - font.measure(text)) / 2.0f, y}, text, colour);
}

// A centred title at the top, over a soft halo of nine offset copies.
void drawHaloed(Image& img, Lettering& bold, int size, const std::string& title, glm::vec3 halo, glm::vec3 colour)
{
    bold.setSize(size);
    const glm::vec2 at((Width - bold.measure(title)) / 2.0f, 170);
    for (int dy = -3; dy <= 3; dy += 3)
        for (int dx = -3; dx <= 3; dx += 3) bold.draw(img, at + glm::vec2(dx, dy + 4), title, halo, 0.5f);
    bold.draw(img, at, title, colour);
}

// A palm island on the horizon behind the pig.
void drawHorizonIsland(Image& img, float horizon)
{
    img.fillEllipse({905, horizon + 4}, {125, 22}, 0, rgb(226, 200, 150));
    for (float x : {880.0f, 950.0f}) {
        img.fillCapsule({x, horizon - 5}, {x + 12, horizon - 90}, 5, rgb(120, 92, 60));
        // Drooping fronds, thick at the crown and thin at the tips.
        const glm::vec2 crown(x + 12, horizon - 90);
        for (int i = 0; i < 7; ++i) {
            float spread = (i - 3) / 3.0f, reach = 50 - 8 * std::abs(spread);
            for (int k = 0; k < 8; ++k) {
                float t0 = k / 8.0f, t1 = (k + 1) / 8.0f;
                auto at = [&](float t) {
                    return crown + glm::vec2(spread * reach * t, -22 * t * (1 - std::abs(spread)) + 34 * t * t);
                };
                img.fillCapsule(at(t0), at(t1), 6.5f * (1 - t0) + 1.5f, rgb(50, 120, 44));
            }
        }
    }
}

// The title with its dark halo, and the strap line under it.
void drawTitle(Image& img, Lettering& bold, Lettering& regular)
{
    drawHaloed(img, bold, 150, "Skyhog", rgb(90, 30, 60), rgb(255, 178, 200));
    regular.setSize(44);
    drawCentred(regular, img, 232, "piss 'em all off!", rgb(255, 228, 80));
}

// The controls, listed on a dark panel at the left.
void drawControlsPanel(Image& img, Lettering& bold, Lettering& regular)
{
    img.fillRoundRect({50, 266}, {560, 690}, 18, rgb(10, 26, 60), 0.55f);
    bold.setSize(30);
    bold.draw(img, {80, 308}, "Controls", glm::vec3(1));
    const std::vector<std::pair<std::string, std::string>> controls = {
        {"W A S D", "move"},
        {"Mouse", "turn the view"},
        {"Space", "release the stream"},
        {"F1", "free flight"},
        {"F3", "wireframe"},
        {"F4", "texture filter"},
        {"F5", "mipmaps"},
        {"F6", "shadow map"},
        {"F7", "water and map views"},
        {"F8", "frustum culling"},
        {"Esc", "quit"},
    };
    bold.setSize(24);
    regular.setSize(24);
    float y = 346;
    for (const auto& [key, what] : controls) {
        bold.draw(img, {80, y}, key, rgb(255, 228, 80));
        regular.draw(img, {230, y}, what, glm::vec3(1));
        y += 31;
    }
}

} // namespace

void writeIntroPicture(const std::string& root, const Fonts& fonts)
{
    Image img(Width, Height);
    const float horizon = 470;
    paintSkyAndSea(img, horizon, rgb(44, 104, 196), rgb(210, 230, 244));

    drawHorizonIsland(img, horizon);

    drawPig(img, {720, 345}, 0.9f);
    // The stream, falling away behind the pig.
    for (int i = 0; i < 14; ++i) {
        float t = i / 13.0f;
        glm::vec2 p(622 - 60 * t, 405 + 295 * t * t + 40 * t);
        img.fillEllipse(p, {5 + 2 * t, 9 + 4 * t}, 0.3f * t, rgb(250, 220, 60), 0.9f);
    }

    Lettering bold(fonts.bold), regular(fonts.regular);
    drawTitle(img, bold, regular);
    drawControlsPanel(img, bold, regular);

    regular.setSize(40);
    std::string loading = "Loading...";
    regular.drawShadowed(img, {980.0f - regular.measure(loading), 735}, loading, glm::vec3(1));
    img.saveJpeg(root + "/Models/intro.jpg", 90, true);
}

void writeWinPicture(const std::string& root, const Fonts& fonts)
{
    Image img(Width, Height);
    const float horizon = 540;
    paintSkyAndSea(img, horizon, rgb(60, 130, 210), rgb(255, 236, 200));
    // Sun rays spreading from behind the pig.
    const glm::vec2 sun(512, 470);
    for (int y = 0; y < horizon; ++y)
        for (int x = 0; x < Width; ++x) {
            glm::vec2 d = glm::vec2(x, y) - sun;
            float ray = smoothstep(0.3f, 0.7f, std::sin(18 * std::atan2(d.y, d.x)));
            float near = std::exp(-glm::length(d) / 500.0f);
            img.blend(x, y, rgb(255, 246, 200), 0.28f * ray * near + 0.35f * near * near);
        }
    // Confetti in warm colours.
    Rng rng(0xC0FFEEu);
    const glm::vec3 colours[] = {rgb(255, 220, 60), rgb(255, 120, 150), rgb(120, 210, 255), rgb(255, 255, 255)};
    for (int i = 0; i < 70; ++i) {
        glm::vec2 p(rng.range(20, Width - 20), rng.range(20, horizon));
        img.fillEllipse(p, {rng.range(3, 7), rng.range(6, 12)}, rng.range(0, Pi), colours[rng.below(4)], 0.85f);
    }
    drawPig(img, {480, 470}, 1.1f);

    Lettering bold(fonts.bold), regular(fonts.regular);
    drawHaloed(img, bold, 140, "You win!", rgb(120, 60, 0), rgb(255, 222, 70));
    regular.setSize(56);
    drawCentred(regular, img, 250, "Everybody got wet.", glm::vec3(1));
    regular.setSize(32);
    drawCentred(regular, img, 725, "Thanks for flying with Skyhog!", glm::vec3(1));
    img.saveJpeg(root + "/Models/outro_win.jpg", 90, true);
}

void writeIcons(const std::string& dir)
{
    // One large drawing, over black and over white: every shape blends the
    // same coverage into all three channels, so the two differ by exactly the
    // background's share, 1 - alpha, and over black what is left is the
    // colour times alpha. Each size averages square blocks of it (768 is a
    // multiple of 48, 128 and 256), which is the premultiplied mean.
    constexpr int Master = 768;
    Image overBlack(Master, Master, glm::vec3(0)), overWhite(Master, Master, glm::vec3(1));
    // The pig spans about x -185..200 and y -145..110 in its own units.
    const float scale = 0.92f * Master / 385.0f;
    const glm::vec2 centre = glm::vec2(Master / 2.0f) - scale * glm::vec2(7.5f, -17.5f);
    drawPig(overBlack, centre, scale);
    drawPig(overWhite, centre, scale);

    for (int size : {48, 128, 256}) {
        const int block = Master / size;
        const float count = static_cast<float>(block * block);
        Image icon(size, size);
        std::vector<float> alpha(static_cast<size_t>(size) * size);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                glm::vec3 black(0), white(0);
                for (int j = 0; j < block; ++j)
                    for (int i = 0; i < block; ++i) {
                        black += overBlack.at(x * block + i, y * block + j);
                        white += overWhite.at(x * block + i, y * block + j);
                    }
                black /= count;
                white /= count;
                const glm::vec3 background = white - black;
                const float a = 1.0f - (background.r + background.g + background.b) / 3.0f;
                alpha[static_cast<size_t>(y) * size + x] = a;
                icon.at(x, y) = a > 1e-4f ? black / a : glm::vec3(0);
            }
        icon.savePng(dir + "/skyhog-" + std::to_string(size) + ".png", alpha);
    }
}

} // namespace datagen
