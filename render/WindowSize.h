// The window's size in pixels, fixed at start-up. Every offscreen target and
// the viewport have exactly this size.
#pragma once
#include <cstdint>

namespace Skyhog {

class WindowSize {
public:
    WindowSize() = default;
    WindowSize(std::int32_t width, std::int32_t height) : width_(width), height_(height) {}

    std::int32_t getWidth() const { return width_; }
    std::int32_t getHeight() const { return height_; }

private:
    std::int32_t width_ = 1024;
    std::int32_t height_ = 768;
};

} // namespace Skyhog
