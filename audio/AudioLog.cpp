#include "audio/AudioLog.h"

#include <cstdio>
#include <mutex>
#include <unordered_set>

namespace Skyhog::Audio {

namespace {

// Deliberately never destroyed: a message may still come during static destruction.
std::mutex& logMutex()
{
    static auto* mutex = new std::mutex;
    return *mutex;
}

std::unordered_set<std::string>& seenKeys()
{
    static auto* keys = new std::unordered_set<std::string>;
    return *keys;
}

void writeLocked(const std::string& line)
{
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

void logLine(const std::string& line)
{
    std::lock_guard lock(logMutex());
    writeLocked(line);
}

void logLineOnce(const std::string& key, const std::string& line)
{
    std::lock_guard lock(logMutex());
    if (seenKeys().insert(key).second) writeLocked(line);
}

} // namespace Skyhog::Audio
