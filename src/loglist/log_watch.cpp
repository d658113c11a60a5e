// The worker that follows the log files: one directory change request per folder on a completion
// port (so any number of folders fit one wait), a periodic check of the logs whose folder cannot be
// watched, and a small locked queue of changes towards the user-interface thread.
#include "loglist/log_watch.h"

#include <atomic>
#include <map>
#include <unordered_map>
#include <unordered_set>

#include "lib/core/byte_text.h"

namespace {

std::atomic<int> runningWorkers{0};

constexpr DWORD kNotifyFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_SIZE |
                                FILE_NOTIFY_CHANGE_LAST_WRITE;
constexpr DWORD kShutdownDrainMs = 1000;

// Held for memory work only, never across a file system call or a wait.
class LockGuard {
public:
    explicit LockGuard(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
    ~LockGuard() { ReleaseSRWLockExclusive(&lock_); }
    LockGuard(const LockGuard&) = delete;
    LockGuard& operator=(const LockGuard&) = delete;

private:
    SRWLOCK& lock_;
};

// The folder part of a log path with its separator; ".\" (or "X:.\") for a bare name.
std::string FolderOf(const std::string& path) {
    const ptrdiff_t last = bytetext::LastOf(path.c_str(), '\\', '/');
    if (last >= 0) return path.substr(0, static_cast<size_t>(last) + 1);
    return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) + ".\\" : ".\\";
}

// Folders are the same whatever the letter case of their names.
std::wstring FolderKey(const std::string& folder) {
    std::wstring key(folder.size(), L'\0');
    const int length = MultiByteToWideChar(CP_ACP, 0, folder.data(), static_cast<int>(folder.size()), &key[0],
                                           static_cast<int>(key.size()));
    key.resize(length > 0 ? static_cast<size_t>(length) : 0);
    if (!key.empty()) CharUpperBuffW(&key[0], static_cast<DWORD>(key.size()));
    return key;
}

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Exists(const FileStatus& status) { return status.time.dwLowDateTime || status.time.dwHighDateTime; }

}  // namespace

struct LogWatch::Shared {
    HWND window;
    UINT message;
    OwnedHandle port;  // the worker waits on it; a packet without a request wakes it
    std::atomic<bool> stopping{false};
    std::atomic<unsigned> generation{0};  // of the set of logs, counted up by every SetLogs

    SRWLOCK lock = SRWLOCK_INIT;  // guards what follows
    std::vector<WatchedLog> logs;
    bool logsWaiting = false;
    std::vector<std::string> recheck;  // logs whose changes were dropped with the set they belonged to
    std::unordered_map<std::string, FileStatus> changes;
    bool posted = false;
    LogWatchCounts counts;

    Shared(HWND w, UINT m) : window(w), message(m) {}
    void Wake() const {
        if (port) PostQueuedCompletionStatus(port.Get(), 0, 0, nullptr);
    }
};

class LogWatch::Worker {
public:
    Worker(std::shared_ptr<Shared> shared, const LogWatchOptions& options)
        : shared_(std::move(shared)), options_(options) {}
    void Run();

private:
    struct Folder;
    // One open folder with its change request; kept until the system hands the request back,
    // because until then it may write into overlapped and buffer.
    struct Watch {
        OwnedFile dir;
        OVERLAPPED overlapped = {};
        Folder* folder = nullptr;  // null once retired
        bool pending = false;
        DWORD buffer[256];  // the names changed; only that something changed counts
    };
    struct File {
        std::string path;
        FileStatus status;
    };
    struct Folder {
        std::string path;
        std::vector<File> files;
        std::unique_ptr<Watch> watch;
        bool refused = false;  // it exists but cannot be watched: checked periodically, not tried again
        bool dirty = false;    // its logs are to be read at due
        ULONGLONG due = 0;
    };

    bool Interrupted() const { return shared_->stopping || shared_->generation != generation_; }
    bool TakeSet(std::vector<WatchedLog>* logs, std::vector<std::string>* recheck);
    void Adopt(std::vector<WatchedLog> logs, const std::vector<std::string>& recheck);
    bool StartWatch(Folder& folder);
    bool Arm(Watch& watch);
    void Retire(Folder& folder);
    void OnPacket(Watch* watch, bool ok, DWORD error);
    static void MarkDirty(Folder& folder, ULONGLONG due);
    void RunDue();
    void Poll();
    void Read(Folder& folder);
    void Publish(const std::vector<WatchedLog>& changes);
    void PublishCounts();
    DWORD Timeout() const;
    void Wait(DWORD timeout);
    void Shutdown();

