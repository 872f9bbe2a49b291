// The shader library builds its fifteen programs from a private tree of
// trivial shader pairs; each vertex shader declares a uniform named after its
// program, so a program can be told apart by the uniforms it has.
#include "render/ShaderLibrary.h"
#include "tests/render/RenderTestSupport.h"
#include "tests/support/TestShaders.h"
#include "tests/support/GlTestContext.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

using Skyhog::ShaderLibrary;
using SkyhogTest::lines;
using SkyhogTest::runExpectingExit1;
using SkyhogTest::TempTree;

const std::string ShaderDir = "../../Skyhog/Shaders/";

std::string marker(std::string_view name)
{
    return "only_" + std::string(name);
}

// Writes all fifteen pairs, except the files listed in `skip` ("Map.vert").
void writeShaderTree(const TempTree& tree, const std::set<std::string>& skip = {})
{
    for (std::string_view name : ShaderLibrary::Names) {
        const std::string base = "Skyhog/Shaders/" + std::string(name);
        if (!skip.count(std::string(name) + ".vert"))
            tree.write(base + ".vert", SkyhogTest::trivialVertexSource(marker(name)));
        if (!skip.count(std::string(name) + ".frag")) tree.write(base + ".frag", SkyhogTest::trivialFragmentSource());
    }
}

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

class ShaderLibraryTest : public SkyhogTest::GlTest {
protected:
    TempTree tree;
};

TEST_F(ShaderLibraryTest, BuildsEveryProgramFromItsOwnFilesAndSaysOnlyShadersLoaded)
{
    writeShaderTree(tree);
    tree.enterWorkDir();

    testing::internal::CaptureStdout();
    {
        ShaderLibrary library;
        const std::string output = testing::internal::GetCapturedStdout();
        EXPECT_EQ(output, "shaders loaded"); // no line end: the next output continues the line

        std::set<GLuint> objects;
        for (std::string_view name : ShaderLibrary::Names) {
            SCOPED_TRACE(std::string(name));
            Skyhog::ShaderProgram* program = library.get(std::string(name));
            ASSERT_NE(program, nullptr);
            EXPECT_EQ(library.get(std::string(name)), program) << "get hands out the stored program";
            GLint linked = GL_FALSE;
            glGetProgramiv(program->program(), GL_LINK_STATUS, &linked);
            EXPECT_EQ(linked, GL_TRUE);
            objects.insert(program->program());
            for (std::string_view other : ShaderLibrary::Names) {
                const GLint location = program->uniformLocation(marker(other).c_str());
                if (other == name) EXPECT_NE(location, -1) << "built from its own files";
                else EXPECT_EQ(location, -1) << "not built from the files of " << other;
            }
        }
        EXPECT_EQ(objects.size(), 15u);
        EXPECT_THROW(library.get("Nope"), std::out_of_range);

        // The setters address the uniform by name on the current program.
        Skyhog::ShaderProgram* map = library.get("Map");
        map->use();
        GLint current = 0;
        glGetIntegerv(GL_CURRENT_PROGRAM, &current);
        EXPECT_EQ(static_cast<GLuint>(current), map->program());
        glm::mat4 value(1.0f);
        value[3][0] = 7.0f;
        map->setMat4("only_Map", value);
        GLfloat readBack[16] = {};
        glGetUniformfv(map->program(), map->uniformLocation("only_Map"), readBack);
        EXPECT_FLOAT_EQ(readBack[12], 7.0f) << "uploaded column-major, without transposition";
        EXPECT_FLOAT_EQ(readBack[15], 1.0f);
        map->setMat4("absent", value); // location -1: a no-op, not an error
        glUseProgram(0);
    }
}

TEST_F(ShaderLibraryTest, ProgramsAreDeletedWithTheLibrary)
{
    writeShaderTree(tree);
    tree.enterWorkDir();
    testing::internal::CaptureStdout();
    GLuint program = 0;
    {
        ShaderLibrary library;
        program = library.get("Intro")->program();
        EXPECT_TRUE(glIsProgram(program));
    }
    testing::internal::GetCapturedStdout();
    EXPECT_FALSE(glIsProgram(program));
}

