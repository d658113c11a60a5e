// Entry point of every test program: GoogleTest on the thread that also owns the windows under test.
#include <windows.h>
#include <ole2.h>
#include <commctrl.h>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    return RUN_ALL_TESTS();
}
