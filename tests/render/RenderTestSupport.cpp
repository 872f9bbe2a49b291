#include "tests/render/RenderTestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace SkyhogTest {
namespace fs = std::filesystem;

namespace {

constexpr const char* CaptureVariable = "SKYHOG_RENDER_TEST_CAPTURE_DIR";

// The folder where death-test children leave their standard output. The
// first (parent) process creates it before main() and hands it down through
// the environment, so the re-executed children find the same folder.
class CaptureFolder {
public:
    CaptureFolder()
    {
        if (const char* inherited = std::getenv(CaptureVariable)) {
            path_ = inherited;
            return;
        }
        char pattern[] = "/tmp/skyhog-render-capture-XXXXXX";
        if (::mkdtemp(pattern) == nullptr) return;
        path_ = pattern;
        owner_ = true;
        ::setenv(CaptureVariable, pattern, 1);
    }
    ~CaptureFolder()
    {
        if (!owner_) return;
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
    bool owner_ = false;
};

CaptureFolder& captureFolder()
{
    static CaptureFolder folder;
    return folder;
}
// Created before main(), while the program has one thread.
[[maybe_unused]] const CaptureFolder& eagerFolder = captureFolder();

fs::path childOutputPath()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name)
        if (c == '/') c = '_';
    return captureFolder().path() / (name + ".out");
}

std::string doomedTree; // removed by the death-test child at exit

void removeDoomedTree()
{
    std::error_code ignored;
    if (!doomedTree.empty()) fs::remove_all(doomedTree, ignored);
}

void enterDeathChild(const TempTree* tree)
{
    if (tree != nullptr) {
        doomedTree = tree->root().string();
        std::atexit(removeDoomedTree);
    }
    std::fflush(stdout);
    const int fd = ::open(childOutputPath().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0) {
        ::dup2(fd, STDOUT_FILENO);
        ::close(fd);
    }
}

} // namespace

void writePicture(const fs::path& path, int width, int height, const std::function<Rgb(int, int)>& colourAt,
                  FREE_IMAGE_FORMAT format)
{
    fs::create_directories(path.parent_path());
    FIBITMAP* bitmap = FreeImage_Allocate(width, height, 24);
    if (bitmap == nullptr) throw std::runtime_error("FreeImage_Allocate failed");
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = colourAt(x, y);
            RGBQUAD quad{};
            quad.rgbRed = static_cast<BYTE>(c.r);
            quad.rgbGreen = static_cast<BYTE>(c.g);
            quad.rgbBlue = static_cast<BYTE>(c.b);
            FreeImage_SetPixelColor(bitmap, static_cast<unsigned>(x), static_cast<unsigned>(y), &quad);
        }
    }
    const int flags = format == FIF_JPEG ? JPEG_QUALITYSUPERB : 0;
    const bool saved = FreeImage_Save(format, bitmap, path.c_str(), flags);
    FreeImage_Unload(bitmap);
    if (!saved) throw std::runtime_error("FreeImage_Save failed for " + path.string());
}

void writeSolidPicture(const fs::path& path, int width, int height, Rgb colour, FREE_IMAGE_FORMAT format)
{
    writePicture(
        path, width, height, [colour](int, int) { return colour; }, format);
}

TexImage readTexImage(GLenum bindTarget, GLuint texture, GLenum imageTarget, GLint level)
{
    GLint previous = 0;
    glGetIntegerv(bindTarget == GL_TEXTURE_CUBE_MAP ? GL_TEXTURE_BINDING_CUBE_MAP : GL_TEXTURE_BINDING_2D, &previous);
    glBindTexture(bindTarget, texture);
    TexImage image;
    glGetTexLevelParameteriv(imageTarget, level, GL_TEXTURE_WIDTH, &image.width);
    glGetTexLevelParameteriv(imageTarget, level, GL_TEXTURE_HEIGHT, &image.height);
    image.rgba.resize(static_cast<std::size_t>(image.width) * image.height * 4);
    if (!image.rgba.empty()) {
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(imageTarget, level, GL_RGBA, GL_UNSIGNED_BYTE, image.rgba.data());
    }
    glBindTexture(bindTarget, static_cast<GLuint>(previous));
    return image;
}

std::string runExpectingExit1(const TempTree* tree, const std::function<void()>& body)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    std::error_code ignored;
    fs::remove(childOutputPath(), ignored);
    EXPECT_EXIT(
        {
            enterDeathChild(tree);
            body();
        },
        ::testing::ExitedWithCode(1), "");
    if (!GTEST_FLAG_GET(internal_run_death_test).empty()) {
        // A death-test child gets here only when it skipped this statement to
        // reach a later one; the checks that follow would then fail and end
        // the child with status 1, passing for a death. One per test, please.
        std::fprintf(stderr, "only one runExpectingExit1 per test\n");
        std::_Exit(3);
    }
    std::ifstream file(childOutputPath(), std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    fs::remove(childOutputPath(), ignored);
    return text.str();
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::string::size_type start = 0;
    while (start < text.size()) {
        const auto end = text.find('\n', start);
        if (end == std::string::npos) {
            result.push_back(text.substr(start));
            break;
        }
        result.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return result;
}

} // namespace SkyhogTest
