// Times loading index files of 1,000 and 10,000 entries, whose log files all exist, into the
// list of a real main window: from the start of LoadList to the list shown.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "app/kelvora_frame.h"
#include "app/main_window.h"
#include "bench_clock.h"
#include "loglist/list_menu.h"
#include "settings/environ.h"

namespace {

bool WriteBytes(const std::string& path, const std::string& bytes) {
    OwnedFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

// Builds count log files and an index file naming them, in an order unlike the sorted one.
std::string Prepare(const std::string& folder, int count) {
    std::string index;
    for (int i = 0; i < count; ++i) {
        int k = (i * 7919) % count;
        char name[64];
        std::snprintf(name, sizeof name, "log%05d.log", k);
        std::string path = folder + name;
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) WriteBytes(path, "line\r\n");
        char line[512];
        std::snprintf(line, sizeof line, "%s,viewer.exe,\x83\x8D\x83\x4F %05d|entry,0,0\r\n", path.c_str(), k);
        index += line;
    }
    std::string indexPath = folder + "bench-" + std::to_string(count) + ".dat";
    WriteBytes(indexPath, index);
    return indexPath;
}

}  // namespace

int main() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + "kelvora-list-bench\\";
    CreateDirectoryA(folder.c_str(), nullptr);

    KelvoraFrame frame(GetModuleHandleA(nullptr));
    if (!frame.Created()) {
        std::printf("no main window\n");
        return 1;
    }
    ListMenu& list = frame.Window()->List();
    double times[2] = {};
    const int counts[2] = {1000, 10000};
    for (int round = 0; round < 2; ++round) {
        std::string index = Prepare(folder, counts[round]);
        frame.Settings().SetIndex(index.c_str());
        double best = 1e9;
        for (int repeat = 0; repeat < 3; ++repeat) {
            const LARGE_INTEGER start = Now();
            bool loaded = list.LoadList();
            UpdateWindow(list.Control());
            const double seconds = Ms(start, Now()) / 1000.0;
            if (!loaded || list.GetEntryCount() != counts[round]) {
                std::printf("load of %d entries failed\n", counts[round]);
                return 1;
            }
            best = seconds < best ? seconds : best;
        }
        times[round] = best;
        std::printf("%6d entries: %.3f s\n", counts[round], best);
    }
    std::printf("ratio 10000/1000: %.1f (goal: at most 12, and 10000 entries in at most 0.3 s)\n", times[1] / times[0]);
    // The window writes its (now empty) list back into the last bench file, which every run makes anew.
    list.ClearEntries();
    DestroyWindow(frame.Window()->Window());
    return 0;
}
