// Entry point of the window tests: one application object for all of them (the program's
// own, with its behaviour for every window), on the offscreen platform unless the
// environment chose another one.
#include "app/forms/RurApplication.h"

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    rur::app::RurApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
