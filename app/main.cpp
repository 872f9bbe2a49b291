// Skyhog: steer a winged pig over the sea and pee on everybody on the island.
#include "app/Application.h"

int main(int argc, char** argv)
{
    return Skyhog::App::run(argc, argv);
}
