// The log list: an owner-drawn, sorted list box whose rows each own a copy of a log entry.
#pragma once
#include <windows.h>

#include "lib/core/owned.h"
#include "loglist/file_status.h"
#include "loglist/log_entry.h"

class Environ;
class IndexEntries;
class PMessage;

class ListMenu {
public:
    // Creates the list control (id 700) at rect in the main window, with the list font at dpi and the
    // column stops measured in it (rows may be drawn before the first load succeeds).
    ListMenu(HINSTANCE instance, HWND mainWindow, Environ& settings, const PMessage& messages, const RECT& rect,
             UINT dpi);
    ~ListMenu();  // frees the rows; the list is saved by the window before
    ListMenu(const ListMenu&) = delete;
    ListMenu& operator=(const ListMenu&) = delete;

    HWND Control() const { return list_; }

    // Row operations; -1 on failure.
    int AddEntry(const LogEntry& entry);  // composes the row text and inserts it at its sorted place
    int DeleteEntry(int index);           // the number of rows left
    void ClearEntries();
    int GetEntryCount() const;
    int GetEntry(int index, LogEntry* out) const;  // on failure the output is emptied
    int GetSelection() const;
    void Select(int index);
    // Gives row index the date and size its log has now and composes its text anew; the row keeps its
    // place and only it is repainted. False when the row already showed them, or there is no such row.
    bool SetFileStatus(int index, const FileStatus& status);
    // Counts the rows added and deleted: while it stays, every row keeps its index.
    unsigned Revision() const { return revision_; }

    // Reads the list from Index (an empty Index gives an empty list and reads nothing; a missing
    // file is made, empty). A failure, a file that is not a list or one of more entries than a list
    // holds is told here, with the file's name; the commands that change the list stay greyed until
    // a load succeeds.
    bool LoadList();
    // Writes the rows to the index file; a failed write is told here, with the file's name, and
    // leaves the file as it was. After a load that failed nothing is written: the file may hold
    // entries that never reached the list. A list that was never read from a file is written
    // only once it has rows, and never over a file this run did not read (see IndexPathForWrite).
    bool SaveList();
    bool LoadFailed() const { return source_ == Source::Failed; }
    // The last load found no file at Index and made it, empty.
    bool CreatedEmpty() const { return createdEmpty_; }
    // A row was added, replaced or deleted since the list was last read or written.
    bool Changed() const { return changed_; }
    // After the list font or the columns changed: row height, font and column stops anew.
    void ApplyListFont();
    // The window moved to a monitor of another DPI: font, row height and column stops for it.
    void SetDpi(UINT dpi);
    void DisableEntryCommands();

    // Owner-draw services for the main window; sizes at the DPI.
    int RowHeight() const;
    void Draw(const DRAWITEMSTRUCT& item) const;
    int Compare(const COMPAREITEMSTRUCT& item) const;

private:
    int InsertRow(const LogEntry& entry, bool sorted);
    bool InsertInOrder(const IndexEntries& entries);
    void SetEntryCommands(bool enabled);
    void RecreateListFont();
    void ComputeColumnStops();

    HWND mainWindow_;
    HWND list_ = nullptr;
    UINT dpi_;
    OwnedFont font_;
    // Where the rows came from: nothing read yet (Index empty), the index file, or a load that failed.
    enum class Source { None, File, Failed };
    Source source_ = Source::None;
    bool createdEmpty_ = false;
    bool changed_ = false;
    unsigned revision_ = 0;
    Environ& settings_;
    const PMessage& messages_;
};
