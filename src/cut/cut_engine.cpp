#include "cut/cut_engine.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "lib/core/byte_scan.h"
#include "lib/core/byte_text.h"
#include "lib/core/owned.h"
#include "lib/core/path_text.h"
#include "resources/resource_ids.h"
#include "settings/pmessage.h"

namespace {

constexpr size_t kQuestionLineBytes = 1024;

// Buffered output to the work file; after a failed write everything else is dropped.
class WorkWriter {
public:
    WorkWriter(CutHost& host, HANDLE file, char* buffer, size_t capacity)
        : host_(host), file_(file), buffer_(buffer), capacity_(capacity) {}
    void Put(const char* data, size_t size) {
        if (size == 0 || failed_) return;
        if (size > capacity_ - used_) {
            Flush();
            if (size >= capacity_ / 2) {  // large runs of kept lines go out straight from the input
                Write(data, size);
                return;
            }
        }
        std::memcpy(buffer_ + used_, data, size);
        used_ += size;
    }
    void Flush() {
        Write(buffer_, used_);
        used_ = 0;
    }
    bool Failed() const { return failed_; }

private:
    void Write(const char* data, size_t size) {
        while (size > 0 && !failed_) {
            DWORD piece = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
            if (!host_.WriteWork(file_, data, piece)) failed_ = true;
            data += piece;
            size -= piece;
        }
    }
    CutHost& host_;
    HANDLE file_;
    char* buffer_;
    size_t capacity_;
    size_t used_ = 0;
    bool failed_ = false;
};

size_t ApplyBackspaces(const char* line, size_t length, char* out) {
    size_t n = 0;  // out may be line itself: n never passes the read position
    for (size_t i = 0; i < length; ++i) {
        if (line[i] == 0x08) {
            if (n > 0) --n;
        } else {
            out[n++] = line[i];
        }
    }
    return n;
}

size_t RemoveCtrl05(const char* line, size_t length, char* out) {
    size_t n = 0;
    for (size_t i = 0; i < length; ++i) {
        if (line[i] != 0x05) out[n++] = line[i];
    }
    return n;
}

// A new empty work file: beside the log when its folder takes one, so that the result can replace
// the log by a rename, else in the temporary folder.
bool MakeWorkFileName(const char* logPath, char workPath[MAX_PATH]) {
    char folder[MAX_PATH] = "";
    pathtext::FolderOf(logPath, folder);
    if (folder[0] && GetTempFileNameA(folder, "LG", 0, workPath)) return true;
    DWORD length = GetTempPathA(MAX_PATH, folder);
    return length > 0 && length < MAX_PATH && GetTempFileNameA(folder, "LG", 0, workPath);
}

// Whether a file begins like a text log; its position is back at the start afterwards.
enum class HeadCheck { Text, NotText, ReadError, NoMemory };
HeadCheck CheckHead(CutHost& host, HANDLE file) {
    OwnedHeapBlock head(host.Allocate(kTextCheckBytes));
    if (!head) return HeadCheck::NoMemory;
    DWORD got = 0;
    LARGE_INTEGER start = {};
    if (!host.ReadLog(file, head.Get(), kTextCheckBytes, &got) || !SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) {
        return HeadCheck::ReadError;
    }
    return IsTextLog(static_cast<const char*>(head.Get()), got) ? HeadCheck::Text : HeadCheck::NotText;
}

// Renames a file through a handle opened with DELETE access; the handle stays with the file.
bool RenameOpenFile(HANDLE file, const char* to, bool replace) {
    wchar_t wide[MAX_PATH];
    const int chars = MultiByteToWideChar(CP_ACP, 0, to, -1, wide, MAX_PATH);
    if (chars <= 0) return false;
    const size_t size = sizeof(FILE_RENAME_INFO) + chars * sizeof(wchar_t);
    OwnedHeapBlock block(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size));
    if (!block) return false;
    auto* info = static_cast<FILE_RENAME_INFO*>(block.Get());
    info->ReplaceIfExists = replace;
    info->FileNameLength = static_cast<DWORD>((chars - 1) * sizeof(wchar_t));
    std::memcpy(info->FileName, wide, chars * sizeof(wchar_t));
    return SetFileInformationByHandle(file, FileRenameInfo, info, static_cast<DWORD>(size)) != 0;
}

