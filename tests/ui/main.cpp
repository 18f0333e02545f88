#include "shell/CEditorApp.h"

#include <gtest/gtest.h>

// The windows are tested inside the program's own application object, so they get the
// program's font and metadata.
int main(int argc, char** argv)
{
    // Headless unless told otherwise; the test list is also read at build time, without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    rw::CEditorApp app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
