// One run of the string-line cut: the cut table, the progress dialog and the worker thread.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "cut/cut_table.h"
#include "cut/log_cut_dialog.h"
#include "lib/core/owned.h"
#include "lib/core/seam.h"

class CommandHost;
class Environ;
class ListMenu;

// Every message box of the cut goes through this function (MessageBoxA), so that tests can answer
// the boxes the worker thread shows.
using CutMessageBoxFunction = int(WINAPI*)(HWND owner, LPCSTR text, LPCSTR caption, UINT style);
extern Seam<CutMessageBoxFunction> cutMessageBoxSeam;
int CutMessageBox(HWND owner, const char* text, const char* caption, UINT style);

class LogCutFile {
public:
    // Loads the cut table from CutFile; a file that cannot be read is reported here, on the
    // user interface thread, and leaves the run not ready.
    explicit LogCutFile(CommandHost& host);
    ~LogCutFile();
    LogCutFile(const LogCutFile&) = delete;
    LogCutFile& operator=(const LogCutFile&) = delete;

    bool Ready() const { return ready_; }
    // Shows the progress dialog, disables the main window and starts the worker on the log files
    // of the run (all entries for CutMode 1, else the selected one).
    bool Start();
    // Stops the run from outside while it still goes on (the window closes, the session ends,
    // command 16 came early), without waiting: a question that is showing is cancelled and the
    // worker stops at its next line, leaving the log of that file as it was and no work file.
    void Interrupt();
    // Waits at most limit ms (or INFINITE) for the worker, handling the messages it sends
    // meanwhile; true once it has ended.
    bool WaitForWorker(DWORD limit);
    // Ends the run: after the worker posted its end, or from outside as Interrupt does. Waits for
    // the worker and closes the dialog. True when the run was stopped from outside before it was through.
    bool Finish();
    LogCutDialog& Progress() { return progress_; }

private:
    static DWORD WINAPI Worker(void* self);
    void Run();
    void CollectPaths();

    HINSTANCE instance_;
    HWND mainWindow_;
    bool ready_ = false;
    bool ask_ = false;
    bool backup_ = false;
    CutTable table_;
    OwnedHandle worker_;
    DWORD workerId_ = 0;
    volatile LONG interrupted_ = 0;  // stopped from outside: the worker shows no more boxes
    volatile LONG runEnded_ = 0;     // set by the worker once the files are done with
    volatile LONG completed_ = 0;    // every file was processed
    ListMenu& list_;
    Environ& settings_;
    std::vector<std::string> paths_;
    LogCutDialog progress_;
};
