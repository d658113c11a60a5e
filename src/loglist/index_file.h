// The index table file: one log entry per CR LF line, "name,browser,list name,seen low,seen high".
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "lib/core/seam.h"
#include "loglist/date_macros.h"
#include "loglist/log_entry.h"

class Environ;

// Fills the persisted fields from one line without its line end. Each text is cut at its field's
// width on a character boundary; the rest of an over-long field is skipped up to its comma.
// Missing fields are empty; SeenTime is 0 unless a fifth field is present. The derived fields
// are cleared: RefreshFileStatus and BuildDisplayText fill them.
void ParseIndexLine(const char* line, LogEntry* entry);

// The line for one entry, CR LF included.
std::string FormatIndexLine(const LogEntry& entry);

// False when text holds a single-byte comma, which the line format cannot carry: such a text
// would be split into the following fields when read back. The entry dialogs refuse it.
bool IsStorableIndexField(const char* text);

// FileTime (last write, local time) and FileSize of the log file named by LogFileName after date
// macro expansion, also while another program holds it open; both 0 when it is missing, a folder
// or cannot be looked at.
void RefreshFileStatus(LogEntry* entry, const DateMacroTexts& macros);

// The most entries a list holds: 100,000. Each costs about 800 bytes in its row and as much again
// while the file is read, so a longer file would ask more of a 32-bit program than it can count on.
constexpr int kIndexEntryLimit = 100000;

// How reading an index file ended.
enum class IndexRead {
    Read,        // every entry was read
    Unreadable,  // the file could not be opened or read, or there was no memory to hold its entries
    TooLong,     // more entries than kIndexEntryLimit, or more bytes than a list of them takes
    NotAList,    // NUL bytes, or lines of which none carries the three text fields (two commas)
};

// The entries of an index file, in file order. They live in one block taken without throwing, so
// that a list larger than the memory left is a failed read and not the end of the program.
class IndexEntries {
public:
    int Count() const { return count_; }
    const LogEntry& operator[](int i) const { return entries_[i]; }
    LogEntry& operator[](int i) { return entries_[i]; }
    // Room for count entries, all empty; false (and none) when the memory is not there.
    bool Reset(int count);

private:
    std::unique_ptr<LogEntry[]> entries_;
    int count_ = 0;
};

// Reads the entries of the file, each with its file status. A line ends at CR LF, a lone CR or a
// lone LF; lines of any length are read whole; a last line without a line end counts. A blank
// line (nothing, or only spaces, TABs and full-width spaces) is no entry; every other line is one.
// An empty file, or one of blank lines only, is an empty list. On any result but Read, entries
// holds none.
IndexRead ReadIndexFile(const char* path, const DateMacroTexts& macros, IndexEntries* entries);
// The same judgement of the file without reading the entries' file status.
IndexRead CheckIndexFile(const char* path);

// Fetches the entry of a row; false when the row cannot be had.
using IndexEntrySource = std::function<bool(int index, LogEntry* out)>;

// The file steps of writing the index file. The defaults use the file system; tests put in
// ones that fail part way.
class IndexFileOps {
public:
    virtual ~IndexFileOps() = default;
    virtual bool Write(HANDLE file, const void* data, DWORD size);
    virtual bool Flush(HANDLE file);
    // Puts the finished new file in the old one's place.
    virtual bool Replace(const char* from, const char* to);
};
// The steps WriteIndexFile takes.
extern Seam<IndexFileOps*> indexFileOpsSeam;

// Writes the entries of rows 0 .. count-1, in that order, to a new file beside the old one, which
// it replaces once it is written and flushed. False when a fetch, the count (more than
// kIndexEntryLimit, which could not be read back), the memory, a write, the flush or the
// replacement fails; the old file is then left as it was and the new one removed. A count of 0
// leaves an empty file.
bool WriteIndexFile(const char* path, int count, const IndexEntrySource& fetch);

// The path to write the list to: Index, or, when it is empty, a free path in the data folder
// (never a file that this run did not read), which is then stored in Index. Empty when neither
// is known.
const char* IndexPathForWrite(Environ& settings);
