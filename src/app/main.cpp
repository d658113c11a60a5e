// Entry point: the application object runs the start-up, the message loop and the shutdown.
#include <windows.h>

#include "app/kelvora_frame.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    auto* frame = new KelvoraFrame(instance);
    int exitCode = frame->Created() ? frame->Run(showCommand) : 0;
    delete frame;
    return exitCode;
}
