// Times the log watch without a window of the program: from a write to the posted message, a burst
// of writes, the worker's CPU time while 2,000 logs in 40 folders stay unchanged, and how long
// 10,000 logs in 200 folders take until every watch stands.
//   watch_bench.exe [IDLE_SECONDS]      (default 30)
// The logs lie in kelvora-watch-bench below the temporary folder and are kept for the next run.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_clock.h"
#include "lib/core/owned.h"
#include "loglist/log_watch.h"

namespace {

constexpr UINT kChanged = WM_APP + 1;

double ProcessCpuMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto value = [](const FILETIME& t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return static_cast<double>(value(kernel) + value(user)) / 10000.0;
}

std::string BenchFolder() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + "kelvora-watch-bench\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

// count logs spread over folders sub-folders of the bench folder, made where missing.
std::vector<WatchedLog> MakeLogs(const std::string& name, int folders, int count) {
    std::vector<WatchedLog> logs;
    for (int f = 0; f < folders; ++f) {
        std::string folder = BenchFolder() + name + "-" + std::to_string(f) + "\\";
        CreateDirectoryA(folder.c_str(), nullptr);
        for (int i = f; i < count; i += folders) {
            std::string path = folder + "log" + std::to_string(i) + ".log";
            if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
                OwnedFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
                DWORD written;
                if (file) WriteFile(file.Get(), "line\r\n", 6, &written, nullptr);
            }
            logs.push_back({path, ReadFileStatus(path.c_str())});
        }
    }
    return logs;
}

// Pumps the thread's messages until the watch posts, at most ms; the changes taken then.
std::vector<WatchedLog> AwaitChanges(LogWatch& watch, HWND window, DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    for (;;) {
        MSG msg;
        if (PeekMessageA(&msg, window, kChanged, kChanged, PM_REMOVE)) return watch.TakeChanges();
        const ULONGLONG now = GetTickCount64();
        if (now >= end) return {};
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_POSTMESSAGE);
    }
}

bool AwaitSettled(const LogWatch& watch, DWORD ms) {
    for (const ULONGLONG end = GetTickCount64() + ms; !watch.Counts().settled; Sleep(1)) {
        if (GetTickCount64() > end) return false;
    }
    return true;
}

void AppendLine(HANDLE log) {
    DWORD written;
    SetFilePointer(log, 0, nullptr, FILE_END);
    WriteFile(log, "another line of the log\r\n", 25, &written, nullptr);
}

// A logger that holds its log open and writes a line now and then.
void WriteToReport(HWND window) {
    std::vector<WatchedLog> logs = MakeLogs("latency", 1, 5);
    LogWatch watch(window, kChanged);
    watch.SetLogs(logs);
    if (!watch.Start() || !AwaitSettled(watch, 10000)) return (void)std::printf("the watch did not start\n");
    OwnedFile log(CreateFileA(logs[0].path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr));
    std::vector<double> delays;
    int lost = 0;
    for (int i = 0; i < 40; ++i) {
        Sleep(200);
        const LARGE_INTEGER written = Now();
        AppendLine(log.Get());
        if (AwaitChanges(watch, window, 5000).empty())
            ++lost;
        else
            delays.push_back(Ms(written, Now()));
    }
    std::sort(delays.begin(), delays.end());
    if (!delays.empty()) {
        std::printf("write to posted message: median %.0f ms, max %.0f ms over %zu writes (%d not seen in 5 s)\n",
                    delays[delays.size() / 2], delays.back(), delays.size(), lost);
    }
    // A burst: 100 lines, 10 ms apart; the last of them must come through too.
    int messages = 0;
    const LARGE_INTEGER start = Now();
    for (int i = 0; i < 100; ++i) {
        AppendLine(log.Get());
        Sleep(10);
        if (!AwaitChanges(watch, window, 0).empty()) ++messages;
    }
    const LARGE_INTEGER last = Now();
    const FileStatus final = ReadFileStatus(logs[0].path.c_str());
    double lastSeen = 0;
    for (std::vector<WatchedLog> changes; !(changes = AwaitChanges(watch, window, 2000)).empty();) {
        ++messages;
        if (SameStatus(changes[0].status, final)) lastSeen = Ms(last, Now());
    }
    std::printf("burst of 100 writes over %.0f ms: %d messages; the last write reported %.0f ms after the burst\n",
                Ms(start, last), messages, lastSeen);
}

void Idle(HWND window, int seconds) {
    std::vector<WatchedLog> logs = MakeLogs("idle", 40, 2000);
    LogWatch watch(window, kChanged);
    watch.SetLogs(logs);
    if (!watch.Start() || !AwaitSettled(watch, 30000)) return (void)std::printf("the watch did not start\n");
    std::printf("idle: %d logs in %d folders, %d watched\n", static_cast<int>(logs.size()), watch.Counts().folders,
                watch.Counts().watched);
    std::fflush(stdout);
    const double cpu = ProcessCpuMs();
    const LARGE_INTEGER start = Now();
    std::printf("IDLE BEGINS\n");
    std::fflush(stdout);
    AwaitChanges(watch, window, static_cast<DWORD>(seconds) * 1000);
    const double wall = Ms(start, Now());
    std::printf("IDLE ENDS\n");
    const double used = ProcessCpuMs() - cpu;
    std::printf("idle CPU of the process over %.0f s: %.0f ms (%.3f%% of one core)\n", wall / 1000, used,
                100.0 * used / wall);
}

void Startup(HWND window) {
    std::vector<WatchedLog> logs = MakeLogs("start", 200, 10000);
    LogWatch watch(window, kChanged);
    const LARGE_INTEGER start = Now();
    watch.SetLogs(logs);
    const double handOver = Ms(start, Now());
    if (!watch.Start()) return (void)std::printf("the watch did not start\n");
    // The calls the user-interface thread makes while the worker starts, and the longest of them.
    double standing = 0, longest = 0;
    for (;;) {
        const LARGE_INTEGER before = Now();
        const LogWatchCounts counts = watch.Counts();
        longest = std::max(longest, Ms(before, Now()));
        if (!standing && counts.watched == 200) standing = Ms(start, Now());
        if (counts.settled || Ms(start, Now()) > 60000) break;
        Sleep(1);
    }
    std::printf(
        "10,000 logs in 200 folders: handed over in %.1f ms, all watches stand after %.0f ms, every log read "
        "once after %.0f ms; longest call of the user-interface thread meanwhile %.3f ms\n",
        handOver, standing, Ms(start, Now()), longest);
    const LARGE_INTEGER stop = Now();
    watch.Stop();
    std::printf("stop: %.1f ms\n", Ms(stop, Now()));
}

}  // namespace

int main(int argc, char** argv) {
    const int idleSeconds = argc > 1 ? std::atoi(argv[1]) : 30;
    HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    WriteToReport(window);
    Startup(window);
    Idle(window, idleSeconds);
    DestroyWindow(window);
    return 0;
}
