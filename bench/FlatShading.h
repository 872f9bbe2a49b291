// The benchmark's flat floor: while a FlatShading lives, every program of the
// shader library is linked with one fragment stage that writes a flat colour,
// so the passes draw the same geometry into the same targets with next to no
// fragment work. The programs keep their GL names, so the game draws through
// them unchanged (uniforms the flat stage lacks are simply not set). The
// programs' own fragment stages are linked back in when it goes.
// Needs the library's context current for its whole life.
#pragma once
#include "render/Gl.h"
#include "render/ShaderLibrary.h"

#include <string>
#include <vector>

namespace Skyhog::Bench {

class FlatShading {
public:
    explicit FlatShading(const ShaderLibrary& shaders);
    ~FlatShading();
    FlatShading(const FlatShading&) = delete;
    FlatShading& operator=(const FlatShading&) = delete;

    // Empty, or what went wrong (the programs are then left as they were).
    const std::string& error() const { return error_; }

private:
    struct Swap {
        GLuint program = 0;
        GLuint own = 0; // the program's own fragment stage, owned by its ShaderProgram
    };
    // Puts stage `to` in place of `from` in program and links it; false when the link fails.
    static bool relink(GLuint program, GLuint from, GLuint to);

    GLuint flat_ = 0;
    std::vector<Swap> swapped_;
    std::string error_;
};

} // namespace Skyhog::Bench
