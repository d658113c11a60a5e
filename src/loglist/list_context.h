// What the commands on the log list, and the dialogs, the cut and the drops that change it, need
// from the program around them. The application object provides it; it owns all of these.
#pragma once
#include <windows.h>

class Environ;
class ListMenu;
class PMessage;

class ListContext {
public:
    virtual HINSTANCE Instance() const = 0;
    // The main window: the owner of every box and dialog of a command.
    virtual HWND Owner() const = 0;
    // The list, from the main window's creation to its destruction; null outside that time.
    virtual ListMenu* List() = 0;
    virtual Environ& Settings() = 0;
    virtual const PMessage& Messages() const = 0;
    // Shows the selected row's file, size, date and time in the status bar.
    virtual void RefreshStatusBar() = 0;

protected:
    ~ListContext() = default;
};
