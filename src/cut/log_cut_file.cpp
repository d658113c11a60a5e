#include "cut/log_cut_file.h"

#include <string>

#include "cut/cut_engine.h"
#include "lib/services/proc_boundary.h"
#include "loglist/command_host.h"
#include "loglist/date_macros.h"
#include "loglist/list_menu.h"
#include "resources/resource_ids.h"
#include "settings/environ.h"
#include "settings/pmessage.h"

namespace {

// Files named per reason in the notice about the files a run left alone; a box much taller would
// leave the screen.
constexpr size_t kLeftAloneNames = 15;

std::string LoadText(HINSTANCE instance, UINT id) {
    char text[512] = "";
    LoadStringA(instance, id, text, sizeof text);
    return text;
}

void ShowFileMessage(HINSTANCE instance, HWND owner, UINT textId, const char* path) {
    std::string text = LoadText(instance, textId) + "\r\n" + path;
    CutMessageBox(owner, text.c_str(), LoadText(instance, IDS_CAP_CUT).c_str(), MB_OK | MB_ICONHAND);
}

// The worker's side of the run: the dialog's fields through messages, the boxes owned by the
// main window. The count field follows at most every 50 ms (and before every box and at the end),
// since a message per cut line would cost more than the cut itself.
class WindowCutHost : public CutHost {
public:
    WindowCutHost(HINSTANCE instance, HWND owner, LogCutDialog& progress, const volatile LONG& interrupted)
        : instance_(instance), owner_(owner), progress_(progress), interrupted_(interrupted) {
        kindNames_[0] = LoadText(instance, IDS_CUTKIND_CUT);
        kindNames_[1] = LoadText(instance, IDS_CUTKIND_BS);
        kindNames_[2] = LoadText(instance, IDS_CUTKIND_CTRL);
        question_ = LoadText(instance, IDS_ASK_CUTLINE);
        caption_ = LoadText(instance, IDS_CAP_CUT);
    }
    void SetRange(unsigned long long totalBytes) override { progress_.SetRange(0, totalBytes, 1); }
    void SetPosition(unsigned long long bytes) override { progress_.SetPosition(bytes); }
    void ShowFile(const char* path, int placeCount) override {
        progress_.SetFile(path, placeCount);
        shownCount_ = pendingCount_ = placeCount;
    }
    void ShowChange(CutKind kind, int placeCount) override {
        if (kind != shownKind_) {
            shownKind_ = kind;
            progress_.SetKind(kindNames_[static_cast<int>(kind) - 1].c_str());
        }
        pendingCount_ = placeCount;
        DWORD now = GetTickCount();
        if (now - countTick_ >= 50) {
            countTick_ = now;
            FlushCount();
        }
    }
    // Once the run is stopped from outside, nobody waits for a box: a line in question is kept.
    bool AskCut(const char* line, size_t length) override {
        if (interrupted_) return false;
        FlushCount();
        std::string text = FormatCutQuestion(question_.c_str(), line, length);
        return CutMessageBox(owner_, text.c_str(), caption_.c_str(), MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
    }
    void ShowMessage(int number) override {
        if (interrupted_) return;
        FlushCount();
        const MessageRow& row = PMessage::Row(number);
        CutMessageBox(owner_, LoadText(instance_, row.textId).c_str(), LoadText(instance_, row.captionId).c_str(),
                      row.style);
    }
    void ShowFileMessage(UINT textId, const char* path) override {
        if (interrupted_) return;
        FlushCount();
        ::ShowFileMessage(instance_, owner_, textId, path);
    }
    // Once the run is stopped from outside, nobody waits for this either.
    void ShowLeftAlone(const std::vector<LeftAloneFile>& files) override {
        if (interrupted_) return;
        FlushCount();
        std::string text = FormatLeftAlone(files, LoadText(instance_, IDS_CUT_LEFT_NOTTEXT),
                                           LoadText(instance_, IDS_CUT_LEFT_READONLY),
                                           LoadText(instance_, IDS_CUT_LEFT_MORE), kLeftAloneNames);
        CutMessageBox(owner_, text.c_str(), caption_.c_str(), MB_OK | MB_ICONEXCLAMATION);
    }
    void FlushCount() {
        if (pendingCount_ == shownCount_) return;
        shownCount_ = pendingCount_;
        progress_.SetCount(shownCount_);
    }

private:
    HINSTANCE instance_;
    HWND owner_;
    LogCutDialog& progress_;
    const volatile LONG& interrupted_;
    std::string kindNames_[3];
    std::string question_;
    std::string caption_;
    CutKind shownKind_ = CutKind::Keep;
    int shownCount_ = 0;
    int pendingCount_ = 0;
    DWORD countTick_ = 0;
};

// Closes the boxes the worker shows, a question as if cancelled.
BOOL CALLBACK CancelBox(HWND window, LPARAM) {
    char kind[16] = "";
    GetClassNameA(window, kind, sizeof kind);
    if (lstrcmpA(kind, "#32770") == 0) PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

}  // namespace

Seam<CutMessageBoxFunction> cutMessageBoxSeam(MessageBoxA);

int CutMessageBox(HWND owner, const char* text, const char* caption, UINT style) {
    return cutMessageBoxSeam.Current()(owner, text, caption, style);
}

LogCutFile::LogCutFile(CommandHost& host)
    : instance_(host.Instance()), mainWindow_(host.Window()), list_(host.List()), settings_(host.Settings()) {
    const char* path = settings_.Cut().GetCutFile();
    switch (LoadCutTable(path, &table_)) {
    case CutTableLoad::Ready: ready_ = true; break;
    case CutTableLoad::NoFile:
        CutMessageBox(mainWindow_, LoadText(instance_, IDS_ERR_NOCUTFILE).c_str(),
                      LoadText(instance_, IDS_CAP_CUT).c_str(), MB_OK | MB_ICONEXCLAMATION);
        break;
    case CutTableLoad::Unreadable: ShowFileMessage(instance_, mainWindow_, IDS_ERR_CUTFILEREAD, path); break;
    }
}

LogCutFile::~LogCutFile() { Finish(); }

void LogCutFile::CollectPaths() {
    paths_.clear();
    // The worker gets plain paths: the list cannot change while the main window is disabled.
    auto add = [this](int row) {
        LogEntry entry;
        if (list_.GetEntry(row, &entry) < 0) return;
        char path[MAX_PATH];
        ExpandDateMacros(entry.LogFileName, path, settings_);
        paths_.emplace_back(path);
    };
    if (settings_.Cut().GetCutMode() == 1) {
        int count = list_.GetEntryCount();
        for (int row = 0; row < count; ++row) add(row);
    } else {
        int selected = list_.GetSelection();
        if (selected >= 0) add(selected);
    }
}

bool LogCutFile::Start() {
    if (!ready_ || worker_) return false;
    CollectPaths();
    ask_ = settings_.Cut().GetCutCheck() != 0;
    backup_ = settings_.GetBakFile() != 0;
    if (!progress_.Show(instance_, mainWindow_)) return false;
    EnableWindow(mainWindow_, FALSE);
    // 8192 bytes are committed at first; the stack grows into the program's usual reserve.
    worker_.Reset(CreateThread(nullptr, 8192, Worker, this, CREATE_SUSPENDED, &workerId_));
    if (!worker_) {
        EnableWindow(mainWindow_, TRUE);
        progress_.Close();
        return false;
    }
    SetThreadPriority(worker_.Get(), THREAD_PRIORITY_TIME_CRITICAL);
    ResumeThread(worker_.Get());
    return true;
}

void LogCutFile::Interrupt() {
    if (!worker_ || runEnded_ || interrupted_) return;
    InterlockedExchange(&interrupted_, 1);
    progress_.RequestStop();
    EnumThreadWindows(workerId_, CancelBox, 0);
}

bool LogCutFile::WaitForWorker(DWORD limit) {
    // The worker sends this thread messages (the dialog's fields, enabling the main window), so
    // they are handled while waiting; posted messages stay queued. A box it shows is closed again
    // and again until it sees the stop: one may come up just after a look found none.
    HANDLE worker = worker_.Get();
    if (!worker) return true;
    const DWORD start = GetTickCount();
    for (DWORD spent = 0; limit == INFINITE || spent < limit; spent = GetTickCount() - start) {
        const DWORD slice = limit == INFINITE || limit - spent > 50 ? 50 : limit - spent;
        if (MsgWaitForMultipleObjects(1, &worker, FALSE, slice, QS_SENDMESSAGE) == WAIT_OBJECT_0) return true;
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        if (interrupted_) EnumThreadWindows(workerId_, CancelBox, 0);
    }
    return false;
}

bool LogCutFile::Finish() {
    Interrupt();
    WaitForWorker(INFINITE);
    worker_.Reset();
    progress_.Close();
    return interrupted_ && !completed_;
}

void LogCutFile::Run() {
    WindowCutHost host(instance_, mainWindow_, progress_, interrupted_);
    CutOptions options;
    options.ask = ask_;
    options.backup = backup_;
    options.stop = progress_.StopFlag();
    CutEngine engine(table_, options, host);
    completed_ = RunCut(engine, paths_);
    host.FlushCount();
}

DWORD WINAPI LogCutFile::Worker(void* self) {
    LogCutFile& run = *static_cast<LogCutFile*>(self);
    // Whatever happens to the files, the main window comes back and command 16 tidies up.
    const auto work = [&] { run.Run(); };
    Guarded(run.mainWindow_, work, [] {});
    InterlockedExchange(&run.runEnded_, 1);
    EnableWindow(run.mainWindow_, TRUE);
    PostMessageA(run.mainWindow_, WM_COMMAND, IDM_CUTDONE, 0);
    return 0;
}
