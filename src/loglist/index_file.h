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

// Rewrites the file with the entries of rows 0 .. count-1, in that order. All rows are fetched
// before the file is touched, so a failed fetch (or a count below 0) leaves the old file as it
// was. A count of 0 leaves an empty file. False when a fetch, the creation or a write fails.
bool WriteIndexFile(const char* path, int count, const IndexEntrySource& fetch);
bool WriteIndexFile(const char* path, const std::vector<LogEntry>& entries);

// The path to write the list to: Index, or, when it is empty, the default index path, which is
// then stored in Index. Empty when neither is known.
const char* IndexPathForWrite(Environ& settings);
