// Runs a program as a child process with a time limit and collects what it
// wrote, for tests that exercise the real executable.
#pragma once
#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace SkyhogTest {

struct ProcessResult {
    bool exited = false;   // ended through exit() / return, not a signal
    int exitCode = -1;     // valid when exited
    int signal = 0;        // the signal that ended it, if any
    bool timedOut = false; // killed because the time limit passed
    std::string output;    // standard output
    std::string errors;    // standard error
};

struct ProcessOptions {
    std::filesystem::path workingDirectory;
    std::map<std::string, std::string> environment; // added to (or replacing in) the current one
    std::chrono::milliseconds timeout{60000};
    // Called repeatedly while the child runs (e.g. to send input events); may be empty.
    std::vector<std::pair<std::chrono::milliseconds, std::string>> shellSteps;
    // When set, standard output is also appended to this file as it arrives,
    // so that shell steps can wait for a line the program flushed.
    std::filesystem::path outputMirror;
};

// Runs program with args; shellSteps start in the background through /bin/sh
// at their times (measured from start) while the child lives, with
// $SKYHOG_PID set to the child's process id.
ProcessResult runProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                         const ProcessOptions& options);

} // namespace SkyhogTest
