// An 8-bit colour as tests write it and read it back, held in ints so that
// differences and tolerances need no casts.
#pragma once

namespace SkyhogTest {

struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
    bool operator==(const Rgb&) const = default;
};

} // namespace SkyhogTest
