// What the main window's commands, and the dialogs, the cut and the drops they start, need from the
// window they run in. The main window provides it.
#pragma once
#include <windows.h>

class Environ;
class ListMenu;
class PMessage;

class CommandHost {
public:
    virtual HINSTANCE Instance() const = 0;
    // The main window: the owner of every box and dialog of a command.
    virtual HWND Window() const = 0;
    // Commands run only while the list exists: from the window's creation until it closes.
    virtual ListMenu& List() = 0;
    virtual Environ& Settings() = 0;
    virtual const PMessage& Messages() const = 0;
    // Shows the selected row's file, size, date and time in the status bar.
    virtual void RefreshStatusBar() = 0;
    // The rows were read, added or deleted: from now on the window follows their logs.
    virtual void RowsChanged() = 0;

protected:
    ~CommandHost() = default;
};
