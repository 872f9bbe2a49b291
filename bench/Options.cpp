#include "Options.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>
#include <system_error>

namespace Skyhog::Bench {
namespace {

constexpr int MaxFrames = 100'000'000;
constexpr int MaxSide = 16384;
constexpr double MaxSoakMinutes = 7 * 24 * 60.0;

// A whole number that uses every character of text.
bool parseInt(std::string_view text, int& value)
{
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

// A finite decimal number that uses every character of text.
bool parseDouble(const std::string& text, double& value)
{
    if (text.empty()) return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(value);
}

std::string quoted(std::string_view text)
{
    return "'" + std::string(text) + "'";
}

} // namespace

std::string usage()
{
    return "usage: skyhog-bench [--frames N] [--size WxH] [--soak MINUTES] [--data-root DIR] [--shots DIR]\n"
           "  --frames N        frames of the scripted flight (default 300)\n"
           "  --size WxH        window size in pixels (default 1024x768)\n"
           "  --soak MINUTES    fly the route in a loop for this long (fractions allowed);\n"
           "                    the first lap warms up, each later whole lap is a sample\n"
           "  --data-root DIR   folder whose Skyhog/ subfolder holds the game data\n"
           "                    (default: the build tree this program was built in)\n"
           "  --shots DIR       save the frames of a few fixed route steps there as PNG\n";
}

ParsedOptions parseOptions(int argc, const char* const* argv)
{
    ParsedOptions parsed;
    Options& options = parsed.options;
    auto fail = [&parsed](std::string message) {
        parsed.error = std::move(message);
        return parsed;
    };

    for (int i = 1; i < argc; ++i) {
        std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            options.help = true;
            continue;
        }
        std::string_view name = argument;
        std::string value;
        bool hasValue = false;
        if (const auto equals = argument.find('='); argument.starts_with("--") && equals != std::string_view::npos) {
            name = argument.substr(0, equals);
            value = std::string(argument.substr(equals + 1));
            hasValue = true;
        }
        if (name != "--frames" && name != "--size" && name != "--soak" && name != "--data-root" && name != "--shots") {
            return fail("unknown argument " + quoted(argument));
        }
        if (!hasValue) {
            if (i + 1 >= argc) return fail(std::string(name) + " needs a value");
            value = argv[++i];
        }

        if (name == "--frames") {
            int frames = 0;
            if (!parseInt(value, frames) || frames < 1 || frames > MaxFrames) {
                return fail("--frames needs a whole number from 1 to " + std::to_string(MaxFrames) + ", got " +
                            quoted(value));
            }
            options.frames = frames;
        } else if (name == "--size") {
            const auto x = value.find_first_of("xX");
            int width = 0, height = 0;
            if (x == std::string::npos || !parseInt(std::string_view(value).substr(0, x), width) ||
                !parseInt(std::string_view(value).substr(x + 1), height) || width < 1 || height < 1 ||
                width > MaxSide || height > MaxSide) {
                return fail("--size needs WIDTHxHEIGHT with each side from 1 to " + std::to_string(MaxSide) +
                            " (e.g. 1024x768), got " + quoted(value));
            }
            options.width = width;
            options.height = height;
        } else if (name == "--soak") {
            double minutes = 0.0;
            if (!parseDouble(value, minutes) || minutes <= 0.0 || minutes > MaxSoakMinutes) {
                return fail("--soak needs a number of minutes above 0 (e.g. 0.5), got " + quoted(value));
            }
            options.soakMinutes = minutes;
        } else {
            if (value.empty()) return fail(std::string(name) + " needs a folder, got ''");
            (name == "--shots" ? options.shotsDir : options.dataRoot) = value;
        }
    }
    return parsed;
}

} // namespace Skyhog::Bench
