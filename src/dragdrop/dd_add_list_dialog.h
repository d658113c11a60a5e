// The add dialog for a dropped file: the entry dialog's add variant with the log file name preset.
#pragma once
#include <windows.h>

#include "dialogs/entry_dialog.h"

class DlgDDAddList : public DlgAddList {
public:
    DlgDDAddList(HWND mainWindow, ListMenu& list, Environ& settings, const PMessage& messages,
                 const char* droppedPath);
    // Runs the dialog modally: 1 when an entry was added (or the list refused it after saying so),
    // 0 when cancelled.
    INT_PTR Open();

protected:
    bool InitFields(HWND dialog) override;

private:
    char droppedPath_[MAX_PATH] = "";
};

extern "C" INT_PTR WINAPI DDAddListDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
