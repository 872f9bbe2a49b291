// Builds every named GLSL program once, at start-up, from
// "../../Skyhog/Shaders/<name>.vert" and ".frag", in a fixed order, and hands
// them out by name. The library owns the programs; pointers stay valid until
// it is destroyed. Needs a current OpenGL context.
#pragma once
#include "render/ShaderProgram.h"

#include <array>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace Skyhog {

class ShaderLibrary {
public:
    // The programs, in the order they are built.
    static constexpr std::array<std::string_view, 15> Names = {
        "SkyBox", "MainPig", "Test",       "LightTest", "Particle", "Island",     "Water", "Map",
        "Lamp",   "Text",    "DebugDepth", "Depth",     "Shadow",   "DebugWater", "Intro"};

    // Loads all fifteen programs, then writes "shaders loaded" (no line end).
    ShaderLibrary();
    ~ShaderLibrary();
    ShaderLibrary(const ShaderLibrary&) = delete;
    ShaderLibrary& operator=(const ShaderLibrary&) = delete;

    // The program stored under name; an unknown name throws std::out_of_range.
    ShaderProgram* get(const std::string& name) const;

private:
    std::map<std::string, std::unique_ptr<ShaderProgram>> programs_;
};

} // namespace Skyhog
