// skyhog-bench: flies a fixed route through the real game in a hidden window
// and prints one JSON object of timings and memory readings on standard output.
// Bad arguments exit with 2, a missing data tree with 1.
#include "Benchmark.h"
#include "DataLocation.h"
#include "Options.h"
#include "Quiet.h"

#include <chrono>
#include <filesystem>
#include <iostream>

int main(int argc, char** argv)
{
    using namespace Skyhog::Bench;
    const auto mainStarted = Benchmark::Clock::now();

    const ParsedOptions parsed = parseOptions(argc, argv);
    if (!parsed.error.empty()) {
        std::cerr << "skyhog-bench: " << parsed.error << '\n' << usage();
        return 2;
    }
    if (parsed.options.help) {
        std::cout << usage();
        return 0;
    }

    Options options = parsed.options;
    if (!options.shotsDir.empty()) {
        // Made absolute before the run folder becomes the working directory.
        std::error_code error;
        options.shotsDir = std::filesystem::absolute(options.shotsDir, error).string();
        if (!error) std::filesystem::create_directories(options.shotsDir, error);
        if (error) {
            std::cerr << "skyhog-bench: cannot make the shots folder " << parsed.options.shotsDir << ": "
                      << error.message() << '\n';
            return 1;
        }
    }

    const DataLocation data = findDataRoot(options.dataRoot);
    if (!data.error.empty()) {
        std::cerr << "skyhog-bench: " << data.error << '\n';
        return data.badArgument ? 2 : 1;
    }
    if (const std::string error = enterRunFolder(data.root); !error.empty()) {
        std::cerr << "skyhog-bench: " << error << '\n';
        return 1;
    }

    JsonObject result;
    {
        StdoutSilencer quiet; // the game's own progress lines stay off standard output
        Benchmark benchmark(options, mainStarted);
        result = benchmark.run();
    }
    std::cout << result.str() << std::endl;
    return 0;
}
