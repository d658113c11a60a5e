// The main window's cut commands and the run between them: 15 starts a run, 16 ends it, 23 shows
// the cut settings. The main window owns one of these for its whole life.
#pragma once

#include <windows.h>

#include <memory>

class CommandHost;
class LogCutFile;

class CutCommands {
public:
    explicit CutCommands(CommandHost& host);
    ~CutCommands();
    CutCommands(const CutCommands&) = delete;
    CutCommands& operator=(const CutCommands&) = delete;

    void Start();  // 15
    // 16, posted by the worker at its end. Sent while the run still goes on, it stops the run first.
    void Finish();
    void Options();  // 23
    // Before the window closes or the session ends, without waiting: the run stops at its next
    // line and CutMode and CutCheck are put back, so that the settings can be written at once.
    void Interrupt();
    // Ends a running cut as Interrupt does, then waits for the worker at most limit ms. Once it has
    // ended the run is closed and, when tell is set, the user learns that it was stopped before it
    // was through. False when the worker still runs. The list is not reloaded.
    bool Stop(DWORD limit = INFINITE, bool tell = true);

    // The run between commands 15 and 16, or null.
    LogCutFile* Running() const { return run_.get(); }

private:
    void RestoreChoices();

    CommandHost& host_;
    std::unique_ptr<LogCutFile> run_;
    bool waiting_ = false;  // a Stop waits for the worker
    // CutMode and CutCheck as they were before the confirmation changed them for one run.
    int savedMode_ = 0;
    int savedCheck_ = 0;
};
