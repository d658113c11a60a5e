// Entry point of every test program: GoogleTest on the thread that also owns the windows under test,
// with every box that thread opens watched from the start.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "dialog_driver.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    testing_support::WatchBoxes();
    return RUN_ALL_TESTS();
}
