// Start-up maintenance: tidies up after older installations of the program.
#pragma once
#include <windows.h>

class Environ;

// Removes the old help files, the old helper program and the old uninstall entry, once per user.
void FirstRunCleanup(HINSTANCE instance, Environ& settings);
// Fills an empty DisplayIcon value of the installer's uninstall entry.
void RepairUninstallIcon(HINSTANCE instance);
