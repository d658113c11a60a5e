// The index table file: line parsing and formatting, whole-file round trips, writes that fail at
// each step, and the status of the log files it names.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "lib/file_reader.h"
#include "lib/owned.h"
#include "loglist/index_file.h"
#include "test_env.h"

using namespace testing_support;

namespace {

const DateMacroTexts kMacros{"03", "07", "31"};
const std::string kSo = "\x83\x5C";   // ソ: second byte '\'
const std::string kPo = "\x83\x7C";   // ポ: second byte '|'
const std::string kA = "\x82\xA0";    // あ

// The persisted fields of an entry as a line of the file: log file, browser, list name, seen low, seen high.
std::string Fields(const LogEntry& e) {
    return std::string(e.LogFileName) + "," + e.BrowserName + "," + e.ListName + "," +
           std::to_string(e.SeenTime.dwLowDateTime) + "," + std::to_string(e.SeenTime.dwHighDateTime);
}

// The entries read, and "failed" after them when the read fails.
std::vector<std::string> ReadAll(const std::string& path) {
    std::vector<std::string> read;
    if (!ReadIndexFile(path.c_str(), kMacros, [&read](const LogEntry& e) {
            read.push_back(Fields(e));
            return static_cast<int>(read.size()) - 1;
        }))
        read.push_back("failed");
    return read;
}

// Writes the entries that the given lines give.
bool Write(const std::string& path, const std::vector<std::string>& lines) {
    return WriteIndexFile(path.c_str(), static_cast<int>(lines.size()), [&lines](int i, LogEntry* out) {
        ParseIndexLine(lines[i].c_str(), out);
        return true;
    });
}

TEST(IndexLine, SplitsTheFieldsCutsEachToItsWidthAndClearsTheDerivedOnes) {
    const std::pair<std::string, std::string> cases[] = {
        {"a,b,c,5", "a,b,c,0,0"},  // without a fifth field SeenTime is 0
        {"a,b,c,x9,1,2", "a,b,c,9,1"},
        {"a,b," + Repeat(kA, 64) + ",5,7", "a,b," + Repeat(kA, 63) + ",5,7"},
        {std::string(300, 'f') + ",b,c,5,7", std::string(259, 'f') + ",b,c,5,7"},
        {"a,x" + Repeat(kSo, 140) + ",c,5,7", "a,x" + Repeat(kSo, 129) + ",c,5,7"},
    };
    for (const auto& [line, fields] : cases) {
        LogEntry entry;
        entry.FileTime = FILETIME{1, 2};
        entry.FileSize = 3;
        std::strcpy(entry.DisplayText, "old");
        ParseIndexLine(line.c_str(), &entry);
        EXPECT_EQ(Fields(entry), fields);
        EXPECT_EQ(entry.FileSize + FileTimeValue(entry.FileTime) + entry.DisplayText[0], 0u) << line;
    }
    EXPECT_TRUE(IsStorableIndexField(("C:\\" + kSo + kPo + "|.log").c_str()));
    EXPECT_FALSE(IsStorableIndexField((kSo + ",").c_str()));
}

TEST(IndexFile, WritesLinesThatReadBackByteForByte) {
    TempFolder folder;
    std::string path = folder.File("Kelvora.dat");
    const std::vector<std::string> lines = {
        "C:\\" + kSo + "\\" + kPo + ".log,C:\\Program Files\\viewer.exe," + kPo + "|" + kSo + ",4294967295,30517197",
        "C:\\log\\ap#$%.log,notepad.exe,daily,0,0",
        // Longer than a reader's 256 bytes: the program writes such lines, so it must read them.
        "C:\\" + std::string(254, 'L') + ".x," + std::string(259, 'B') + "," + Repeat(kA, 63) + "z,1,2147483648",
        ",,,0,0",
    };
    ASSERT_TRUE(Write(path, lines));
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    EXPECT_EQ(ReadFileBytes(path), bytes);
    EXPECT_EQ(ReadAll(path), lines);
    ASSERT_TRUE(Write(path, {}));  // an empty list leaves an empty file
    EXPECT_EQ(ReadFileBytes(path), "");
    EXPECT_EQ(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_ARCHIVE, static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
}

TEST(IndexFile, EveryLineEndCountsAndEveryLineIsOneEntry) {
    // A line of exactly n bytes: "a,b," then a list name that fills it, then ",1,2".
    auto lineOf = [](size_t n) { return "a,b," + std::string(n - 8, 'x') + ",1,2"; };
    const std::string cut = "a,b," + std::string(127, 'x') + ",1,2", z = "z,,,0,0", empty = ",,,0,0";
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"", {}},
        {"\r\n", {empty}},
        {"a,b,c,1,2\r", {"a,b,c,1,2"}},
        {"z\nz\n\nz", {z, z, empty, z}},
        {"z\rz\r\rz", {z, z, empty, z}},
        {"z\r\nz\n\rz\r\r\nz", {z, z, empty, z, empty, z}},
        {lineOf(256) + "\r\n\r\nz\r\n", {cut, empty, z}},
        {lineOf(257) + "\r\nz", {cut, z}},
        {std::string(9000, 'L') + ",b,n,3,4\r\nz\r\n", {std::string(259, 'L') + ",b,n,3,4", z}},
    };
    TempFolder folder;
    for (const auto& [bytes, rows] : cases) {
        ASSERT_TRUE(WriteFileBytes(folder.File("index.kvd"), bytes));
        EXPECT_EQ(ReadAll(folder.File("index.kvd")), rows) << testing::PrintToString(bytes.substr(0, 40));
    }
}

