// The real skyhog-bench executable: a short timed run and a short soak print
// one JSON object with every figure the README quotes, and a bad argument is
// answered before any window opens. The figures themselves are not judged
// here (timings belong to the benchmark, not to tests); only that they are
// present, finite and plausible.
#include "tests/support/Process.h"
#include "tests/support/TempTree.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>
#include <optional>
#include <regex>

using namespace SkyhogTest;
namespace fs = std::filesystem;

namespace {

const fs::path Bench = SKYHOG_BENCH_BINARY;

ProcessResult runBench(const std::vector<std::string>& args, std::chrono::seconds timeout)
{
    ProcessOptions options;
    options.workingDirectory = fs::temp_directory_path();
    options.environment.emplace("ALSOFT_DRIVERS", "null");
    options.timeout = timeout;
    return runProcess(Bench, args, options);
}

// The number printed for a top-level or nested key, if the key is there with a number.
std::optional<double> number(const std::string& json, const std::string& key)
{
    std::smatch match;
    const std::regex pattern("\"" + key + "\": (-?[0-9]+(\\.[0-9]+)?)");
    if (!std::regex_search(json, match, pattern)) return std::nullopt;
    return std::strtod(match[1].str().c_str(), nullptr);
}

void expectPositive(const std::string& json, const std::string& key)
{
    const auto value = number(json, key);
    ASSERT_TRUE(value.has_value()) << "no number for " << key << " in\n" << json;
    EXPECT_GT(*value, 0.0) << key;
}

} // namespace

TEST(BenchProgram, ATimedRunReportsEveryFigure)
{
    TempTree shots;
    const auto result = runBench({"--frames", "21", "--size", "320x240", "--shots", (shots.root() / "shots").string()},
                                 std::chrono::seconds(300));
    ASSERT_TRUE(result.exited) << "signal " << result.signal << (result.timedOut ? " (timed out)" : "");
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    const std::string& json = result.output;
    // Only the shot frames inside the run are saved: frame 20 of 21.
    EXPECT_TRUE(fs::exists(shots.root() / "shots" / "frame-0020.png"));
    EXPECT_EQ(std::distance(fs::directory_iterator(shots.root() / "shots"), fs::directory_iterator{}), 1);
    EXPECT_EQ(json.front(), '{');
    EXPECT_EQ(json.substr(json.size() - 2), "}\n");
    EXPECT_NE(json.find("\"mode\": \"timed\""), std::string::npos);
    EXPECT_EQ(number(json, "frames"), 21.0);
    EXPECT_EQ(number(json, "width"), 320.0);
    EXPECT_EQ(number(json, "height"), 240.0);
    for (const char* key : {"startup_ms", "window", "shaders", "world", "frame_ms_median", "frame_ms_p95",
                            "cpu_ms_per_frame", "floor_ms", "ratio", "rss_start_mb", "rss_end_mb", "reflection",
                            "refraction", "map", "main", "hit_test_us_per_call", "flat_floor_ms", "flat_ratio"}) {
        expectPositive(json, key);
    }
    // The game's own progress lines stay off standard output, and nothing is null.
    EXPECT_EQ(json.find("Executing"), std::string::npos);
    EXPECT_EQ(json.find("null"), std::string::npos) << json;
    EXPECT_GE(*number(json, "frame_ms_p95"), *number(json, "frame_ms_median"));
    EXPECT_EQ(json.find("rss_slope_mb_per_min"), std::string::npos) << "slopes belong to soak runs only";
}

TEST(BenchProgram, ASoakReportsItsTrendsAndSaysWhenItWasTooShort)
{
    const auto result = runBench({"--soak", "0.1", "--size", "160x120"}, std::chrono::seconds(300));
    ASSERT_TRUE(result.exited) << "signal " << result.signal << (result.timedOut ? " (timed out)" : "");
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    const std::string& json = result.output;
    EXPECT_NE(json.find("\"mode\": \"soak\""), std::string::npos);
    ASSERT_TRUE(number(json, "rss_slope_mb_per_min").has_value()) << json;
    ASSERT_TRUE(number(json, "frame_slope_ms_per_min").has_value()) << json;
    const auto samples = number(json, "soak_samples");
    ASSERT_TRUE(samples.has_value());
    // Each whole lap after the first is one sample; fewer than two are
    // flagged rather than passed off as a flat trend.
    const bool warned = result.errors.find("trends need at least 2") != std::string::npos;
    EXPECT_EQ(warned, *samples < 2.0) << result.errors;
    if (*samples < 2.0) {
        EXPECT_EQ(number(json, "rss_slope_mb_per_min"), 0.0);
    }
}

TEST(BenchProgram, BadArgumentsAreAnsweredWithUsageAndStatus2)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--frames", "abc"}, std::vector<std::string>{"--size", "0x0"},
          std::vector<std::string>{"--soak", "-1"}, std::vector<std::string>{"--bogus"}}) {
        const auto result = runBench(args, std::chrono::seconds(30));
        ASSERT_TRUE(result.exited) << args[0];
        EXPECT_EQ(result.exitCode, 2) << args[0];
        EXPECT_TRUE(result.output.empty()) << args[0];
        EXPECT_NE(result.errors.find("usage: skyhog-bench"), std::string::npos) << args[0] << ": " << result.errors;
    }
}

TEST(BenchProgram, AMissingDataTreeIsNamed)
{
    const fs::path missing = fs::temp_directory_path() / "skyhog-bench-no-such-root";
    fs::remove_all(missing);
    const auto result = runBench({"--data-root", missing.string()}, std::chrono::seconds(30));
    ASSERT_TRUE(result.exited);
    EXPECT_NE(result.exitCode, 0);
    EXPECT_NE(result.errors.find(missing.string()), std::string::npos) << result.errors;
}
