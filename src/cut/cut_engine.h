// The string-line cut without windows: line rules, classifying and rewriting lines, and the run
// over log files through a work file. The worker thread and the tests plug in through CutHost.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "cut/cut_table.h"
#include "lib/core/byte_scan.h"
#include "lib/core/owned.h"

enum class CutKind { Keep, Cut, Bs, Ctrl };

// Why the run left a file as it was, without a work file or a backup.
enum class LeftAloneReason { NotText, ReadOnly };
struct LeftAloneFile {
    LeftAloneReason reason;
    std::string path;
};

// What the run tells its surroundings and asks them, and the system calls that tests make fail. The
// defaults do nothing, answer OK to every question and work through the file system and the heap.
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
    // Once at the end of a run that left files as they were, all of them in run order.
    virtual void ShowLeftAlone(const std::vector<LeftAloneFile>& files) { (void)files; }
    virtual bool WriteWork(HANDLE file, const void* data, DWORD size);
    // Put the finished work file where the log was, once the log has left that place: by a rename,
    // or, across volumes, by a copy that is on the disk when it returns. Neither replaces a file
    // that stands there (a writer may have begun the log anew): that fails with ERROR_ALREADY_EXISTS
    // or ERROR_FILE_EXISTS. A failed copy may leave part of the file behind.
    virtual bool MoveWork(const char* workPath, const char* logPath);
    virtual bool CopyWork(const char* workPath, const char* logPath);
    // The new empty work file's name: in the log's folder, else in the temporary folder.
    virtual bool NameWorkFile(const char* logPath, char workPath[MAX_PATH]);
    virtual bool ReadLog(HANDLE file, void* buffer, DWORD size, DWORD* got);
    // A block of the process heap, or null.
    virtual void* Allocate(size_t size);
};

struct CutOptions {
    bool ask = false;     // CutCheck
    bool backup = false;  // BakFile
    const volatile LONG* stop = nullptr;
};

// How much of a file's beginning decides whether it is a text log.
constexpr size_t kTextCheckBytes = 64 * 1024;
// True when the first bytes of a file (at most kTextCheckBytes of head) are those of a text log that
// the cut may rewrite: no NUL byte and no UTF-16 or UTF-32 byte-order mark. The line rules would
// break any other file (in UTF-16 the characters U+3005, U+3008, U+300A and U+300D hold the bytes
// 05, 08, 0A and 0D). UTF-8, with or without its byte-order mark, is text.
bool IsTextLog(const char* head, size_t size);
// The notice about the files a run left alone: each reason's heading followed by its files, one a
// line; past maxNames files of a reason, more (a format with %d) gives the number of the others.
std::string FormatLeftAlone(const std::vector<LeftAloneFile>& files, const std::string& notTextHeading,
                            const std::string& readOnlyHeading, const std::string& more, size_t maxNames);

// Bytes per bar step: 1000, or more when the range would not fit the bar's 16 bits.
unsigned long long ProgressUnit(unsigned long long totalBytes);

// One line of a block, as the scan for line ends found it.
struct ScannedLine {
    const char* start;
    size_t length;      // without the line end
    size_t endLength;   // 2 for CR LF, 1 for a lone CR or LF, 0 for a last line without one
    bool bsBeforeLast;  // a BS stands before the line's last byte
    bool has05;         // a 0x05 stands in the line
    const char* Next() const { return start + length + endLength; }
};

// Scans the line that starts at p, up to end. A line ends at CR LF, a lone CR or a lone LF; at
// the end of the data (eof) the rest is the last line. False when nothing is left, or when the
// line may go on past end (then more data is needed first: a CR at end may meet its LF later).
inline bool ScanLine(const char* p, const char* end, bool eof, ScannedLine* line);

// The kind of a line by its bytes alone, the question not counted: the first of cut (it begins
// with a string of the table), BS removal (a BS before its last byte), Ctrl removal (a 0x05),
// keep.
inline CutKind ClassifyLine(const CutTable& table, const ScannedLine& line);
// What a line of that kind becomes, rewritten in place; the new length. BS removal: each BS
// removes itself and the byte written before it (the second byte only of a double-byte
// character). Ctrl removal: every 0x05 goes. Other kinds keep their bytes.
size_t RewriteLine(CutKind kind, char* line, size_t length);
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
    // false ends the run: the file could not be opened, or the run failed or was stopped in it. A
    // read-only file or one that is no text log is left as it is, and the run goes on.
    bool ProcessFile(const char* path);
    // The bar at its end, then the files left alone, if any, in one notice.
    void End();
    // The line loop alone, from one open file to another; false after a message (23 to 25 or no memory).
    bool CutStream(HANDLE in, HANDLE out, bool* changed);

    int PlaceCount() const { return placeCount_; }

private:
    enum class LoopResult { Done, ReadError, WriteError, Stopped, NoMemory };
    enum class Replacement { Done, Failed, WorkKept };
    // stoppable: the stop flag ends the loop (not so for lines carried into a finished work file).
    LoopResult LineLoop(HANDLE in, HANDLE out, bool stoppable = true);
    // The kind that the line gets: its class, a cut line asked about when the user wants that.
    CutKind Decide(const ScannedLine& line);
    void CountProgress(size_t length);
    Replacement Replace(OwnedFile log, const char* logPath, const char* workPath);
    bool CarryNewLog(const char* logPath, const char* workPath);
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
    std::vector<LeftAloneFile> leftAlone_;
};

// A whole run as the worker does it: the size of every file as total (0 for a file that cannot be
// opened), the files in order until the first that ends the run, then the bar at its end. True
// when every file was processed.
bool RunCut(CutEngine& engine, const std::vector<std::string>& paths);
unsigned long long TotalSize(const std::vector<std::string>& paths);

// ---- the per-line parts of the loop, inline for its speed ----

inline bool ScanLine(const char* p, const char* end, bool eof, ScannedLine* line) {
    if (p == end) return false;
    const char* q = p;
    const char* lastBs = nullptr;
    int bsCount = 0;
    bool has05 = false;
    size_t endLength = 0;
    for (;; ++q) {
        q = bytescan::FindLineOrControl(q, end);
        if (q == end) {
            if (!eof) return false;
            break;  // the last line, without a line end
        }
        const char c = *q;
        if (c == '\n') {
            endLength = 1;
            break;
        }
        if (c == '\r') {
            if (q + 1 == end && !eof) return false;  // its LF may come with the next block
            endLength = q + 1 < end && q[1] == '\n' ? 2 : 1;
            break;
        }
        if (c == 0x08) {
            ++bsCount;
            lastBs = q;
        } else {
            has05 = true;
        }
    }
    line->start = p;
    line->length = static_cast<size_t>(q - p);
    line->endLength = endLength;
    line->bsBeforeLast = bsCount > 1 || (bsCount == 1 && lastBs != q - 1);
    line->has05 = has05;
    return true;
}

inline CutKind ClassifyLine(const CutTable& table, const ScannedLine& line) {
    if (table.Matches(line.start, line.length)) return CutKind::Cut;
    if (line.bsBeforeLast) return CutKind::Bs;
    if (line.has05) return CutKind::Ctrl;
    return CutKind::Keep;
}