    std::shared_ptr<Shared> shared_;
    LogWatchOptions options_;
    unsigned generation_ = 0;
    std::map<std::wstring, std::unique_ptr<Folder>> folders_;
    std::vector<std::unique_ptr<Watch>> retired_;
    std::vector<std::string> unpublished_;  // changes found for a set that was replaced meanwhile
    ULONGLONG nextPoll_ = 0;
};

void LogWatch::Worker::Run() {
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
    nextPoll_ = GetTickCount64() + options_.pollMs;
    std::vector<WatchedLog> logs;
    std::vector<std::string> recheck;
    while (!shared_->stopping) {
        if (TakeSet(&logs, &recheck)) {
            Adopt(std::move(logs), recheck);
            PublishCounts();
        }
        RunDue();
        PublishCounts();
        Wait(Timeout());
    }
    Shutdown();
}

bool LogWatch::Worker::TakeSet(std::vector<WatchedLog>* logs, std::vector<std::string>* recheck) {
    LockGuard guard(shared_->lock);
    if (!shared_->logsWaiting) return false;
    shared_->logsWaiting = false;
    *logs = std::move(shared_->logs);
    *recheck = std::move(shared_->recheck);
    recheck->insert(recheck->end(), unpublished_.begin(), unpublished_.end());
    unpublished_.clear();
    generation_ = shared_->generation;
    return true;
}

// Folders still listed keep their watch; their logs take the statuses the list has now. New
// folders are watched and read once, so that a write between the list's read and the watch is
// not missed; so are folders with a log of unknown status.
void LogWatch::Worker::Adopt(std::vector<WatchedLog> logs, const std::vector<std::string>& recheck) {
    std::map<std::wstring, std::unique_ptr<Folder>> next;
    std::vector<Folder*> fresh, unknown;
    std::unordered_set<std::string> seen;
    for (WatchedLog& log : logs) {
        if (!seen.insert(log.path).second) continue;
        const std::string folderPath = FolderOf(log.path);
        const std::wstring key = FolderKey(folderPath);
        std::unique_ptr<Folder>& slot = next[key];
        if (!slot) {
            auto old = folders_.find(key);
            if (old != folders_.end()) {
                slot = std::move(old->second);
                slot->files.clear();
            } else {
                slot.reset(new Folder{folderPath, {}, nullptr});
                fresh.push_back(slot.get());
            }
        }
        if (SameStatus(log.status, kUnknownStatus)) unknown.push_back(slot.get());
        slot->files.push_back({std::move(log.path), log.status});
    }
    for (auto& [key, folder] : folders_) {
        if (folder) Retire(*folder);
    }
    folders_ = std::move(next);
    const ULONGLONG now = GetTickCount64();
    for (Folder* folder : fresh) {
        if (shared_->stopping) return;
        if (!StartWatch(*folder)) folder->refused = IsFolder(folder->path);
        MarkDirty(*folder, now);
    }
    for (Folder* folder : unknown) MarkDirty(*folder, now);
    for (const std::string& path : recheck) {
        auto folder = folders_.find(FolderKey(FolderOf(path)));
        if (folder != folders_.end()) MarkDirty(*folder->second, now);
    }
}

bool LogWatch::Worker::StartWatch(Folder& folder) {
    std::unique_ptr<Watch> watch(new Watch);
    // Delete sharing lets the user remove or rename the folder while it is watched.
    watch->dir.Reset(CreateFileA(folder.path.c_str(), FILE_LIST_DIRECTORY,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr));
    if (!watch->dir) return false;
    if (!CreateIoCompletionPort(watch->dir.Get(), shared_->port.Get(), reinterpret_cast<ULONG_PTR>(watch.get()), 0))
        return false;
    if (!Arm(*watch)) return false;
    watch->folder = &folder;
    folder.watch = std::move(watch);
    return true;
}