// The file of an open handle (with DELETE access) goes when the handle is closed.
bool DeleteOnClose(HANDLE file) {
    FILE_DISPOSITION_INFO info = {TRUE};
    return SetFileInformationByHandle(file, FileDispositionInfo, &info, sizeof info) != 0;
}

// Moves an open log to a new temporary name: in its own folder, else in the work file's (the
// temporary folder, where the log's takes no such name: Windows makes none in a folder of more
// than 246 bytes), which may lie on the same volume.
bool RenameAside(HANDLE log, const char* logPath, const char* workPath, char aside[MAX_PATH]) {
    for (const char* beside : {logPath, workPath}) {
        char folder[MAX_PATH] = "";
        pathtext::FolderOf(beside, folder);
        if (!GetTempFileNameA(folder[0] ? folder : ".", "LG", 0, aside)) continue;
        if (RenameOpenFile(log, aside, true)) return true;
        DeleteFileA(aside);
    }
    return false;
}

bool NameTaken(DWORD error) { return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS; }

// How often a log that writers keep beginning anew is carried into the work file before giving up.
constexpr int kNewLogCarries = 3;

}  // namespace

bool CutHost::WriteWork(HANDLE file, const void* data, DWORD size) {
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

bool CutHost::MoveWork(const char* workPath, const char* logPath) {
    return MoveFileExA(workPath, logPath, MOVEFILE_WRITE_THROUGH) != 0;
}

bool CutHost::NameWorkFile(const char* logPath, char workPath[MAX_PATH]) { return MakeWorkFileName(logPath, workPath); }

bool CutHost::ReadLog(HANDLE file, void* buffer, DWORD size, DWORD* got) {
    return ReadFile(file, buffer, size, got, nullptr) != 0;
}

void* CutHost::Allocate(size_t size) { return HeapAlloc(GetProcessHeap(), 0, size); }

bool CutHost::CopyWork(const char* workPath, const char* logPath) {
    if (!CopyFileA(workPath, logPath, TRUE)) return false;
    OwnedFile copy(CreateFileA(logPath, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (copy && FlushFileBuffers(copy.Get())) return true;
    SetLastError(ERROR_WRITE_FAULT);  // the copy is ours: not taken for a writer's new log
    return false;
}

bool IsTextLog(const char* head, size_t size) {
    if (size > kTextCheckBytes) size = kTextCheckBytes;
    const auto* b = reinterpret_cast<const unsigned char*>(head);
    // FF FE also begins the UTF-32LE mark; the UTF-32BE mark 00 00 FE FF holds NUL bytes.
    if (size >= 2 && ((b[0] == 0xFF && b[1] == 0xFE) || (b[0] == 0xFE && b[1] == 0xFF))) return false;
    return std::memchr(head, 0, size) == nullptr;
}

std::string FormatLeftAlone(const std::vector<LeftAloneFile>& files, const std::string& notTextHeading,
                            const std::string& readOnlyHeading, const std::string& more, size_t maxNames) {
    std::string text;
    for (LeftAloneReason reason : {LeftAloneReason::NotText, LeftAloneReason::ReadOnly}) {
        size_t count = 0;
        for (const LeftAloneFile& file : files) {
            if (file.reason != reason) continue;
            if (count == 0) {
                if (!text.empty()) text += "\r\n\r\n";
                text += reason == LeftAloneReason::NotText ? notTextHeading : readOnlyHeading;
            }
            if (count++ < maxNames) text += "\r\n" + file.path;
        }
        if (count > maxNames) {
            char others[256];
            std::snprintf(others, sizeof others, more.c_str(), static_cast<int>(count - maxNames));
            text += std::string("\r\n") + others;
        }
    }
    return text;
}

unsigned long long ProgressUnit(unsigned long long totalBytes) {
    unsigned long long unit = (totalBytes + 65534) / 65535;
    return unit < 1000 ? 1000 : unit;
}

size_t RewriteLine(CutKind kind, char* line, size_t length) {
    if (kind == CutKind::Bs) return ApplyBackspaces(line, length, line);
    if (kind == CutKind::Ctrl) return RemoveCtrl05(line, length, line);
    return length;
}

bool BackupName(const char* path, char out[MAX_PATH]) {
    // Only a dot in the file name starts an extension; a dot in a folder name does not.
    const size_t length = std::strlen(path);
    char name[MAX_PATH] = "";
    pathtext::FileNameOf(path, name);
    const size_t nameStart = length - std::strlen(name);
    const char* dot = std::strrchr(path + nameStart, '.');  // '.' is never the second byte of a character
    // A log named like a backup would be its own backup: moved onto itself, then replaced.
    if (dot && lstrcmpiA(dot, ".bak") == 0) return false;
    const size_t stem = dot ? static_cast<size_t>(dot - path) : length;
    if (stem + 4 >= MAX_PATH) return false;
    std::memcpy(out, path, stem);
    std::memcpy(out + stem, ".bak", 5);
    return true;
}

std::string FormatCutQuestion(const char* question, const char* line, size_t length) {
    const void* nul = std::memchr(line, 0, length);
    if (nul) length = static_cast<size_t>(static_cast<const char*>(nul) - line);
    size_t shown = 0;
    bool shortened = false;
    while (shown < length) {
        size_t step = shown + 1 < length && bytetext::IsDoubleByte(line + shown) ? 2 : 1;
        if (shown + step > kQuestionLineBytes) {
            shortened = true;
            break;
        }
        shown += step;
    }
    std::string text(question);
    text += "\r\n\x81\x40\x81\x75";  // CR LF, full-width space, 「
    text.append(line, shown);
    if (shortened) text += "...";
    text += "\x81\x76";  // 」
    return text;
}

CutEngine::CutEngine(const CutTable& table, const CutOptions& options, CutHost& host)
    : table_(table), options_(options), host_(host) {}

CutEngine::~CutEngine() = default;

void CutEngine::Begin(unsigned long long totalBytes) {
    processed_ = 0;
    total_ = totalBytes;
    unit_ = ProgressUnit(totalBytes);
    nextReport_ = unit_;
    leftAlone_.clear();
    host_.SetRange(totalBytes);
}

void CutEngine::End() {
    // The bar ends at the total, also when line ends or a stop left processed short of it.
    host_.SetPosition(total_);
    if (!leftAlone_.empty()) host_.ShowLeftAlone(leftAlone_);
}

bool CutEngine::ProcessFile(const char* path) {
    changed_ = false;
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
        !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        leftAlone_.push_back({LeftAloneReason::ReadOnly, path});
        return true;
    }
    // The log stays open, shared with nobody, until its cut copy has taken its place, so that no
    // writer adds a line that the cut would not see; DELETE lets it be renamed aside then.
    OwnedFile log(
        CreateFileA(path, GENERIC_READ | DELETE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!log) {
        host_.ShowFileMessage(IDS_ERR_CUTLOGOPEN, path);
        return false;
    }
    switch (CheckHead(host_, log.Get())) {
    case HeadCheck::Text: break;
    case HeadCheck::NotText: leftAlone_.push_back({LeftAloneReason::NotText, path}); return true;
    case HeadCheck::ReadError: host_.ShowMessage(kMsgCutReadFailed); return false;
    case HeadCheck::NoMemory: host_.ShowFileMessage(IDS_ERR_CUTMEMORY, path); return false;
    }
    host_.ShowFile(path, placeCount_);

    char workPath[MAX_PATH] = "";
    if (!host_.NameWorkFile(path, workPath)) {
        host_.ShowMessage(kMsgWorkFileFailed);
        return false;
    }
    OwnedFile work(CreateFileA(workPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_ARCHIVE, nullptr));
    if (!work) {
        DeleteFileA(workPath);
        host_.ShowMessage(kMsgWorkFileFailed);
        return false;
    }
    // Wine writes a growing file far slower than one of its final size (1 MB writes: 0.3 s for
    // 100 MB against 0.04 s), so the work file gets the log's size first and its true end last.
    LARGE_INTEGER size = {};
    if (GetFileSizeEx(log.Get(), &size) && size.QuadPart > 0) {
        LARGE_INTEGER zero = {};
        if (SetFilePointerEx(work.Get(), size, nullptr, FILE_BEGIN)) SetEndOfFile(work.Get());
        SetFilePointerEx(work.Get(), zero, nullptr, FILE_BEGIN);
    }
    LoopResult result = LineLoop(log.Get(), work.Get());
    // A work file that is to replace the log is on the disk before it does.
    if (result == LoopResult::Done && (!SetEndOfFile(work.Get()) || (changed_ && !FlushFileBuffers(work.Get())))) {
        result = LoopResult::WriteError;
    }
    work.Reset();
    Replacement replaced = Replacement::Done;
    if (result == LoopResult::Done && changed_) replaced = Replace(std::move(log), path, workPath);
    log.Reset();
    switch (result) {
    case LoopResult::Done:
        if (replaced == Replacement::Failed) host_.ShowMessage(kMsgCopyFailed);
        if (replaced == Replacement::WorkKept) host_.ShowFileMessage(IDS_ERR_CUTWORKKEPT, workPath);
        break;
    case LoopResult::ReadError: host_.ShowMessage(kMsgCutReadFailed); break;
    case LoopResult::WriteError: host_.ShowMessage(kMsgCutWriteFailed); break;
    case LoopResult::Stopped: host_.ShowMessage(kMsgCutStopped); break;
    case LoopResult::NoMemory: host_.ShowFileMessage(IDS_ERR_CUTMEMORY, path); break;
    }
    // Kept when it is the only complete copy of the cut log.
    if (replaced != Replacement::WorkKept) DeleteFileA(workPath);
    return result == LoopResult::Done;
}

bool CutEngine::CutStream(HANDLE in, HANDLE out, bool* changed) {
    changed_ = false;
    LoopResult result = LineLoop(in, out);
    *changed = changed_;
    return result == LoopResult::Done;
}

CutEngine::Replacement CutEngine::Replace(OwnedFile log, const char* logPath, const char* workPath) {
    // The log leaves its place by a rename through the handle that kept writers out: to its
    // backup when one is wanted and none is there yet, else to a temporary name beside it, which
    // goes once the work file has taken the log's place. A log whose name allows no backup name
    // (too long, or ending in .bak itself) is cut without one.
    char aside[MAX_PATH] = "";
    const bool isBackup = options_.backup && BackupName(logPath, aside) && RenameOpenFile(log.Get(), aside, false);
    if (!isBackup && !RenameAside(log.Get(), logPath, workPath, aside)) return Replacement::Failed;
    bool placed = host_.MoveWork(workPath, logPath);
    for (int carried = 0; !placed && carried < kNewLogCarries && NameTaken(GetLastError()); ++carried) {
        if (!CarryNewLog(logPath, workPath)) break;
        placed = host_.MoveWork(workPath, logPath);
    }
    if (!placed) placed = host_.CopyWork(workPath, logPath);
    if (placed) {
        if (!isBackup) DeleteOnClose(log.Get());
        return Replacement::Done;
    }
    // The work file stays as the one complete copy of the cut log; the log goes back to its place
    // unless a writer has begun a new one there (then it stays aside, nothing lost).
    if (!NameTaken(GetLastError())) DeleteFileA(logPath);  // whatever part of the copy arrived
    RenameOpenFile(log.Get(), logPath, false);
    return Replacement::WorkKept;
}

// A writer began the log anew while it stood aside: the new log's lines go through the cut onto
// the end of the work file, and the new log goes, so that the work file can take its name.
bool CutEngine::CarryNewLog(const char* logPath, const char* workPath) {
    OwnedFile fresh(
        CreateFileA(logPath, GENERIC_READ | DELETE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    OwnedFile work(CreateFileA(workPath, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER zero = {}, end = {};
    if (!fresh || !work || !SetFilePointerEx(work.Get(), zero, &end, FILE_END)) return false;
    if (LineLoop(fresh.Get(), work.Get(), false) == LoopResult::Done && SetEndOfFile(work.Get()) &&
        FlushFileBuffers(work.Get()) && DeleteOnClose(fresh.Get())) {
        return true;
    }
    SetFilePointerEx(work.Get(), end, nullptr, FILE_BEGIN);  // the work file as it was
    SetEndOfFile(work.Get());
    return false;
}

CutEngine::LoopResult CutEngine::LineLoop(HANDLE in, HANDLE out, bool stoppable) {
    size_t capacity = kBlockSize;
    OwnedHeapBlock input(host_.Allocate(capacity));
    OwnedHeapBlock output(host_.Allocate(kBlockSize));
    if (!input || !output) return LoopResult::NoMemory;
    WorkWriter writer(host_, out, static_cast<char*>(output.Get()), kBlockSize);
    if (stoppable && StopRequested()) return LoopResult::Stopped;

    size_t filled = 0;
    bool eof = false;
    for (;;) {
        char* buffer = static_cast<char*>(input.Get());
        DWORD got = 0;
        DWORD room = capacity - filled > 0x40000000 ? 0x40000000 : static_cast<DWORD>(capacity - filled);
        if (!host_.ReadLog(in, buffer + filled, room, &got)) return LoopResult::ReadError;
        if (got == 0) eof = true;
        filled += got;

        const char* const end = buffer + filled;
        const char* p = buffer;
        const char* span = buffer;  // kept lines with CR LF go out as they stand, in one piece
        ScannedLine line;
        while (ScanLine(p, end, eof, &line)) {
            if (stoppable && StopRequested()) return LoopResult::Stopped;
            CountProgress(line.length);
            const CutKind kind = Decide(line);
            p = line.Next();
            if (kind == CutKind::Keep && line.endLength == 2) continue;
            writer.Put(span, static_cast<size_t>(line.start - span));
            span = p;
            if (kind != CutKind::Keep) {
                changed_ = true;
                ++placeCount_;
                host_.ShowChange(kind, placeCount_);
            }
            if (kind == CutKind::Cut) continue;
            // Every line written ends with CR LF, whatever end it had.
            char* text = buffer + (line.start - buffer);
            writer.Put(text, RewriteLine(kind, text, line.length));
            writer.Put("\r\n", 2);
        }
        writer.Put(span, static_cast<size_t>(p - span));
        if (writer.Failed()) return LoopResult::WriteError;
        if (eof) break;

        const size_t rest = static_cast<size_t>(end - p);
        std::memmove(buffer, p, rest);
        filled = rest;
        if (filled == capacity) {  // one line fills the block: it is read whole into a larger one
            if (capacity > (SIZE_MAX >> 2)) return LoopResult::NoMemory;
            void* larger = HeapReAlloc(GetProcessHeap(), 0, input.Get(), capacity * 2);
            if (!larger) return LoopResult::NoMemory;
            input.Release();
            input.Reset(larger);
            capacity *= 2;
        }
    }
    writer.Flush();
    return writer.Failed() ? LoopResult::WriteError : LoopResult::Done;
}

CutKind CutEngine::Decide(const ScannedLine& line) {
    const CutKind kind = ClassifyLine(table_, line);
    // A line the user keeps is written as read, without BS or Ctrl removal.
    if (kind == CutKind::Cut && options_.ask && !host_.AskCut(line.start, line.length)) return CutKind::Keep;
    return kind;
}

void CutEngine::CountProgress(size_t length) {
    processed_ += length;
    if (processed_ >= nextReport_) {
        host_.SetPosition(processed_);
        nextReport_ = (processed_ / unit_ + 1) * unit_;
    }
}

unsigned long long TotalSize(const std::vector<std::string>& paths) {
    unsigned long long total = 0;
    for (const std::string& path : paths) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) &&
            !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            total += (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        }
    }
    return total;
}

bool RunCut(CutEngine& engine, const std::vector<std::string>& paths) {
    engine.Begin(TotalSize(paths));
    bool completed = true;
    for (const std::string& path : paths) {
        if (!engine.ProcessFile(path.c_str())) {
            completed = false;
            break;
        }
    }
    engine.End();
    return completed;
}
