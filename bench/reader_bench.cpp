// Times the line reader (FileOpen/FileGetString, 8192-byte blocks) against 1 MB ReadFile blocks
// with memchr on a generated 100 MB CR LF text file.
//   reader_bench [file]   (default: %TEMP%\kelvora_reader_bench.txt, generated when missing)
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench_clock.h"
#include "lib/core/owned.h"
#include "lib/file_reader.h"

namespace {

constexpr DWORD kFileBytes = 100u * 1024 * 1024;
constexpr DWORD kReaderBlock = 8192;
constexpr DWORD kBaselineBlock = 1024 * 1024;
constexpr int kRounds = 5;

// Log-like lines of 20 to 200 bytes, some with Shift-JIS text, ended by CR LF.
bool Generate(const char* path) {
    OwnedFile file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    static const char* const kWords[] = {"connect",          "accept",
                                         "\x90\xDA\x91\xB1",  // 接続
                                         "user=guest",       "\x83\x5C\x83\x74\x83\x67",
                                         "id=12345",         "[INFO]",
                                         "[WARN]",           "\x8E\xF3\x90\x4D",
                                         "/var/log/app",     "ok"};
    std::vector<char> block;
    block.reserve(kBaselineBlock + 512);
    unsigned seed = 12345;
    DWORD total = 0;
    while (total < kFileBytes) {
        seed = seed * 1103515245u + 12345u;
        char line[256];
        int n = snprintf(line, sizeof line, "2026/12/%02u %02u:%02u:%02u", seed % 28 + 1, (seed >> 8) % 24,
                         (seed >> 13) % 60, (seed >> 19) % 60);
        unsigned target = 20 + (seed >> 4) % 180;
        for (unsigned w = seed; static_cast<unsigned>(n) < target;) {
            w = w * 1664525u + 1013904223u;
            const char* word = kWords[(w >> 24) % (sizeof kWords / sizeof kWords[0])];
            n += snprintf(line + n, sizeof line - n, " %s", word);
        }
        line[n++] = '\r';
        line[n++] = '\n';
        if (total + n > kFileBytes) n = static_cast<int>(kFileBytes - total);
        block.insert(block.end(), line, line + n);
        total += n;
        if (block.size() >= kBaselineBlock || total == kFileBytes) {
            DWORD written = 0;
            if (!WriteFile(file.Get(), block.data(), static_cast<DWORD>(block.size()), &written, nullptr)) return false;
            block.clear();
        }
    }
    return true;
}

// Lines as the program reads them: FileGetString, then FileError, then FileEof.
long long ReadWithReader(const char* path, double* seconds) {
    const LARGE_INTEGER start = Now();
    HTEXTFILE reader = FileOpen(path, "rt", kReaderBlock);
    if (!reader) return -1;
    static char line[4097];
    long long lines = 0;
    for (;;) {
        FileGetString(line, 4096, reader);
        if (FileError(reader)) break;
        if (FileEof(reader)) break;
        ++lines;
    }
    FileClose(reader);
    *seconds = Ms(start, Now()) / 1000.0;
    return lines;
}

long long ReadWithBaseline(const char* path, double* seconds) {
    const LARGE_INTEGER start = Now();
    OwnedFile file(CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return -1;
    static std::vector<char> buffer(kBaselineBlock);
    long long lines = 0;
    DWORD got = 0;
    while (ReadFile(file.Get(), buffer.data(), kBaselineBlock, &got, nullptr) && got > 0) {
        const char* p = buffer.data();
        const char* end = p + got;
        while ((p = static_cast<const char*>(memchr(p, '\n', end - p))) != nullptr) {
            ++lines;
            ++p;
        }
    }
    file.Reset();
    *seconds = Ms(start, Now()) / 1000.0;
    return lines;
}

}  // namespace

int main(int argc, char** argv) {
    std::string path;
    if (argc > 1) {
        path = argv[1];
    } else {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        path = std::string(temp) + "kelvora_reader_bench.txt";
    }
    WIN32_FILE_ATTRIBUTE_DATA info;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &info) || info.nFileSizeLow != kFileBytes ||
        info.nFileSizeHigh != 0) {
        printf("generating %s\n", path.c_str());
        if (!Generate(path.c_str())) {
            printf("cannot write %s\n", path.c_str());
            return 1;
        }
    }
    double bestReader = 1e9, bestBaseline = 1e9;
    long long readerLines = 0, baselineLines = 0;
    for (int round = 0; round < kRounds; ++round) {
        double s = 0;
        baselineLines = ReadWithBaseline(path.c_str(), &s);
        if (s < bestBaseline) bestBaseline = s;
        readerLines = ReadWithReader(path.c_str(), &s);
        if (s < bestReader) bestReader = s;
    }
    printf("file        %s (%lu bytes)\n", path.c_str(), static_cast<unsigned long>(kFileBytes));
    printf("lines       reader %lld, baseline %lld\n", readerLines, baselineLines);
    printf("reader      %.3f s (FileGetString, %lu-byte blocks), best of %d\n", bestReader,
           static_cast<unsigned long>(kReaderBlock), kRounds);
    printf("baseline    %.3f s (ReadFile %lu-byte blocks + memchr), best of %d\n", bestBaseline,
           static_cast<unsigned long>(kBaselineBlock), kRounds);
    printf("ratio       %.2f (goal: at most 1.50)\n", bestReader / bestBaseline);
    return 0;
}
