// The log list: an owner-drawn, sorted list box whose rows each own a copy of a log entry.
#pragma once
#include <windows.h>

#include "lib/owned.h"
#include "loglist/log_entry.h"

class Environ;
class PMessage;

class ListMenu {
public:
    // Creates the list control (id 700) at rect in the main window.
    ListMenu(HINSTANCE instance, HWND mainWindow, Environ& settings, const PMessage& messages, const RECT& rect);
    // Subclasses the control with ListProc and gives it the list font. ListProc finds this object
    // through the application object, so this runs once the object is stored there.
    void Attach();
    ~ListMenu();  // frees the rows; the list is saved by the window before
    ListMenu(const ListMenu&) = delete;
    ListMenu& operator=(const ListMenu&) = delete;

    HWND Control() const { return list_; }
    HFONT Font() const { return font_.Get(); }
    WNDPROC PreviousProc() const { return previousProc_; }

    // Row operations; -1 on failure.
    int AddEntry(const LogEntry& entry);  // composes the row text and inserts it at its sorted place
    int DeleteEntry(int index);           // the number of rows left
    void ClearEntries();
    int GetEntryCount() const;
    int GetEntry(int index, LogEntry* out) const;  // on failure the output is emptied
    int GetSelection() const;
    void Select(int index);

    bool LoadList();
    // Writes the rows to the index file. After a load that failed the file is left alone: it may
    // hold entries that never reached the list, and an empty or partial list must not replace them.
    bool SaveList();
    void RecreateListFont();
    void ComputeColumnStops();
    void EnableEntryCommands();
    void DisableEntryCommands();

    // Owner-draw services for the main window.
    int RowHeight() const;
    void Draw(const DRAWITEMSTRUCT& item) const;
    int Compare(const COMPAREITEMSTRUCT& item) const;

private:
    int InsertRow(const LogEntry& entry, bool sorted);
    void SetEntryCommands(bool enabled);

    HINSTANCE instance_;
    HWND mainWindow_;
    HWND list_ = nullptr;
    OwnedFont font_;
    WNDPROC previousProc_ = nullptr;
    bool loadFailed_ = false;
    Environ& settings_;
    const PMessage& messages_;
};
