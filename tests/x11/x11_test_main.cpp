// Entry point of the tests that need a real X server and window manager: titles as the
// window system shows them, frames and window placement. Run through run_under_xvfb.sh.
#include "app/forms/RurApplication.h"

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    rur::app::RurApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
