#include "tests/support/Process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <thread>

namespace SkyhogTest {
namespace {

void drain(int fd, std::string& into)
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof(buffer));
        if (n <= 0) return;
        into.append(buffer, static_cast<std::size_t>(n));
    }
}

// In the forked child: output to the pipes, input from /dev/null, the
// working folder and environment of the options, then the program. Never returns.
[[noreturn]] void execChild(const std::filesystem::path& program, const std::vector<std::string>& args,
                            const ProcessOptions& options, const int out[2], const int err[2])
{
    dup2(out[1], 1);
    dup2(err[1], 2);
    close(out[0]);
    close(err[0]);
    const int devnull = open("/dev/null", O_RDONLY);
    if (devnull >= 0) dup2(devnull, 0);
    if (!options.workingDirectory.empty() && chdir(options.workingDirectory.c_str()) != 0) _exit(127);
    for (const auto& [name, value] : options.environment) setenv(name.c_str(), value.c_str(), 1);
    std::vector<char*> argv;
    std::string programText = program.string();
    argv.push_back(programText.data());
    std::vector<std::string> copies = args;
    for (std::string& arg : copies) argv.push_back(arg.data());
    argv.push_back(nullptr);
    execv(programText.c_str(), argv.data());
    _exit(127);
}

// Starts a shell step in the background, so the caller keeps draining the
// pipes; the step finds the program's process id in SKYHOG_PID.
void startShellStep(const std::string& step, pid_t pid)
{
    const std::string command = "(export SKYHOG_PID=" + std::to_string(pid) + "; " + step + ") >/dev/null 2>&1 &";
    [[maybe_unused]] int ignored = std::system(command.c_str());
}

} // namespace

ProcessResult runProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                         const ProcessOptions& options)
{
    int out[2], err[2];
    if (pipe(out) != 0 || pipe(err) != 0) return {};
    const pid_t pid = fork();
    if (pid == 0) execChild(program, args, options, out, err);
    close(out[1]);
    close(err[1]);
    fcntl(out[0], F_SETFL, O_NONBLOCK);
    fcntl(err[0], F_SETFL, O_NONBLOCK);

    ProcessResult result;
    std::ofstream mirror;
    if (!options.outputMirror.empty()) mirror.open(options.outputMirror, std::ios::binary | std::ios::trunc);
    const auto start = std::chrono::steady_clock::now();
    std::size_t nextStep = 0;
    int status = 0;
    for (;;) {
        pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
        poll(fds, 2, 20);
        const std::size_t seen = result.output.size();
        drain(out[0], result.output);
        drain(err[0], result.errors);
        if (mirror.is_open() && result.output.size() > seen) {
            mirror.write(result.output.data() + seen, static_cast<std::streamsize>(result.output.size() - seen));
            mirror.flush();
        }
        const auto elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
        while (nextStep < options.shellSteps.size() && elapsed >= options.shellSteps[nextStep].first)
            startShellStep(options.shellSteps[nextStep++].second, pid);
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        if (elapsed > options.timeout) {
            result.timedOut = true;
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            break;
        }
    }
    drain(out[0], result.output);
    drain(err[0], result.errors);
    close(out[0]);
    close(err[0]);
    if (WIFEXITED(status)) {
        result.exited = true;
        result.exitCode = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.signal = WTERMSIG(status);
    }
    return result;
}

} // namespace SkyhogTest
