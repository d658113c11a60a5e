// Times the string-line cut engine (no window) on one log file in place and reports MB/s and peak memory.
//   cut_bench LOG CUTLIST [--loop-only]   (--loop-only: the line loop alone, into NUL, the log untouched)
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "bench_clock.h"
#include "cut/cut_engine.h"

namespace {

// Committed private memory of the process, summed over its address space: Wine keeps no reliable
// peak counter, so a sampling thread takes the highest value while the cut runs.
SIZE_T CommittedPrivate() {
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION info;
    for (const char* p = nullptr; VirtualQuery(p, &info, sizeof info) == sizeof info;
         p = static_cast<const char*>(info.BaseAddress) + info.RegionSize) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
    }
    return total;
}

volatile LONG sampling = 1;
SIZE_T peakCommitted = 0;

DWORD WINAPI Sample(void*) {
    while (sampling) {
        SIZE_T now = CommittedPrivate();
        if (now > peakCommitted) peakCommitted = now;
        Sleep(2);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const bool loopOnly = argc == 4 && std::strcmp(argv[3], "--loop-only") == 0;
    if (argc != 3 && !loopOnly) {
        std::fprintf(stderr, "usage: cut_bench LOG CUTLIST [--loop-only]\n");
        return 2;
    }
    CutTable table;
    if (LoadCutTable(argv[2], &table) != CutTableLoad::Ready) {
        std::fprintf(stderr, "cannot read %s\n", argv[2]);
        return 1;
    }
    table.Matches("", 0);  // builds the index before the clock starts
    std::vector<std::string> paths = {argv[1]};
    const unsigned long long size = TotalSize(paths);
    const SIZE_T before = CommittedPrivate();
    peakCommitted = before;
    HANDLE sampler = CreateThread(nullptr, 0, Sample, nullptr, 0, nullptr);

    const LARGE_INTEGER start = Now();
    CutHost host;
    CutEngine engine(table, CutOptions{}, host);
    if (loopOnly) {
        HANDLE in = CreateFileA(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        HANDLE out = CreateFileA("NUL", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        bool changed = false;
        engine.CutStream(in, out, &changed);
        CloseHandle(in);
        CloseHandle(out);
    } else {
        RunCut(engine, paths);
    }
    const double seconds = Ms(start, Now()) / 1000.0;

    sampling = 0;
    WaitForSingleObject(sampler, INFINITE);
    CloseHandle(sampler);
    const double grown = peakCommitted > before ? static_cast<double>(peakCommitted - before) : 0.0;
    std::printf("strings %u size_mb %.1f seconds %.3f mb_per_s %.0f places %d peak_alloc_mb %.2f\n",
                static_cast<unsigned>(table.Count()), size / 1e6, seconds, size / 1e6 / seconds, engine.PlaceCount(),
                grown / 1048576.0);
    return 0;
}