TEST_F(ShaderLibraryTest, MissingVertexFileStopsStartUpBeforeItsFragmentFileIsOpened)
{
    // The fragment file is missing too: opening it would print a second path.
    writeShaderTree(tree, {"LightTest.vert", "LightTest.frag"});
    tree.enterWorkDir();
    const std::string output = runExpectingExit1(&tree, [] { ShaderLibrary library; });
    const auto out = lines(output);
    ASSERT_GE(out.size(), 3u) << output;
    EXPECT_EQ(out[0], "ERROR: Could not loade file " + ShaderDir + "LightTest.vert");
    EXPECT_EQ(out[1], "Problem while loading shader");
    EXPECT_FALSE(out[2].empty()) << "the compile log follows on its own line";
    EXPECT_FALSE(contains(output, "LightTest.frag")) << output;
    EXPECT_FALSE(contains(output, "shaders loaded")) << output;
    EXPECT_EQ(output.back(), '\n');
}

// Programs are built in table order, not in the map's name order: "Intro"
// sorts before "SkyBox" and "Map" before "Water", but the table builds SkyBox
// first (nothing after it is opened).
TEST_F(ShaderLibraryTest, SkyBoxIsBuiltFirst)
{
    writeShaderTree(tree, {"SkyBox.vert", "Intro.vert", "Map.vert", "Water.vert"});
    tree.enterWorkDir();
    const std::string output = runExpectingExit1(&tree, [] { ShaderLibrary library; });
    ASSERT_FALSE(output.empty());
    EXPECT_EQ(lines(output)[0], "ERROR: Could not loade file " + ShaderDir + "SkyBox.vert");
    EXPECT_FALSE(contains(output, "Intro")) << output;
    EXPECT_FALSE(contains(output, "Map.vert")) << output;
    EXPECT_FALSE(contains(output, "Water.vert")) << output;
}

TEST_F(ShaderLibraryTest, CompileErrorEndsTheProcessWithTheLog)
{
    writeShaderTree(tree);
    tree.write("Skyhog/Shaders/Test.frag", "#version 330 core\nout vec4 color;\nvoid main() { color = undeclared; }\n");
    tree.enterWorkDir();
    const std::string output = runExpectingExit1(&tree, [] { ShaderLibrary library; });
    const auto out = lines(output);
    ASSERT_GE(out.size(), 2u) << output;
    EXPECT_EQ(out[0], "Problem while loading shader") << "nothing is written before the failure";
    EXPECT_TRUE(contains(out[1], "undeclared")) << "the compile log names the fault: " << output;
    EXPECT_FALSE(contains(output, "shaders loaded"));
}

TEST_F(ShaderLibraryTest, EmptyShaderFileEndsTheProcess)
{
    writeShaderTree(tree);
    tree.write("Skyhog/Shaders/Depth.vert", "");
    tree.enterWorkDir();
    const std::string output = runExpectingExit1(&tree, [] { ShaderLibrary library; });
    EXPECT_TRUE(contains(output, "Problem while loading shader") || contains(output, "linking error")) << output;
    EXPECT_FALSE(contains(output, "Could not loade")) << "the file exists; it is only empty";
    EXPECT_FALSE(contains(output, "shaders loaded"));
}

TEST_F(ShaderLibraryTest, LinkFailureEndsTheProcessWithTheProgramLog)
{
    writeShaderTree(tree);
    // Both compile, but the two stages disagree on the type of their varying.
    tree.write("Skyhog/Shaders/Shadow.vert",
               "#version 330 core\n"
               "layout(location = 0) in vec3 position;\n"
               "out vec3 mismatched;\n"
               "void main() { mismatched = position; gl_Position = vec4(position, 1.0); }\n");
    tree.write("Skyhog/Shaders/Shadow.frag",
               "#version 330 core\n"
               "in vec4 mismatched;\n"
               "out vec4 color;\n"
               "void main() { color = mismatched; }\n");
    tree.enterWorkDir();
    const std::string output = runExpectingExit1(&tree, [] { ShaderLibrary library; });
    const auto out = lines(output);
    ASSERT_GE(out.size(), 2u) << output;
    EXPECT_TRUE(out[0] == "linking error Vertex" || out[0] == "linking error Fragment") << output;
    EXPECT_TRUE(contains(out[1], "mismatched")) << "the program log follows: " << output;
    EXPECT_FALSE(contains(output, "shaders loaded"));
}

} // namespace
