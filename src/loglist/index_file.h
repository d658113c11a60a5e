// The index table file: one log entry per CR LF line, "name,browser,list name,seen low,seen high".
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

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

// Receives each entry read; answers its row index, or -1 when it cannot be stored.
using IndexEntryConsumer = std::function<int(const LogEntry& entry)>;

// Hands each line's entry, in file order and with its file status, to the consumer. A line ends
// at CR LF, a lone CR or a lone LF; lines of any length are read whole; a last line without a
// line end counts; an empty line gives an entry with empty texts. The file is read whole first,
// so false when it cannot be opened or read comes before any entry; false too when the consumer
// refuses an entry, and the entries handed over before stay with the consumer.
bool ReadIndexFile(const char* path, const DateMacroTexts& macros, const IndexEntryConsumer& consumer);

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
// Routes WriteIndexFile's steps to ops (null puts the file system's back); returns the previous ones.
IndexFileOps* SetIndexFileOps(IndexFileOps* ops);

// Writes the entries of rows 0 .. count-1, in that order, to a new file beside the old one, which
// it replaces once it is written and flushed. False when a fetch, the count, a write, the flush or
// the replacement fails; the old file is then left as it was and the new one removed. A count of
// 0 leaves an empty file.
bool WriteIndexFile(const char* path, int count, const IndexEntrySource& fetch);
bool WriteIndexFile(const char* path, const std::vector<LogEntry>& entries);

// A path in the data folder for a list that was not read from a file there: the default path,
// or, when a file already lies there, the first free one of Kelvora2.dat, Kelvora3.dat and so on.
// Empty when the data folder is unknown or no name is free.
void FreeIndexPath(HINSTANCE instance, char out[MAX_PATH]);

// The path to write the list to: Index, or, when it is empty, a free path in the data folder
// (never a file that this run did not read), which is then stored in Index. Empty when neither
// is known.
const char* IndexPathForWrite(Environ& settings);
