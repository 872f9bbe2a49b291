#include "render/ShaderLibrary.h"

#include "render/DataPaths.h"

#include <iostream>

namespace Skyhog {

ShaderLibrary::ShaderLibrary()
{
    for (std::string_view name : Names) {
        const std::string base = DataRoot + "Shaders/" + std::string(name);
        programs_.emplace(std::string(name), std::make_unique<ShaderProgram>(base + ".vert", base + ".frag"));
    }
    std::cout << "shaders loaded" << std::flush;
}

ShaderLibrary::~ShaderLibrary() = default;

ShaderProgram* ShaderLibrary::get(const std::string& name) const
{
    return programs_.at(name).get();
}

} // namespace Skyhog
