// The index table file: line parsing and formatting, whole-file round trips, writes that fail at
// each step, and the status of the log files it names.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "lib/file_reader.h"
#include "lib/owned.h"
#include "loglist/index_file.h"
#include "settings/environ.h"
#include "test_env.h"

using testing_support::ReadFileBytes;
using testing_support::TempFolder;
using testing_support::WriteFileBytes;

namespace {

const DateMacroTexts kMacros{"03", "07", "31"};
const std::string kSo = "\x83\x5C";   // ソ: second byte '\'
const std::string kPo = "\x83\x7C";   // ポ: second byte '|'
const std::string kA = "\x82\xA0";    // あ

std::string Repeat(const std::string& text, int count) {
    std::string result;
    while (count-- > 0) result += text;
    return result;
}

// The persisted fields of an entry, separated by TABs: log file, browser, list name, seen low, seen high.
std::string Fields(const LogEntry& e) {
    return std::string(e.LogFileName) + "\t" + e.BrowserName + "\t" + e.ListName + "\t" +
           std::to_string(e.SeenTime.dwLowDateTime) + "\t" + std::to_string(e.SeenTime.dwHighDateTime);
}

LogEntry Entry(const std::string& fields) {
    LogEntry e;
    size_t p[4];
    for (size_t i = 0, from = 0; i < 4; from = p[i++] + 1) p[i] = fields.find('\t', from);
    lstrcpynA(e.LogFileName, fields.substr(0, p[0]).c_str(), kLogFileNameSize);
    lstrcpynA(e.BrowserName, fields.substr(p[0] + 1, p[1] - p[0] - 1).c_str(), kBrowserNameSize);
    lstrcpynA(e.ListName, fields.substr(p[1] + 1, p[2] - p[1] - 1).c_str(), kListNameSize);
    e.SeenTime = FILETIME{std::stoul(fields.substr(p[2] + 1)), std::stoul(fields.substr(p[3] + 1))};
    return e;
}

std::vector<std::string> ReadAll(const std::string& path, bool* ok = nullptr) {
    std::vector<std::string> read;
    bool result = ReadIndexFile(path.c_str(), kMacros, [&read](const LogEntry& e) {
        read.push_back(Fields(e));
        return static_cast<int>(read.size()) - 1;
    });
    if (ok) *ok = result;
    return read;
}

bool Write(const std::string& path, const std::vector<std::string>& rows) {
    return WriteIndexFile(path.c_str(), static_cast<int>(rows.size()), [&rows](int i, LogEntry* out) {
        *out = Entry(rows[i]);
        return true;
    });
}

TEST(IndexLine, SplitsTheFieldsCutsEachToItsWidthAndClearsTheDerivedOnes) {
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\a.log,notepad.exe,A|B,5,7", "C:\\a.log\tnotepad.exe\tA|B\t5\t7"},
        {"a,b,c,5", "a\tb\tc\t0\t0"},  // without a fifth field SeenTime is 0
        {"a,b,c,x9,1,2", "a\tb\tc\t9\t1"},
        {"a,b,c,4294967295,2147483648", "a\tb\tc\t4294967295\t2147483648"},
        {"", "\t\t\t0\t0"},
        {"C:\\" + kSo + "\\x.log,b,x" + kPo + "y|z,1,2", "C:\\" + kSo + "\\x.log\tb\tx" + kPo + "y|z\t1\t2"},
        {"a,b," + Repeat(kA, 64) + ",5,7", "a\tb\t" + Repeat(kA, 63) + "\t5\t7"},
        {std::string(300, 'f') + ",b,c,5,7", std::string(259, 'f') + "\tb\tc\t5\t7"},
        {"a,x" + Repeat(kSo, 140) + ",c,5,7", "a\tx" + Repeat(kSo, 129) + "\tc\t5\t7"},
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
    EXPECT_EQ(FormatIndexLine(Entry("C:\\" + kSo + ".log\tb.exe\t" + kPo + "|x\t4294967295\t30000000")),
              "C:\\" + kSo + ".log,b.exe," + kPo + "|x,4294967295,30000000\r\n");
    EXPECT_TRUE(IsStorableIndexField(("C:\\" + kSo + kPo + "|.log").c_str()));
    EXPECT_FALSE(IsStorableIndexField((kSo + ",").c_str()));
}

TEST(IndexFile, ReadsBackWhatWasWrittenByteForByte) {
    TempFolder folder;
    std::string path = folder.File("Kelvora.dat");
    const std::vector<std::string> rows = {
        "C:\\" + kSo + "\\" + kPo + ".log\tC:\\Program Files\\viewer.exe\t" + kPo + "|" + kSo + "\t4294967295\t30517197",
        "C:\\log\\ap#$%.log\tnotepad.exe\tdaily\t0\t0",
        // Longer than a reader's 256 bytes: the program writes such lines, so it must read them.
        "C:\\" + std::string(254, 'L') + ".x\t" + std::string(259, 'B') + "\t" + Repeat(kA, 63) + "z\t1\t2147483648",
        "\t\t\t0\t0",
    };
    ASSERT_TRUE(Write(path, rows));
    std::string bytes;
    for (const std::string& row : rows) bytes += FormatIndexLine(Entry(row));
    EXPECT_EQ(ReadFileBytes(path), bytes);
    EXPECT_EQ(ReadAll(path), rows);
    ASSERT_TRUE(Write(path, ReadAll(path)));
    EXPECT_EQ(ReadFileBytes(path), bytes);
    ASSERT_TRUE(Write(path, {}));  // an empty list leaves an empty file
    EXPECT_EQ(ReadFileBytes(path), "");
    EXPECT_EQ(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_ARCHIVE, static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
}

TEST(IndexFile, EveryLineEndCountsAndEveryLineIsOneEntry) {
    // A line of exactly n bytes: "a,b," then a list name that fills it, then ",1,2".
    auto lineOf = [](size_t n) { return "a,b," + std::string(n - 8, 'x') + ",1,2"; };
    const std::string cut = "a\tb\t" + std::string(127, 'x') + "\t1\t2", z = "z\t\t\t0\t0", empty = "\t\t\t0\t0";
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"", {}},
        {"\r\n", {empty}},
        {"a,b,c,1,2\r\n\r\nd\r\n", {"a\tb\tc\t1\t2", empty, "d\t\t\t0\t0"}},
        {"a,b,c,1,2\r", {"a\tb\tc\t1\t2"}},
        {"z\nz\n\nz", {z, z, empty, z}},
        {"z\rz\r\rz", {z, z, empty, z}},
        {"z\r\nz\n\rz\r\r\nz", {z, z, empty, z, empty, z}},
        {lineOf(256) + "\r\n\r\nz\r\n", {cut, empty, z}},
        {lineOf(257) + "\r\nz", {cut, z}},
        {"z\r\n" + lineOf(256), {z, cut}},
        {std::string(9000, 'L') + ",b,n,3,4\r\nz\r\n", {std::string(259, 'L') + "\tb\tn\t3\t4", z}},
    };
    TempFolder folder;
    for (const auto& [bytes, rows] : cases) {
        ASSERT_TRUE(WriteFileBytes(folder.File("index.kvd"), bytes));
        bool ok = false;
        EXPECT_EQ(ReadAll(folder.File("index.kvd"), &ok), rows) << testing::PrintToString(bytes.substr(0, 40));
        EXPECT_TRUE(ok);
    }
}

