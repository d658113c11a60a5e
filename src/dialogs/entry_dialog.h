// The entry dialog EDITLISTBOX: adds an entry to the log list or edits the selected one, and keeps
// the browser history. The variants differ in their caption, their first fields and Apply.
#pragma once
#include <windows.h>

#include "loglist/log_entry.h"

class CommandHost;

class DlgEditBase {
public:
    explicit DlgEditBase(CommandHost& host);
    // True closes the dialog as confirmed, false leaves it open. The base accepts.
    virtual bool Apply(HWND dialog);
    virtual ~DlgEditBase();
    DlgEditBase(const DlgEditBase&) = delete;
    DlgEditBase& operator=(const DlgEditBase&) = delete;

    // Runs the dialog modally with proc over this object: true when confirmed.
    bool Show(DLGPROC proc);
    // The procedure all variants share; their exported procedures hand every message to it.
    static INT_PTR Dispatch(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    virtual UINT CaptionId() const = 0;
    // Fills the fields at the start; false ends the dialog with 0 before it is shown.
    virtual bool InitFields(HWND dialog);

    // The three fields as an entry with SeenTime now and its file's status, or false after the
    // message of the first check that fails (the dialog stays open, the fields as typed).
    bool ReadEntry(HWND dialog, LogEntry* entry);
    // After the list took the entry at row: select it once the command's reload is done, and put
    // its browser at the top of the history.
    void Commit(int row, const char* browserName);

    CommandHost& host_;

private:
    static INT_PTR Handle(DlgEditBase& self, HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnInitDialog(HWND dialog);
    INT_PTR OnCommand(HWND dialog, WPARAM wParam);
    void BrowseLogFile(HWND dialog);
    void BrowseBrowser(HWND dialog);
    void OpenInEditor(HWND dialog);
};

// Edits the selected row: Apply replaces it.
class DlgEditList : public DlgEditBase {
public:
    using DlgEditBase::DlgEditBase;
    bool Apply(HWND dialog) override;

protected:
    UINT CaptionId() const override;
    bool InitFields(HWND dialog) override;
};

// Adds a row. A variant may preset the log file name (dropped files do).
class DlgAddList : public DlgEditBase {
public:
    using DlgEditBase::DlgEditBase;
    bool Apply(HWND dialog) override;

protected:
    UINT CaptionId() const override;
};

// Puts text into the log file name field (at most the 259 bytes that are stored).
void SetLogFileNameField(HWND dialog, const char* text);

extern "C" INT_PTR WINAPI EditListDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
extern "C" INT_PTR WINAPI AddListDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
