#include "Quiet.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace Skyhog::Bench {
namespace {

// The silencer in effect, for the exit handler; null when output flows normally.
StdoutSilencer* active = nullptr;
const TailBuffer* activeSink = nullptr;

} // namespace

std::string TailBuffer::tail() const
{
    return text_.size() > keep_ ? text_.substr(text_.size() - keep_) : text_;
}

TailBuffer::int_type TailBuffer::overflow(int_type c)
{
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        text_ += traits_type::to_char_type(c);
        trim();
    }
    return traits_type::not_eof(c);
}

std::streamsize TailBuffer::xsputn(const char_type* text, std::streamsize count)
{
    text_.append(text, static_cast<std::size_t>(count));
    trim();
    return count;
}

void TailBuffer::trim()
{
    // Cut rarely, so appending stays cheap.
    if (text_.size() > 4 * keep_) text_.erase(0, text_.size() - keep_);
}

StdoutSilencer::StdoutSilencer()
{
    static bool handlerInstalled = false;
    if (!handlerInstalled) {
        std::atexit(reportOnExit);
        handlerInstalled = true;
    }
    std::cout.flush();
    std::fflush(stdout);
    savedBuffer_ = std::cout.rdbuf(&sink_);
    savedDescriptor_ = dup(STDOUT_FILENO);
    const int devNull = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (devNull >= 0) {
        dup2(devNull, STDOUT_FILENO);
        close(devNull);
    }
    active = this;
    activeSink = &sink_;
}

StdoutSilencer::~StdoutSilencer()
{
    active = nullptr;
    activeSink = nullptr;
    std::fflush(stdout);
    if (savedDescriptor_ >= 0) {
        dup2(savedDescriptor_, STDOUT_FILENO);
        close(savedDescriptor_);
    }
    std::cout.rdbuf(savedBuffer_);
    std::cout.clear();
}

void StdoutSilencer::reportOnExit()
{
    if (active == nullptr || activeSink == nullptr) return;
    std::cerr << "skyhog-bench: the game ended the process during the run; its last output:\n"
              << activeSink->tail() << std::endl;
}

} // namespace Skyhog::Bench