TEST(IndexFile, AFileThatCannotBeReadOrAConsumerThatRefusesStopsTheRead) {
    TempFolder folder;
    std::string path = folder.File("Kelvora.dat");
    bool ok = true;
    EXPECT_TRUE(ReadAll(path, &ok).empty());
    EXPECT_FALSE(ok);
    ASSERT_TRUE(WriteFileBytes(path, "a\r\nb\r\nc\r\n"));
    {
        OwnedFile lock(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        EXPECT_TRUE(ReadAll(path, &ok).empty());
        EXPECT_FALSE(ok);
    }
    std::vector<std::string> offered;
    EXPECT_FALSE(ReadIndexFile(path.c_str(), kMacros, [&offered](const LogEntry& e) {
        offered.push_back(e.LogFileName);
        return offered.size() == 2 ? -1 : 0;
    }));
    EXPECT_EQ(offered, (std::vector<std::string>{"a", "b"}));
}

// File steps that fail at one point.
struct FailingOps : IndexFileOps {
    const char* failing;
    explicit FailingOps(const char* step) : failing(step) {}
    bool Write(HANDLE f, const void* d, DWORD n) override { return strcmp(failing, "write") && IndexFileOps::Write(f, d, n); }
    bool Flush(HANDLE f) override { return strcmp(failing, "flush") && IndexFileOps::Flush(f); }
    bool Replace(const char* a, const char* b) override { return strcmp(failing, "replace") && IndexFileOps::Replace(a, b); }
};

TEST(IndexFile, AWriteThatFailsAtAnyStepLeavesTheOldFileAndNoOtherFile) {
    TempFolder folder;
    const std::string path = folder.File("Kelvora.dat"), old = "old,b,c,1,2\r\n";
    ASSERT_TRUE(WriteFileBytes(path, old));
    auto failsAtRowOne = [](int index, LogEntry* out) { return *out = LogEntry{}, index != 1; };
    EXPECT_FALSE(WriteIndexFile(path.c_str(), 3, failsAtRowOne));
    EXPECT_FALSE(WriteIndexFile(path.c_str(), -1, failsAtRowOne));
    for (const char* step : {"write", "flush", "replace"}) {
        FailingOps ops(step);
        IndexFileOps* previous = SetIndexFileOps(&ops);
        EXPECT_FALSE(Write(path, {"new\tb\tc\t0\t0"})) << step;
        SetIndexFileOps(previous);
    }
    EXPECT_EQ(ReadFileBytes(path), old);
    WIN32_FIND_DATAA found;
    OwnedFind find(FindFirstFileA(folder.File("*").c_str(), &found));
    int files = 0;
    for (bool more = static_cast<bool>(find); more; more = FindNextFileA(find.Get(), &found)) files += found.cFileName[0] != '.';
    EXPECT_EQ(files, 1);
    EXPECT_FALSE(Write(folder.File("missing\\Kelvora.dat"), {"a\tb\tc\t1\t2"}));
    OwnedFile lock(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(Write(path, {"a\tb\tc\t1\t2"}));
}

// A log file whose last write is 2020-01-02 03:04:05 UTC; answers that time in local time.
FILETIME MakeLog(const std::string& path, const std::string& bytes) {
    EXPECT_TRUE(WriteFileBytes(path, bytes));
    SYSTEMTIME st = {2020, 1, 4, 2, 3, 4, 5, 0};
    FILETIME utc, local;
    SystemTimeToFileTime(&st, &utc);
    OwnedFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(SetFileTime(file.Get(), nullptr, nullptr, &utc));
    FileTimeToLocalFileTime(&utc, &local);
    return local;
}

LogEntry Refreshed(const std::string& logFileName) {
    LogEntry entry;
    lstrcpynA(entry.LogFileName, logFileName.c_str(), kLogFileNameSize);
    entry.FileTime = FILETIME{1, 1};
    entry.FileSize = 99;
    RefreshFileStatus(&entry, kMacros);
    return entry;
}

TEST(LogFileStatus, IsTheLocalLastWriteTimeAndSizeAlsoWhileAWriterHoldsTheFile) {
    TempFolder folder;
    FILETIME local = MakeLog(folder.File(kSo + "030731.log"), "12345");
    LogEntry entry = Refreshed(folder.File(kSo + "#$%.log"));
    EXPECT_EQ(entry.FileSize, 5u);
    EXPECT_EQ(FileTimeValue(entry.FileTime), FileTimeValue(local));
    for (const std::string& name : {folder.File("missing.log"), std::string(""), folder.Path()}) {
        entry = Refreshed(name);
        EXPECT_EQ(entry.FileSize + FileTimeValue(entry.FileTime), 0u) << name;
    }
    const std::string held = folder.File("held.log");
    for (DWORD share : {0, FILE_SHARE_READ, FILE_SHARE_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE}) {
        MakeLog(held, "12345");
        OwnedFile writer(CreateFileA(held.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES, share, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(writer);
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(writer.Get(), "678", 3, &written, nullptr));
        FILETIME utc;
        ASSERT_TRUE(GetFileTime(writer.Get(), nullptr, nullptr, &utc));
        FileTimeToLocalFileTime(&utc, &local);
        entry = Refreshed(held);
        EXPECT_EQ(entry.FileSize, 8u) << share;
        EXPECT_EQ(FileTimeValue(entry.FileTime), FileTimeValue(local)) << share;
    }
    // Reading the index fills each entry from its expanded name.
    ASSERT_TRUE(WriteFileBytes(folder.File("Kelvora.dat"), folder.File(kSo + "#$%.log,b,c,1,2\r\n")));
    std::vector<LogEntry> read;
    ASSERT_TRUE(ReadIndexFile(folder.File("Kelvora.dat").c_str(), kMacros, [&read](const LogEntry& e) {
        read.push_back(e);
        return 0;
    }));
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].FileSize, 5u);
}

TEST(IndexPathForWrite, AnEmptyIndexTakesAFreeNameInTheDataFolder) {
    testing_support::DeleteProgramSettings();
    {
        Environ settings(GetModuleHandleA(nullptr));
        char folder[MAX_PATH];
        BuildDataFolder(settings.Instance(), folder);
        ASSERT_NE(folder[0], '\0');
        CreateClassDirectory(folder);
        const std::string base = std::string(folder) + "Kelvora";
        // A file already there was not read by this run: it is never written over.
        for (const std::string& expected : {base + ".dat", base + "2.dat", base + "3.dat"}) {
            settings.SetIndex("");
            EXPECT_EQ(IndexPathForWrite(settings), expected);
            EXPECT_EQ(settings.GetIndex(), expected);
            ASSERT_TRUE(WriteFileBytes(expected, "taken\r\n"));
        }
        settings.SetIndex("C:\\elsewhere.kvd");
        EXPECT_STREQ(IndexPathForWrite(settings), "C:\\elsewhere.kvd");
        for (const char* n : {".dat", "2.dat", "3.dat"}) DeleteFileA((base + n).c_str());
    }
    testing_support::DeleteProgramSettings();
}

}  // namespace
