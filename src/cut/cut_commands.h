// The main window's cut commands and the run between them: 15 starts a run, 16 ends it, 23 shows
// the cut settings. The application object owns one of these for its whole life.
#pragma once

#include <memory>

class ListContext;
class LogCutFile;

class CutCommands {
public:
    explicit CutCommands(ListContext& context);
    ~CutCommands();
    CutCommands(const CutCommands&) = delete;
    CutCommands& operator=(const CutCommands&) = delete;

    void Start();    // 15
    // 16, posted by the worker at its end. Sent while the run still goes on, it stops the run first.
    void Finish();
    void Options();  // 23
    // Ends a running cut before the window closes or the session ends: stops it at its next line,
    // waits for the worker and puts back CutMode and CutCheck. The list is not reloaded.
    void Stop();

    // The run between commands 15 and 16, or null.
    LogCutFile* Running() const { return run_.get(); }

private:
    void RestoreChoices();

    ListContext& context_;
    std::unique_ptr<LogCutFile> run_;
    // CutMode and CutCheck as they were before the confirmation changed them for one run.
    int savedMode_ = 0;
    int savedCheck_ = 0;
};
