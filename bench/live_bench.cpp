// Times the list that follows its logs in a real main window: from a write to the repainted row,
// loading 10,000 entries in 200 folders and the longest message of the user-interface thread while
// their watches start, and (last, between the lines IDLE BEGINS and IDLE ENDS, which watch_bench.sh
// reads) the window idle over 2,000 entries in 40 folders.
//   live_bench.exe [IDLE_SECONDS]      (default 30)
// The logs lie in kelvora-live-bench below the temporary folder and are kept for the next run.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_clock.h"
#include "app/kelvora_frame.h"
#include "app/main_window.h"
#include "lib/core/owned.h"
#include "loglist/list_menu.h"
#include "settings/environ.h"

namespace {

void Append(const std::string& path, const char* text) {
    OwnedFile file(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr));
    DWORD written;
    if (file) WriteFile(file.Get(), text, lstrlenA(text), &written, nullptr);
}

// count logs over folders sub-folders (made where missing) and the index file that lists them.
std::string MakeList(const std::string& name, int folders, int count, std::vector<std::string>* logs = nullptr) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string top = std::string(temp) + "kelvora-live-bench\\";
    CreateDirectoryA(top.c_str(), nullptr);
    std::string index;
    for (int i = 0; i < count; ++i) {
        const std::string folder = top + name + "-" + std::to_string(i % folders) + "\\";
        const std::string path = folder + "log" + std::to_string(i) + ".log";
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            CreateDirectoryA(folder.c_str(), nullptr);
            Append(path, "line\r\n");
        }
        index += path + ",viewer.exe,log " + std::to_string(i) + ",0,0\r\n";
        if (logs) logs->push_back(path);
    }
    const std::string indexPath = top + name + ".dat";
    OwnedFile file(CreateFileA(indexPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written;
    if (file) WriteFile(file.Get(), index.data(), static_cast<DWORD>(index.size()), &written, nullptr);
    return indexPath;
}

UINT longestMessage = 0;  // of the last Pump

// Dispatches the thread's messages until done holds or ms passed; the longest dispatch, in ms.
template <class Done>
double Pump(DWORD ms, Done done) {
    double longest = 0;
    for (const ULONGLONG end = GetTickCount64() + ms; !done();) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            const LARGE_INTEGER before = Now();
            DispatchMessageA(&msg);
            if (Ms(before, Now()) > longest) longest = Ms(before, Now()), longestMessage = msg.message;
        }
        const ULONGLONG now = GetTickCount64();
        if (done() || now >= end) break;
        // Asleep until a message comes, as the program's own loop is.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    }
    return longest;
}

// Opens the list as the commands do: the load (and its paint), then the rows' logs to the watch.
void Open(MainWindow& window, const std::string& index, double* loadMs = nullptr, double* handMs = nullptr) {
    window.Settings().SetIndex(index.c_str());
    const LARGE_INTEGER start = Now();
    window.List().LoadList();
    UpdateWindow(window.List().Control());
    const LARGE_INTEGER loaded = Now();
    window.RowsChanged();
    if (loadMs) *loadMs = Ms(start, loaded);
    if (handMs) *handMs = Ms(loaded, Now());
}

void WriteToRepaint(MainWindow& window) {
    std::vector<std::string> logs;
    Open(window, MakeList("latency", 1, 5, &logs));
    Pump(1000, [] { return false; });  // the watch stands
    ListMenu& list = window.List();
    std::vector<double> delays;
    for (int i = 0; i < 20; ++i) {
        LogEntry before;
        list.GetEntry(0, &before);
        Pump(300, [] { return false; });
        const LARGE_INTEGER written = Now();
        Append(logs[0], "another line of the log\r\n");
        auto repainted = [&] {
            LogEntry now;
            return list.GetEntry(0, &now) >= 0 && now.FileSize != before.FileSize &&
                   !GetUpdateRect(list.Control(), nullptr, FALSE);
        };
        Pump(5000, repainted);
        if (repainted()) delays.push_back(Ms(written, Now()));
    }
    std::sort(delays.begin(), delays.end());
    if (delays.empty()) return (void)std::printf("write to repaint: no write was shown\n");
    std::printf("write to repainted row: median %.0f ms, max %.0f ms over %zu of 20 writes\n",
                delays[delays.size() / 2], delays.back(), delays.size());
}

void Startup(MainWindow& window) {
    const std::string index = MakeList("start", 200, 10000);
    double loadMs = 0, handMs = 0;
    Open(window, index, &loadMs, &handMs);
    const double longest = Pump(3000, [] { return false; });
    std::printf(
        "10,000 entries in 200 folders: load and paint %.0f ms, logs to the watch %.1f ms; longest message "
        "while the watches start (3 s) %.1f ms (message 0x%X)\n",
        loadMs, handMs, longest, longestMessage);
}

}  // namespace

int main(int argc, char** argv) {
    const int idleSeconds = argc > 1 ? std::atoi(argv[1]) : 30;
    KelvoraFrame frame(GetModuleHandleA(nullptr));
    if (!frame.Created()) return std::printf("no main window\n"), 1;
    MainWindow& window = *frame.Window();
    ShowWindow(window.Window(), SW_SHOWNORMAL);
    WriteToRepaint(window);
    Startup(window);
    Open(window, MakeList("idle", 40, 2000));
    Pump(3000, [] { return false; });
    std::printf("IDLE BEGINS\n");
    std::fflush(stdout);
    Pump(static_cast<DWORD>(idleSeconds) * 1000, [] { return false; });
    std::printf("IDLE ENDS\n");
    std::fflush(stdout);
    // The window writes its (now empty) list back into the last bench file, which every run makes anew.
    window.List().ClearEntries();
    DestroyWindow(window.Window());
    return 0;
}
