#include "dragdrop/dd_add_list_dialog.h"

#include "lib/core/byte_text.h"

DlgDDAddList::DlgDDAddList(CommandHost& host, const char* droppedPath) : DlgAddList(host) {
    bytetext::CopyFit(droppedPath_, droppedPath ? droppedPath : "", sizeof droppedPath_ - 1);
}

bool DlgDDAddList::Open() { return Show(DDAddListDlgProc); }

bool DlgDDAddList::InitFields(HWND dialog) {
    // Only the log file comes from the drop: list name and browser are the user's to give.
    SetLogFileNameField(dialog, droppedPath_);
    return true;
}

extern "C" INT_PTR WINAPI DDAddListDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return DlgEditBase::Dispatch(dialog, message, wParam, lParam);
}
