// Helpers shared by the rendering tests: test pictures written with FreeImage,
// texture read-back, and death tests whose child writes
// its standard output to a file the parent reads afterwards.
#pragma once
#include "render/Gl.h"
#include "tests/support/Rgb.h"
#include "tests/support/TempTree.h"

#include <FreeImage.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace SkyhogTest {

// Writes a width x height 24-bit picture; colourAt(x, y) counts y from the
// bottom row (as the picture is displayed, y = 0 is its lowest row).
void writePicture(const std::filesystem::path& path, int width, int height,
                  const std::function<Rgb(int x, int y)>& colourAt, FREE_IMAGE_FORMAT format = FIF_PNG);
// A picture of one colour.
void writeSolidPicture(const std::filesystem::path& path, int width, int height, Rgb colour,
                       FREE_IMAGE_FORMAT format = FIF_PNG);

// Size and RGBA texels of level `level` of the texture bound to target (bottom row first).
struct TexImage {
    GLint width = 0;
    GLint height = 0;
    std::vector<std::uint8_t> rgba;
    Rgb at(int x, int y) const
    {
        const auto* p = &rgba[static_cast<std::size_t>((y * width + x) * 4)];
        return {p[0], p[1], p[2]};
    }
};
TexImage readTexImage(GLenum bindTarget, GLuint texture, GLenum imageTarget, GLint level = 0);

// --- Death tests -----------------------------------------------------------
// The code under test reports on standard output, which the death-test
// machinery does not capture. runExpectingExit1 runs body in a "threadsafe"
// death-test child (a re-executed copy of this program), expects exit status
// 1 and returns what the child wrote to standard output. The child removes
// `tree` (if given) on its way out, since it never runs destructors.
// Call it at most once per test: the child re-runs the test body from the top.
std::string runExpectingExit1(const TempTree* tree, const std::function<void()>& body);

// Splits text into lines (a trailing piece without line end is kept).
std::vector<std::string> lines(const std::string& text);

} // namespace SkyhogTest