bool LogWatch::Worker::Arm(Watch& watch) {
    watch.overlapped = OVERLAPPED{};
    watch.pending = ReadDirectoryChangesW(watch.dir.Get(), watch.buffer, sizeof watch.buffer, FALSE, kNotifyFilter,
                                          nullptr, &watch.overlapped, nullptr) != FALSE;
    return watch.pending;
}

// Closing the folder hands its request back through the port, and only then is the watch freed.
void LogWatch::Worker::Retire(Folder& folder) {
    if (!folder.watch) return;
    folder.watch->folder = nullptr;
    folder.watch->dir.Reset();
    if (folder.watch->pending) retired_.push_back(std::move(folder.watch));
    folder.watch.reset();
}

void LogWatch::Worker::OnPacket(Watch* watch, bool ok, DWORD error) {
    watch->pending = false;
    if (!watch->folder) {
        for (size_t i = 0; i < retired_.size(); ++i) {
            if (retired_[i].get() != watch) continue;
            retired_.erase(retired_.begin() + static_cast<ptrdiff_t>(i));
            break;
        }
        return;
    }
    Folder& folder = *watch->folder;
    // Too many changes for the buffer is a change like any other.
    if ((ok || error == ERROR_NOTIFY_ENUM_DIR) && Arm(*watch)) {
        MarkDirty(folder, GetTickCount64() + options_.settleMs);
        return;
    }
    // The folder went away or cannot be followed any more: its logs are read at once, and Poll
    // watches it again once it stands again.
    Retire(folder);
    MarkDirty(folder, GetTickCount64());
}

void LogWatch::Worker::MarkDirty(Folder& folder, ULONGLONG due) {
    if (folder.dirty && folder.due <= due) return;
    folder.dirty = true;
    folder.due = due;
}

void LogWatch::Worker::RunDue() {
    if (GetTickCount64() >= nextPoll_) Poll();
    for (auto& [key, folder] : folders_) {
        if (Interrupted()) return;
        if (folder->dirty && folder->due <= GetTickCount64()) Read(*folder);
    }
}

// Folders that cannot be watched are read, and one that stands again is watched again. A watched
// folder that is gone (a renamed one takes its watch along) is let go and read.
void LogWatch::Worker::Poll() {
    nextPoll_ = GetTickCount64() + options_.pollMs;
    for (auto& [key, folder] : folders_) {
        if (shared_->stopping) return;
        if (folder->watch && IsFolder(folder->path)) continue;
        Retire(*folder);
        if (!folder->refused && IsFolder(folder->path) && !StartWatch(*folder)) folder->refused = true;
        MarkDirty(*folder, GetTickCount64());
    }
}

// Reads the logs of one folder and tells those whose status changed. When the last of its logs
// goes, a watched folder is let go and watched again if it still stands: a folder removed while
// watched may otherwise stay until its last handle is closed, and tell nothing.
void LogWatch::Worker::Read(Folder& folder) {
    const bool reachable = folder.watch || IsFolder(folder.path);
    std::vector<WatchedLog> changes;
    bool lost = false, anyLog = false;
    for (File& file : folder.files) {
        if (Interrupted()) break;
        const FileStatus status = reachable ? options_.readStatus(file.path.c_str()) : FileStatus{};
        if (!SameStatus(status, file.status)) {
            lost = lost || (Exists(file.status) && !Exists(status));
            file.status = status;
            changes.push_back({file.path, status});
        }
        anyLog = anyLog || Exists(status);
    }
    Publish(changes);
    if (Interrupted()) return;  // the folder stays dirty: read again after the new set is taken up
    folder.dirty = false;
    if (folder.watch && lost && !anyLog) {
        Retire(folder);
        if (StartWatch(folder)) MarkDirty(folder, GetTickCount64() + options_.settleMs);
    }
}

void LogWatch::Worker::Publish(const std::vector<WatchedLog>& changes) {
    if (changes.empty()) return;
    {
        LockGuard guard(shared_->lock);
        if (!shared_->stopping && shared_->generation == generation_) {
            for (const WatchedLog& change : changes) shared_->changes[change.path] = change.status;
            if (!shared_->posted) shared_->posted = PostMessageA(shared_->window, shared_->message, 0, 0) != FALSE;
            return;
        }
    }
    for (const WatchedLog& change : changes) unpublished_.push_back(change.path);
}

