#include "render/Fatal.h"

#include <cstdlib>
#include <iostream>

namespace Skyhog {

void note(std::string_view line)
{
    std::cout << line << '\n';
}

void pause()
{
    std::cout.flush();
    // The result is irrelevant: where there is no "PAUSE" command it simply fails.
    [[maybe_unused]] int ignored = std::system("PAUSE");
}

void fatal(std::string_view line)
{
    std::cout << line << std::endl;
    pause();
    std::exit(1);
}

} // namespace Skyhog
