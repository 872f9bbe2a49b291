// main() for GL test executables: one shared hidden-window context.
#include "tests/support/GlTestContext.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    SkyhogTest::installGlEnvironment();
    return RUN_ALL_TESTS();
}