void LogWatch::Worker::PublishCounts() {
    LogWatchCounts counts;
    counts.settled = true;
    for (const auto& [key, folder] : folders_) {
        ++counts.folders;
        ++(folder->watch ? counts.watched : counts.polled);
        counts.settled = counts.settled && !folder->dirty;
    }
    LockGuard guard(shared_->lock);
    counts.settled = counts.settled && !shared_->logsWaiting && shared_->generation == generation_;
    shared_->counts = counts;
}

DWORD LogWatch::Worker::Timeout() const {
    ULONGLONG due = nextPoll_;
    for (const auto& [key, folder] : folders_) {
        if (folder->dirty && folder->due < due) due = folder->due;
    }
    const ULONGLONG now = GetTickCount64();
    return due <= now ? 0 : static_cast<DWORD>(due - now);
}

void LogWatch::Worker::Wait(DWORD timeout) {
    DWORD bytes = 0;
    ULONG_PTR key = 0;
    OVERLAPPED* overlapped = nullptr;
    const bool ok = GetQueuedCompletionStatus(shared_->port.Get(), &bytes, &key, &overlapped, timeout) != FALSE;
    const DWORD error = ok ? ERROR_SUCCESS : GetLastError();
    if (overlapped) OnPacket(reinterpret_cast<Watch*>(key), ok, error);
}

void LogWatch::Worker::Shutdown() {
    for (auto& [key, folder] : folders_) Retire(*folder);
    folders_.clear();
    const ULONGLONG end = GetTickCount64() + kShutdownDrainMs;
    while (!retired_.empty() && GetTickCount64() < end) Wait(static_cast<DWORD>(end - GetTickCount64()));
    // A request the system never handed back may still write into its watch: that memory stays.
    for (std::unique_ptr<Watch>& watch : retired_) watch.release();
}

LogWatch::LogWatch(HWND window, UINT message, const LogWatchOptions& options)
    : options_(options), shared_(std::make_shared<Shared>(window, message)) {}

LogWatch::~LogWatch() { Stop(); }

bool LogWatch::Start() {
    if (thread_ || shared_->stopping) return false;
    shared_->port.Reset(CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1));
    if (!shared_->port) return false;
    auto* worker = new Worker(shared_, options_);
    ++runningWorkers;
    thread_.Reset(CreateThread(nullptr, 0, WorkerProc, worker, 0, nullptr));
    if (thread_) return true;
    --runningWorkers;
    delete worker;
    return false;
}

DWORD WINAPI LogWatch::WorkerProc(void* worker) {
    {
        std::unique_ptr<Worker> owned(static_cast<Worker*>(worker));
        owned->Run();
    }
    --runningWorkers;
    return 0;
}

void LogWatch::SetLogs(std::vector<WatchedLog> logs) {
    {
        LockGuard guard(shared_->lock);
        if (shared_->stopping) return;
        for (const auto& [path, status] : shared_->changes) shared_->recheck.push_back(path);
        shared_->changes.clear();
        shared_->posted = false;
        shared_->logs = std::move(logs);
        shared_->logsWaiting = true;
        ++shared_->generation;
        shared_->counts.settled = false;
    }
    shared_->Wake();
}

std::vector<WatchedLog> LogWatch::TakeChanges() {
    std::vector<WatchedLog> changes;
    LockGuard guard(shared_->lock);
    changes.reserve(shared_->changes.size());
    for (const auto& [path, status] : shared_->changes) changes.push_back({path, status});
    shared_->changes.clear();
    shared_->posted = false;
    return changes;
}

void LogWatch::Interrupt() {
    {
        LockGuard guard(shared_->lock);
        shared_->stopping = true;
        shared_->changes.clear();
    }
    shared_->Wake();
}

bool LogWatch::Stop() {
    Interrupt();
    if (!thread_) return true;
    const bool ended = WaitForSingleObject(thread_.Get(), options_.stopWaitMs) == WAIT_OBJECT_0;
    thread_.Reset();
    return ended;
}

LogWatchCounts LogWatch::Counts() const {
    LockGuard guard(shared_->lock);
    return shared_->counts;
}

int LogWatch::RunningWorkers() { return runningWorkers; }
