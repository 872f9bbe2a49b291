// The flying pig with its two wings, and the bystanders on the island.
#include "IslandLayout.h"
#include "Mesh.h"
#include "Models.h"
#include "Paint.h"

#include <cmath>

#include <glm/gtc/matrix_transform.hpp>

namespace datagen {
namespace {

constexpr float kPi = 3.14159265f;

// ---------------------------------------------------------------- the pig --
// The pig's picture is an atlas: one material keeps the whole pig in one mesh.
const UvRect kPigSkin{{0.0f, 0.0f}, {0.5f, 1.0f}};
const UvRect kPigSnout{{0.5f, 0.5f}, {1.0f, 1.0f}};
const UvRect kPigDark{{0.5f, 0.0f}, {0.75f, 0.5f}};
const UvRect kPigWhite{{0.75f, 0.0f}, {1.0f, 0.25f}};
const UvRect kPigEar{{0.75f, 0.25f}, {1.0f, 0.5f}};
// The snout's rim uses a band at the bottom of the snout square, clear of the nostrils.
const UvRect kPigSnoutRim{{0.52f, 0.52f}, {0.98f, 0.6f}};

Image paintPigTexture() {
  Image img(256, 256);
  const glm::vec3 skin = rgb(246, 172, 182);
  img.paintUv(kPigSkin, [&](glm::vec2 l, glm::vec2) {
    glm::vec3 c = vary(skin, l * glm::vec2(6, 12), 11u, 0.05f);
    // A few faint freckles of deeper pink.
    float spots = smoothstep(0.55f, 0.75f, noise2(l.x * 20, l.y * 40, 12u));
    return mixColour(c, rgb(232, 140, 158), 0.5f * spots);
  });
  img.paintUv(kPigSnout, [&](glm::vec2 l, glm::vec2) {
    glm::vec3 c = vary(rgb(236, 140, 160), l * 8.0f, 13u, 0.05f);
    for (float side : {-1.0f, 1.0f}) {
      glm::vec2 d = (l - glm::vec2(0.5f + side * 0.14f, 0.55f)) / glm::vec2(0.07f, 0.12f);
      float k = glm::length(d);
      c = mixColour(c, rgb(120, 46, 64), 1.0f - smoothstep(0.85f, 1.1f, k));
    }
    return c;
  });
  img.paintUv(kPigDark, [&](glm::vec2 l, glm::vec2) { return vary(rgb(34, 24, 28), l * 6.0f, 14u, 0.1f); });
  img.paintUv(kPigWhite, [&](glm::vec2 l, glm::vec2) { return vary(rgb(250, 248, 246), l * 4.0f, 15u, 0.02f); });
  img.paintUv(kPigEar, [&](glm::vec2 l, glm::vec2) { return vary(rgb(240, 150, 166), l * 5.0f, 16u, 0.05f); });
  return img;
}

Mesh pigBody() {
  Mesh pig;
  // Body and head in one rounded shape, a little fuller at the back.
  Mesh body = surface(
      20, 12,
      [](float u, float v) {
        float lon = -kPi + 2 * kPi * u, lat = -kPi / 2 + kPi * v;
        float c = (v <= 0 || v >= 1) ? 0.0f : std::cos(lat);
        float s = v <= 0 ? -1.0f : (v >= 1 ? 1.0f : std::sin(lat));
        float z = 4.1f * c * std::cos(lon);
        float fuller = 1.0f + 0.06f * (1.0f - z / 4.1f) * 0.5f;
        return glm::vec3(2.4f * fuller * c * std::sin(lon), 2.25f * fuller * s, z);
      },
      kPigSkin, true);
  body.computeNormals(true);

  // Snout: a short cylinder ending in a flat disc with the nostrils painted on.
  const float snoutY = -0.35f, snoutBack = 3.6f, snoutFront = 4.75f;
  Mesh snout = tube([&](float t) { return glm::vec3(0, snoutY, snoutBack + (snoutFront - snoutBack) * t); },
                    [](float t) { return 0.95f - 0.08f * t; }, 16, 1, kPigSnoutRim, false);
  Mesh disc;
  uint32_t middle = disc.addVertex({0, snoutY, snoutFront}, kPigSnout.at(0.5f, 0.5f));
  for (int i = 0; i < 16; ++i) {
    float a = 2 * kPi * i / 16;
    glm::vec2 d(std::cos(a), std::sin(a));
    disc.addVertex({0.87f * d.x, snoutY + 0.87f * d.y, snoutFront}, kPigSnout.at(0.5f + 0.46f * d.x, 0.5f + 0.46f * d.y));
  }
  for (uint32_t i = 0; i < 16; ++i) disc.addTriangle(middle, 1 + i, 1 + (i + 1) % 16);
  disc.computeNormals(false);

  pig.append(body);
  pig.append(snout);
  pig.append(disc);

  for (float side : {-1.0f, 1.0f}) {
    // Eyes: a white ball with a dark pupil looking forward.
    pig.append(ellipsoid({side * 0.85f, 0.8f, 3.42f}, {0.36f, 0.42f, 0.32f}, 10, 6, kPigWhite));
    pig.append(ellipsoid({side * 0.88f, 0.86f, 3.68f}, {0.17f, 0.21f, 0.12f}, 8, 5, kPigDark));

    // Ears: pointed flaps leaning forwards, seen from both sides.
    glm::vec3 baseIn(side * 0.6f, 1.78f, 1.85f), baseOut(side * 1.75f, 1.4f, 1.9f), tip(side * 1.75f, 2.7f, 2.95f);
    Mesh ear = surface(
        2, 3,
        [&](float u, float v) {
          glm::vec3 base = baseIn + (baseOut - baseIn) * u;
          glm::vec3 p = base + (tip - base) * v;
          // Cupped a little, with the tip flopping forward.
          p.z += 0.25f * std::sin(kPi * u) * (1 - v) + 0.35f * v * v;
          p.y -= 0.3f * v * v;
          return p;
        },
        kPigEar);
    ear.computeNormals(true);
    ear.addBackFaces();
    pig.append(ear);

    // Legs with dark trotters, front and back.
    for (float end : {-1.0f, 1.0f}) {
      glm::vec3 hip(side * 1.25f, -1.2f, end * 2.0f);
      Mesh leg = tube([&](float t) { return hip + glm::vec3(0, -1.5f * t, 0); },
                      [](float t) { return 0.45f - 0.05f * t; }, 8, 1, kPigSkin, false);
      Mesh trotter = tube([&](float t) { return hip + glm::vec3(0, -1.5f - 0.32f * t, 0); },
                          [](float) { return 0.4f; }, 8, 1, kPigDark, true);
      pig.append(leg);
      pig.append(trotter);
    }
  }

  // A curly tail.
  Mesh tail = tube(
      [](float t) {
        float a = 3.5f * kPi * t;
        return glm::vec3(0.32f * std::sin(a), 0.55f + 0.32f * (1 - std::cos(a)) + 0.4f * t, -3.85f - 0.95f * t);
      },
      [](float t) { return 0.16f - 0.07f * t; }, 6, 14, kPigSkin, true);
  pig.append(tail);
  return pig;
}

// A feathered wing on the pig's left (+x), sharing the pig's frame: its root
// sits along the top of the back, so small rolls about the z axis flap it.
Mesh leftWing() {
  const int spans = 12;
  Mesh wing = surface(
      spans, 4,
      [&](float u, float v) {
        float x = 0.35f + 6.5f * u;
        float lead = 1.7f - 0.3f * u - 1.3f * std::pow(u, 4.0f);
        float trail = -1.3f + 0.55f * u + 0.85f * u * u * u; // meets the leading edge at the tip
        // Every other trailing vertex is a feather tip reaching further back.
        int column = static_cast<int>(std::lround(u * spans));
        if (column % 2 == 0 && column > 0 && column < spans) trail -= 0.45f * (1 - 0.5f * u) * v;
        float z = lead + (trail - lead) * v;
        float y = 2.0f + 1.05f * u - 0.25f * u * u + 0.22f * std::sin(kPi * v) * (1 - u * u);
        return glm::vec3(x, y, z);
      },
      UvRect{{0.02f, 0.02f}, {0.98f, 0.98f}});
  wing.computeNormals(true);
  wing.addBackFaces();
  return wing;
}

Image paintWingTexture() {
  Image img(256, 256);
  img.paintUv({}, [](glm::vec2 l, glm::vec2) {
    // l.x runs root to tip, l.y leading edge (0) to trailing edge (1).
    glm::vec3 white = vary(rgb(250, 250, 252), l * 6.0f, 21u, 0.025f);
    glm::vec3 line = rgb(196, 204, 222);
    float edge = 0;
    if (l.y > 0.42f) {
      // Long flight feathers running along the chord.
      float f = std::fabs(std::fmod(l.x * 12.0f, 1.0f) - 0.5f) * 2;
      edge = smoothstep(0.82f, 0.97f, f) * smoothstep(0.42f, 0.5f, l.y);
      float shaft = 1 - smoothstep(0.0f, 0.06f, f);
      edge = std::max(edge, 0.35f * shaft);
    } else {
      // Overlapping rows of small covert feathers.
      float row = l.y * 9.0f;
      int r = static_cast<int>(row);
      float fx = std::fmod(l.x * 22.0f + 0.5f * r, 1.0f) - 0.5f;
      float fy = row - r;
      float scallop = fy - (0.7f - 1.6f * fx * fx);
      edge = 1 - smoothstep(0.0f, 0.12f, std::fabs(scallop));
    }
    return mixColour(white, line, 0.6f * edge);
  });
  return img;
}

// ------------------------------------------------------------- the people --
const UvRect kShirt{{0.0f, 0.5f}, {0.5f, 1.0f}};
const UvRect kShorts{{0.5f, 0.5f}, {0.75f, 1.0f}};
const UvRect kSkin{{0.75f, 0.5f}, {1.0f, 1.0f}};
const UvRect kFace{{0.0f, 0.0f}, {0.5f, 0.5f}};
const UvRect kHair{{0.5f, 0.0f}, {0.75f, 0.5f}};
const UvRect kShoes{{0.75f, 0.0f}, {1.0f, 0.5f}};

Image paintPersonTexture() {
  Image img(256, 256);
  const glm::vec3 skinTone = rgb(236, 188, 152);
  img.paintUv(kShirt, [](glm::vec2 l, glm::vec2) {
    // A loud holiday shirt: orange-red with pale flowers.
    glm::vec3 c = vary(rgb(232, 72, 44), l * 6.0f, 31u, 0.05f);
    glm::vec2 cell = l * 5.0f;
    glm::vec2 centre = glm::floor(cell) + 0.5f;
    float jitterX = (hash32(static_cast<int>(centre.x), static_cast<int>(centre.y), 0, 32u) & 255u) / 255.0f - 0.5f;
    glm::vec2 d = cell - centre - glm::vec2(0.25f * jitterX, 0);
    float a = std::atan2(d.y, d.x), r = glm::length(d);
    float petal = 0.26f + 0.1f * std::cos(5 * a);
    c = mixColour(c, rgb(255, 236, 140), 1 - smoothstep(petal - 0.03f, petal + 0.03f, r));
    c = mixColour(c, rgb(240, 140, 40), 1 - smoothstep(0.06f, 0.09f, r));
    return c;
  });
  img.paintUv(kShorts, [](glm::vec2 l, glm::vec2) {
    glm::vec3 c = vary(rgb(52, 92, 170), l * glm::vec2(4, 16), 33u, 0.08f);
    return c * (0.95f + 0.05f * std::sin(l.x * 90.0f + l.y * 30.0f));
  });
  img.paintUv(kSkin, [&](glm::vec2 l, glm::vec2) { return vary(skinTone, l * 5.0f, 34u, 0.03f); });
  const glm::vec3 hairColour = rgb(88, 56, 34);
  img.paintUv(kHair, [&](glm::vec2 l, glm::vec2) {
    glm::vec3 c = vary(hairColour, glm::vec2(l.x * 40, l.y * 3), 35u, 0.15f);
    return c;
  });
  img.paintUv(kShoes, [](glm::vec2 l, glm::vec2) { return vary(rgb(60, 52, 50), l * 4.0f, 36u, 0.06f); });
  img.paintUv(kFace, [&](glm::vec2 l, glm::vec2) {
    // l.x runs around the head with the face at 0.5; l.y from chin pole to crown.
    glm::vec3 c = vary(skinTone, l * 5.0f, 37u, 0.03f);
    float back = std::fabs(l.x - 0.5f);
    if (l.y > 0.8f - 0.45f * smoothstep(0.12f, 0.3f, back)) c = vary(hairColour, glm::vec2(l.x * 40, l.y * 3), 35u, 0.15f);
    for (float side : {-1.0f, 1.0f}) {
      glm::vec2 d = (l - glm::vec2(0.5f + side * 0.065f, 0.6f)) / glm::vec2(0.022f, 0.045f);
      c = mixColour(c, rgb(30, 24, 22), 1 - smoothstep(0.8f, 1.1f, glm::length(d)));
    }
    // A smile.
    glm::vec2 m = l - glm::vec2(0.5f, 0.47f);
    float smile = std::fabs(glm::length(m / glm::vec2(1.0f, 1.6f)) - 0.06f);
    if (m.y < -0.01f) c = mixColour(c, rgb(150, 60, 60), 1 - smoothstep(0.006f, 0.012f, smile));
    return c;
  });
  return img;
}

// A holidaymaker about 1.8 m tall, built in metres with the feet at y = 0 and
// facing +z, then scaled to the file's units (one file unit is two metres).
Mesh person() {
  Mesh p;
  for (float side : {-1.0f, 1.0f}) {
    float x = side * 0.11f;
    p.append(box({x - 0.055f, 0.0f, -0.08f}, {x + 0.055f, 0.07f, 0.17f}, kShoes));
    p.append(tube([&](float t) { return glm::vec3(x, 0.05f + 0.5f * t, 0.0f); },
                  [](float t) { return 0.058f + 0.02f * t; }, 6, 2, kSkin, false));
    p.append(tube([&](float t) { return glm::vec3(x * (1 - 0.1f * t), 0.5f + 0.42f * t, 0.0f); },
                  [](float t) { return 0.1f + 0.02f * t; }, 8, 1, kShorts, true));
    // Arms hang a little away from the body with a slight bend at the elbow.
    glm::vec3 shoulder(side * 0.235f, 1.41f, 0.0f), elbow(side * 0.28f, 1.13f, 0.02f), wrist(side * 0.3f, 0.87f, 0.06f);
    p.append(tube([&](float t) { return shoulder + (elbow - shoulder) * (0.15f + 0.75f * t); },
                  [](float) { return 0.068f; }, 8, 1, kShirt, true));
    p.append(tube(
        [&](float t) {
          return t < 0.5f ? shoulder + (elbow - shoulder) * (0.8f + 0.4f * t)
                          : elbow + (wrist - elbow) * (2 * t - 1);
        },
        [](float t) { return 0.05f - 0.01f * t; }, 6, 2, kSkin, false));
    p.append(ellipsoid(wrist + glm::vec3(0, -0.06f, 0), {0.038f, 0.07f, 0.045f}, 6, 4, kSkin));
  }
  // Hips in the shorts, and the shirt from the waist to the shoulders.
  p.append(tube([](float t) { return glm::vec3(0, 0.8f + 0.18f * t, 0); }, [](float) { return 0.19f; }, 10, 1,
                kShorts, true));
  Mesh torso = surface(
      12, 6,
      [](float u, float v) {
        float lon = -kPi + 2 * kPi * u;
        float y = 0.92f + 0.56f * v;
        // Waist, chest and rounded shoulders that close up towards the neck.
        float width = 0.19f - 0.025f * std::sin(kPi * std::min(v * 1.6f, 1.0f)) + 0.04f * smoothstep(0.5f, 0.8f, v);
        float depth = 0.125f + 0.01f * v;
        float close = v >= 1 ? 0.0f : std::sqrt(1 - smoothstep(0.8f, 1.0f, v) * 0.85f);
        if (v >= 1) y -= 0.02f;
        return glm::vec3(width * close * std::sin(lon), y, depth * close * std::cos(lon));
      },
      kShirt, true);
  torso.computeNormals(true);
  p.append(torso);
  p.append(tube([](float t) { return glm::vec3(0, 1.42f + 0.14f * t, 0); }, [](float) { return 0.055f; }, 6, 1,
                kSkin, false));
  p.append(ellipsoid({0, 1.64f, 0.01f}, {0.11f, 0.13f, 0.12f}, 14, 8, kFace));
  p.append(ellipsoid({0, 1.625f, 0.135f}, {0.022f, 0.03f, 0.025f}, 6, 4, kSkin)); // nose
  // Hair: a cap over the crown, longer at the back than over the forehead.
  Mesh hair = surface(
      14, 4,
      [](float u, float v) {
        float lon = -kPi + 2 * kPi * u;
        float front = 0.5f + 0.5f * std::cos(lon);
        float lowest = -0.45f + 0.85f * front;
        float lat = lowest + (kPi / 2 - lowest) * v;
        float c = v >= 1 ? 0.0f : std::cos(lat), s = v >= 1 ? 1.0f : std::sin(lat);
        return glm::vec3(0, 1.655f, 0.0f) + glm::vec3(0.122f * c * std::sin(lon), 0.13f * s, 0.132f * c * std::cos(lon));
      },
      kHair, true);
  hair.computeNormals(true);
  p.append(hair);
  p.transform(glm::scale(glm::mat4(1), glm::vec3(0.5f)));
  return p;
}

} // namespace

void writePig(const std::string& root) {
  const std::string dir = root + "/Models/Pig";
  paintPigTexture().saveJpeg(dir + "/pig.jpg");
  paintWingTexture().saveJpeg(dir + "/wing.jpg");
  writeMtl(dir, "pig9.mtl", {{"pig_skin", "pig.jpg"}});
  writeMtl(dir, "wings.mtl", {{"feathers", "wing.jpg"}});
  writeObj(dir, "pig9.obj", "pig9.mtl", {{"pig", "pig_skin", pigBody()}});
  Mesh left = leftWing();
  Mesh right = left;
  right.transform(glm::scale(glm::mat4(1), glm::vec3(-1, 1, 1)));
  writeObj(dir, "left_wing.obj", "wings.mtl", {{"left_wing", "feathers", left}});
  writeObj(dir, "right_wing.obj", "wings.mtl", {{"right_wing", "feathers", right}});
}

void writeBystander(const std::string& root) {
  const std::string dir = root + "/Models/People/Bystand";
  paintPersonTexture().saveJpeg(dir + "/bystander.jpg");
  writeMtl(dir, "Bystander.mtl", {{"holidaymaker", "bystander.jpg"}});
  writeObj(dir, "Bystander.obj", "Bystander.mtl", {{"bystander", "holidaymaker", person()}});
}

} // namespace datagen