TEST(IndexFile, AReadOrWriteThatFailsStopsAndAWriteLeavesTheOldFileAndNoOther) {
    TempFolder folder;
    const std::string path = folder.File("Kelvora.dat"), old = "a\r\nb\r\nc\r\n";
    EXPECT_EQ(ReadAll(path), std::vector<std::string>{"failed"});
    ASSERT_TRUE(WriteFileBytes(path, old));
    std::vector<std::string> offered;
    EXPECT_FALSE(ReadIndexFile(path.c_str(), kMacros, [&offered](const LogEntry& e) {
        offered.push_back(e.LogFileName);
        return offered.size() == 2 ? -1 : 0;  // the consumer refuses the second entry
    }));
    EXPECT_EQ(offered, (std::vector<std::string>{"a", "b"}));

    auto failsAtRowOne = [](int index, LogEntry* out) { return *out = LogEntry{}, index != 1; };
    EXPECT_FALSE(WriteIndexFile(path.c_str(), 3, failsAtRowOne));
    EXPECT_FALSE(WriteIndexFile(path.c_str(), -1, failsAtRowOne));
    // One step fails: the write after none, half or nearly all of its bytes (the last on a full disk), the
    // flush, or putting the new file in the old one's place.
    struct FailingStep : IndexFileOps {
        int step = 0;
        bool Write(HANDLE file, const void* data, DWORD size) override {
            if (step > 2) return IndexFileOps::Write(file, data, size);
            IndexFileOps::Write(file, data, static_cast<DWORD>(size * ULONGLONG{step == 0 ? 0u : step * 49u} / 100));
            SetLastError(step == 2 ? ERROR_DISK_FULL : ERROR_WRITE_FAULT);
            return false;
        }
        bool Flush(HANDLE file) override { return step != 3 && IndexFileOps::Flush(file); }
        bool Replace(const char* from, const char* to) override { return step != 4 && IndexFileOps::Replace(from, to); }
    } failing;
    IndexFileOps* previous = SetIndexFileOps(&failing);
    for (failing.step = 0; failing.step < 5; ++failing.step) {
        EXPECT_FALSE(Write(path, {"new,b,c,0,0", "new,d,e,0,0"})) << failing.step;
        EXPECT_EQ(ReadFileBytes(path), old) << failing.step;
        EXPECT_EQ(CheckFile(folder.File("*.tmp").c_str()), 0) << failing.step;
    }
    SetIndexFileOps(previous);
    EXPECT_FALSE(Write(folder.File("missing\\Kelvora.dat"), {"a"}));
    OwnedFile lock(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(Write(path, {"a"}));
    EXPECT_EQ(ReadAll(path), std::vector<std::string>{"failed"});  // nothing comes before the failure
    lock.Reset();
    EXPECT_EQ(ReadFileBytes(path), old);
    EXPECT_EQ(CheckFile(folder.File("*.tmp").c_str()), 0);  // no new file left behind
}

// The date and size of a log file, also while a writer holds it open with any share mode (-1: none).
TEST(LogFileStatus, IsTheLocalLastWriteTimeAndSizeOfTheExpandedName) {
    TempFolder folder;
    const std::string log = folder.File(kSo + "030731.log");
    // -1: nobody holds the log; otherwise a writer holds it open with each kind of sharing.
    const int shares[] = {-1, 0, FILE_SHARE_READ, FILE_SHARE_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE};
    for (int share : shares) {
        ASSERT_TRUE(WriteFileBytes(log, "12345"));
        OwnedFile writer;
        if (share >= 0) {
            writer.Reset(CreateFileA(log.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES, static_cast<DWORD>(share),
                                     nullptr, OPEN_EXISTING, 0, nullptr));
            DWORD written = 0;
            ASSERT_TRUE(WriteFile(writer.Get(), "678", 3, &written, nullptr));
        }
        WIN32_FILE_ATTRIBUTE_DATA data;
        FILETIME local;
        ASSERT_TRUE(GetFileAttributesExA(log.c_str(), GetFileExInfoStandard, &data));
        FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
        LogEntry entry;
        lstrcpynA(entry.LogFileName, (folder.Path() + kSo + "#$%.log").c_str(), kLogFileNameSize);
        RefreshFileStatus(&entry, kMacros);
        EXPECT_EQ(entry.FileSize, share < 0 ? 5u : 8u) << share;
        EXPECT_EQ(FileTimeValue(entry.FileTime), FileTimeValue(local)) << share;
    }
    LogEntry entry;  // a missing file and a folder give 0
    for (const std::string& other : {folder.File("missing.log"), folder.Path()}) {
        lstrcpynA(entry.LogFileName, other.c_str(), kLogFileNameSize);
        RefreshFileStatus(&entry, kMacros);
        EXPECT_EQ(entry.FileSize + FileTimeValue(entry.FileTime), 0u) << other;
    }
}

}  // namespace
