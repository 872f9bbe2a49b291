// Keeps standard output free for the benchmark's one JSON object: while a
// StdoutSilencer lives, std::cout writes into a buffer that keeps only its
// latest text, and file descriptor 1 points at /dev/null (for output that
// bypasses std::cout); both come back when it is destroyed. Standard error is
// left alone. Should the game end the process while silenced (its fatal
// errors go to std::cout), the kept text is written to standard error.
#pragma once
#include <ostream>
#include <streambuf>
#include <string>

namespace Skyhog::Bench {

// A stream buffer that accepts and forgets everything.
class NullBuffer : public std::streambuf {
protected:
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char_type*, std::streamsize count) override { return count; }
};

// An output stream that formats as usual and writes nowhere.
class NullStream : public std::ostream {
public:
    NullStream() : std::ostream(&buffer_) {}

private:
    NullBuffer buffer_;
};

// A stream buffer that keeps about the last `keep` characters written to it.
class TailBuffer : public std::streambuf {
public:
    explicit TailBuffer(std::size_t keep = 2048) : keep_(keep) {}
    std::string tail() const;

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char_type* text, std::streamsize count) override;

private:
    void trim();
    std::size_t keep_;
    std::string text_;
};

class StdoutSilencer {
public:
    StdoutSilencer();
    ~StdoutSilencer();
    StdoutSilencer(const StdoutSilencer&) = delete;
    StdoutSilencer& operator=(const StdoutSilencer&) = delete;

private:
    static void reportOnExit();

    TailBuffer sink_;
    std::streambuf* savedBuffer_ = nullptr;
    int savedDescriptor_ = -1;
};

} // namespace Skyhog::Bench
