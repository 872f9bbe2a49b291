#include "Options.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

using namespace Skyhog::Bench;

namespace {

ParsedOptions parse(std::initializer_list<const char*> arguments)
{
    std::vector<const char*> argv{"skyhog-bench"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return parseOptions(static_cast<int>(argv.size()), argv.data());
}

} // namespace

TEST(Options, DefaultsWithoutArguments)
{
    const ParsedOptions parsed = parse({});
    EXPECT_TRUE(parsed.error.empty());
    EXPECT_EQ(parsed.options.frames, 300);
    EXPECT_EQ(parsed.options.width, 1024);
    EXPECT_EQ(parsed.options.height, 768);
    EXPECT_DOUBLE_EQ(parsed.options.soakMinutes, 0.0);
    EXPECT_TRUE(parsed.options.dataRoot.empty());
    EXPECT_FALSE(parsed.options.help);
}

TEST(Options, ReadsEveryOptionWithItsValueAfterIt)
{
    const ParsedOptions parsed =
        parse({"--frames", "120", "--size", "640x480", "--soak", "0.5", "--data-root", "/tmp/x", "--shots", "/tmp/s"});
    ASSERT_TRUE(parsed.error.empty()) << parsed.error;
    EXPECT_EQ(parsed.options.frames, 120);
    EXPECT_EQ(parsed.options.width, 640);
    EXPECT_EQ(parsed.options.height, 480);
    EXPECT_DOUBLE_EQ(parsed.options.soakMinutes, 0.5);
    EXPECT_EQ(parsed.options.dataRoot, "/tmp/x");
    EXPECT_EQ(parsed.options.shotsDir, "/tmp/s");
}

TEST(Options, ReadsValuesAfterAnEqualsSign)
{
    const ParsedOptions parsed = parse({"--frames=7", "--size=800X600", "--soak=2"});
    ASSERT_TRUE(parsed.error.empty()) << parsed.error;
    EXPECT_EQ(parsed.options.frames, 7);
    EXPECT_EQ(parsed.options.width, 800);
    EXPECT_EQ(parsed.options.height, 600);
    EXPECT_DOUBLE_EQ(parsed.options.soakMinutes, 2.0);
}

TEST(Options, HelpIsRecognised)
{
    EXPECT_TRUE(parse({"--help"}).options.help);
    EXPECT_TRUE(parse({"-h"}).options.help);
}

TEST(Options, BadFramesNameTheArgument)
{
    for (const char* bad : {"0", "-3", "abc", "12x", "", "99999999999"}) {
        const ParsedOptions parsed = parse({"--frames", bad});
        EXPECT_NE(parsed.error.find("--frames"), std::string::npos) << bad << ": " << parsed.error;
        EXPECT_NE(parsed.error.find(std::string("'") + bad + "'"), std::string::npos) << parsed.error;
    }
}

TEST(Options, BadSizesNameTheArgument)
{
    for (const char* bad : {"1024", "x768", "1024x", "0x10", "10x-1", "axb", "1024x768x2", "99999x10"}) {
        const ParsedOptions parsed = parse({"--size", bad});
        EXPECT_NE(parsed.error.find("--size"), std::string::npos) << bad << ": " << parsed.error;
    }
}

TEST(Options, BadSoakNamesTheArgument)
{
    for (const char* bad : {"0", "-1", "soon", "1.5min", "nan", "inf"}) {
        const ParsedOptions parsed = parse({"--soak", bad});
        EXPECT_NE(parsed.error.find("--soak"), std::string::npos) << bad << ": " << parsed.error;
    }
}

TEST(Options, AMissingValueIsAnError)
{
    EXPECT_NE(parse({"--frames"}).error.find("--frames needs a value"), std::string::npos);
    EXPECT_NE(parse({"--data-root"}).error.find("--data-root"), std::string::npos);
    EXPECT_NE(parse({"--data-root="}).error.find("--data-root"), std::string::npos);
    EXPECT_NE(parse({"--shots="}).error.find("--shots needs a folder"), std::string::npos);
}

TEST(Options, UnknownArgumentsAreNamed)
{
    EXPECT_NE(parse({"--fast"}).error.find("'--fast'"), std::string::npos);
    EXPECT_NE(parse({"120"}).error.find("'120'"), std::string::npos);
    EXPECT_NE(parse({"--frames", "10", "--width=3"}).error.find("'--width=3'"), std::string::npos);
}
