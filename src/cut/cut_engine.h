// The string-line cut without windows: line rules, classifying and rewriting lines, and the run
// over log files through a work file. The worker thread and the tests plug in through CutHost.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "cut/cut_table.h"

enum class CutKind { Keep, Cut, Bs, Ctrl };

// What the run tells its surroundings and asks them. The defaults do nothing, answer OK to every
// question and write and copy through the file system.
class CutHost {
public:
    virtual ~CutHost() = default;
    virtual void SetRange(unsigned long long totalBytes) { (void)totalBytes; }
    // Only called when the bar position (bytes divided by ProgressUnit of the total) changes.
    virtual void SetPosition(unsigned long long bytes) { (void)bytes; }
    virtual void ShowFile(const char* path, int placeCount) { (void)path, (void)placeCount; }
    virtual void ShowChange(CutKind kind, int placeCount) { (void)kind, (void)placeCount; }
    // true: cut the line; false: keep it as read.
    virtual bool AskCut(const char* line, size_t length) { return (void)line, (void)length, true; }
    // A message of the PMessage table (21 to 25).
    virtual void ShowMessage(int number) { (void)number; }
    // A string-table text followed by the file it concerns.
    virtual void ShowFileMessage(UINT textId, const char* path) { (void)textId, (void)path; }
    virtual bool WriteWork(HANDLE file, const void* data, DWORD size);
    // Put the finished work file at the log's place: by a rename (a failure leaves the log as it
    // was), or, across volumes, by a copy (a failure may leave part of it behind).
    virtual bool MoveWork(const char* workPath, const char* logPath);
    virtual bool CopyWork(const char* workPath, const char* logPath);
};

struct CutOptions {
    bool ask = false;     // CutCheck
    bool backup = false;  // BakFile
    const volatile LONG* stop = nullptr;
};

// Bytes per bar step: 1000, or more when the range would not fit the bar's 16 bits.
unsigned long long ProgressUnit(unsigned long long totalBytes);

// The kind of a line by its bytes alone, the question not counted.
CutKind ClassifyLine(const CutTable& table, const char* line, size_t length);
// A BS removes itself and the byte written before it; out holds length bytes. Returns the new length.
size_t ApplyBackspaces(const char* line, size_t length, char* out);
// Drops every 0x05 byte; out holds length bytes. Returns the new length.
size_t RemoveCtrl05(const char* line, size_t length, char* out);
// The path without the extension of its file name, followed by ".bak"; false when it would not
// fit, or when the file name's own extension is .bak in any case (the log would be its own backup).
bool BackupName(const char* path, char out[MAX_PATH]);
// The question's text: the question, CR LF, a full-width space and the line between 「 and 」.
// The line ends at a NUL byte and is shortened at a character boundary when very long.
std::string FormatCutQuestion(const char* question, const char* line, size_t length);

class CutEngine {
public:
    static constexpr DWORD kBlockSize = 1 << 20;

    CutEngine(const CutTable& table, const CutOptions& options, CutHost& host);
    ~CutEngine();
    CutEngine(const CutEngine&) = delete;
    CutEngine& operator=(const CutEngine&) = delete;

    void Begin(unsigned long long totalBytes);
    // false ends the run: the file could not be opened, or the run failed or was stopped in it.
    bool ProcessFile(const char* path);
    void End();
    // The line loop alone, from one open file to another; false after a message (23 to 25 or no memory).
    bool CutStream(HANDLE in, HANDLE out, bool* changed);

    int PlaceCount() const { return placeCount_; }
    unsigned long long Processed() const { return processed_; }

private:
    enum class LoopResult { Done, ReadError, WriteError, Stopped, NoMemory };
    LoopResult LineLoop(HANDLE in, HANDLE out);
    bool Replace(const char* logPath, const char* workPath);
    bool StopRequested() const { return options_.stop && *options_.stop; }

    const CutTable& table_;
    CutOptions options_;
    CutHost& host_;
    int placeCount_ = 0;
    bool changed_ = false;
    unsigned long long processed_ = 0;
    unsigned long long total_ = 0;
    unsigned long long unit_ = 1000;
    unsigned long long nextReport_ = 1000;
    unsigned long long lastReported_ = 0;
};

// A whole run as the worker does it: the size of every file as total (0 for a file that cannot be
// opened), the files in order until the first that ends the run, then the bar at its end. True
// when every file was processed.
bool RunCut(CutEngine& engine, const std::vector<std::string>& paths);
unsigned long long TotalSize(const std::vector<std::string>& paths);
