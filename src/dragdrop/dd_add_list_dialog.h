// The add dialog for a dropped file: the entry dialog's add variant with the log file name preset.
#pragma once
#include <windows.h>

#include "dialogs/entry_dialog.h"

class DlgDDAddList : public DlgAddList {
public:
    DlgDDAddList(CommandHost& host, const char* droppedPath);
    // Runs the dialog modally: true when an entry was added (or the list refused it after saying
    // so), false when cancelled.
    bool Open();

protected:
    bool InitFields(HWND dialog) override;

private:
    char droppedPath_[MAX_PATH] = "";
};

extern "C" INT_PTR WINAPI DDAddListDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
