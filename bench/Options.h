// The benchmark's command line:
//   skyhog-bench [--frames N] [--size WxH] [--soak MINUTES] [--data-root DIR] [--shots DIR]
// Each option takes its value as the next argument or after '='.
// Pure parsing, no side effects, so it is unit-tested directly.
#pragma once
#include <string>

namespace Skyhog::Bench {

struct Options {
    int frames = 300;
    int width = 1024;
    int height = 768;
    double soakMinutes = 0.0; // 0: no soak, a timed run of `frames` frames
    std::string dataRoot;     // empty: the build tree this program was built in
    std::string shotsDir;     // empty: no pictures of the route are saved
    bool help = false;
};

struct ParsedOptions {
    Options options;
    std::string error; // names the offending argument; empty when the line is usable
};

ParsedOptions parseOptions(int argc, const char* const* argv);

// The usage text, one option per line.
std::string usage();

} // namespace Skyhog::Bench
