// The index table file: line parsing and formatting, whole-file round trips, blank lines, files
// that are no list or too long for one, writes that fail at each step, and the status of the log
// files it names.
#include <gtest/gtest.h>

#include <vector>

#include "lib/core/owned.h"
#include "lib/file_reader.h"
#include "loglist/index_file.h"
#include "test_env.h"

using namespace testing_support;

namespace {

const DateMacroTexts kMacros{"03", "07", "31"};
const std::string kSo = "\x83\x5C";  // ソ: second byte '\'
const std::string kPo = "\x83\x7C";  // ポ: second byte '|'
const std::string kA = "\x82\xA0";   // あ

// The persisted fields of an entry as a line of the file: log file, browser, list name, seen low, seen high.
std::string Fields(const LogEntry& e) {
    return std::string(e.LogFileName) + "," + e.BrowserName + "," + e.ListName + "," +
           std::to_string(e.SeenTime.dwLowDateTime) + "," + std::to_string(e.SeenTime.dwHighDateTime);
}

// The entries read, or how the read failed.
std::vector<std::string> ReadAll(const std::string& path) {
    IndexEntries entries;
    const IndexRead result = ReadIndexFile(path.c_str(), kMacros, &entries);
    if (result != IndexRead::Read) return {result == IndexRead::NotAList ? "not a list" : "unreadable or too long"};
    std::vector<std::string> read;
    for (int i = 0; i < entries.Count(); ++i) read.push_back(Fields(entries[i]));
    return read;
}

// The entries that a file of these bytes gives, or how its read failed.
std::vector<std::string> ReadBytes(const std::string& bytes) {
    TempFolder folder;
    EXPECT_TRUE(WriteFileBytes(folder.File("index.kvd"), bytes));
    return ReadAll(folder.File("index.kvd"));
}

// Writes the entries that the given lines give.
bool Write(const std::string& path, const std::vector<std::string>& lines) {
    return WriteIndexFile(path.c_str(), static_cast<int>(lines.size()), [&lines](int i, LogEntry* out) {
        ParseIndexLine(lines[i].c_str(), out);
        return true;
    });
}

TEST(IndexLine, SplitsTheFieldsAndCutsEachToItsWidthAtACharacter) {
    const std::pair<std::string, std::string> cases[] = {
        {"a,b,c,5", "a,b,c,0,0"},  // without a fifth field SeenTime is 0
        {"a,b,c,x9,1,2", "a,b,c,9,1"},
        {"a,b," + Repeat(kA, 64) + ",5,7", "a,b," + Repeat(kA, 63) + ",5,7"},
        {std::string(300, 'f') + ",b,c,5,7", std::string(259, 'f') + ",b,c,5,7"},
        {"a,x" + Repeat(kSo, 140) + ",c,5,7", "a,x" + Repeat(kSo, 129) + ",c,5,7"},
    };
    for (const auto& [line, fields] : cases) {
        LogEntry entry;
        ParseIndexLine(line.c_str(), &entry);
        EXPECT_EQ(Fields(entry), fields);
    }
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
    EXPECT_EQ(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_ARCHIVE, static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
}

// A line ends at CR LF, a lone CR or a lone LF and is read whole, however long; a blank line
// (nothing, or only spaces, TABs and full-width spaces), wherever it stands, is no entry.
TEST(IndexFile, EachLineThatIsNotBlankIsOneEntryWhateverItsEndOrLength) {
    // A line of exactly n bytes: "a,b," then a list name that fills it, then ",1,2".
    auto lineOf = [](size_t n) { return "a,b," + std::string(n - 8, 'x') + ",1,2"; };
    const std::string cut = "a,b," + std::string(127, 'x') + ",1,2", z = "z,,,0,0", wide = "\x81\x40";
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"a,b,c,1,2\r", {"a,b,c,1,2"}},
        {"z,,\r\nz,,\n\rz,,\r\r\nz,,", {z, z, z, z}},
        {lineOf(257) + "\r\nz,,", {cut, z}},
        {std::string(9000, 'L') + ",b,n,3,4\r\nz,,\r\n", {std::string(259, 'L') + ",b,n,3,4", z}},
        {"\r\n \t\r\nz,,\r\n" + wide + " " + wide + "\t\r\n\n\rz,,\r\n\r\n" + wide + "\r\n  ", {z, z}},
        {"\r\n" + wide + "\r\n", {}},                      // blank lines only: an empty list
        {"z,,\r\n \x81\x41\r\n", {z, " \x81\x41,,,0,0"}},  // 、 is no blank
        {"header\r\nz,,", {"header,,,0,0", z}},            // in a list, a line without the fields is an entry too
    };
    for (const auto& [bytes, rows] : cases) EXPECT_EQ(ReadBytes(bytes), rows) << testing::PrintToString(bytes);
}

TEST(IndexFile, AFileWithANulByteOrWithoutALineOfThreeFieldsIsNoList) {
    // gzip, UTF-16, a list with a NUL after it, and text with no line of two commas
    const std::string notLists[] = {std::string("\x1f\x8b\x08\0\0\0\0\0\x03", 9),
                                    std::string("\xFF\xFE"
                                                "a\0,\0b\0,\0c\0\r\0\n\0",
                                                16),
                                    std::string("a,b,c,0,0\r\n\0", 12), "started\r\nstopped\r\n", "one, two\r\n"};
    for (const std::string& bytes : notLists)
        EXPECT_EQ(ReadBytes(bytes), std::vector<std::string>{"not a list"}) << testing::PrintToString(bytes);
}

// A list of as many entries as a list holds loads: see the window tests.
TEST(IndexFile, MoreEntriesOrBytesThanAListHoldsAreTooLong) {
    TempFolder folder;
    const std::string path = folder.File("index.dat");
    ASSERT_TRUE(WriteFileBytes(path, Repeat("a,b,c\r\n", kIndexEntryLimit + 1)));
    EXPECT_EQ(CheckIndexFile(path.c_str()), IndexRead::TooLong);
    OwnedFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_NE(SetFilePointer(file.Get(), 68 << 20, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    ASSERT_TRUE(SetEndOfFile(file.Get()));  // 68 MB: more than the longest lines of a full list take
    file.Reset();
    EXPECT_EQ(CheckIndexFile(path.c_str()), IndexRead::TooLong);
}

TEST(IndexFile, AWriteThatFailsAtAnyStepLeavesTheOldFileAndNoOther) {
    TempFolder folder;
    const std::string path = folder.File("Kelvora.dat"), old = "a,,\r\nb,,\r\nc,,\r\n";
    ASSERT_TRUE(WriteFileBytes(path, old));

    auto failsAtRowOne = [](int index, LogEntry* out) { return *out = LogEntry{}, index != 1; };
    EXPECT_FALSE(WriteIndexFile(path.c_str(), 3, failsAtRowOne));
    EXPECT_FALSE(WriteIndexFile(path.c_str(), -1, failsAtRowOne));
    // More rows than a list holds would make a file that cannot be read back.
    EXPECT_FALSE(WriteIndexFile(path.c_str(), kIndexEntryLimit + 1, [](int, LogEntry*) { return true; }));
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
    {
        Seam<IndexFileOps*>::Override used(indexFileOpsSeam, &failing);
        for (failing.step = 0; failing.step < 5; ++failing.step) {
            EXPECT_FALSE(Write(path, {"new,b,c,0,0", "new,d,e,0,0"})) << failing.step;
            EXPECT_EQ(ReadFileBytes(path), old) << failing.step;
            EXPECT_EQ(CheckFile(folder.File("*.tmp").c_str()), 0) << failing.step;
        }
    }
    EXPECT_FALSE(Write(folder.File("missing\\Kelvora.dat"), {"a"}));
    EXPECT_EQ(CheckFile(folder.File("*.tmp").c_str()), 0);  // no new file left behind
}

// The date and size of a log file, also while a writer holds it open.
TEST(LogFileStatus, IsTheLocalLastWriteTimeAndSizeOfTheExpandedName) {
    TempFolder folder;
    const std::string log = folder.File(kSo + "030731.log");
    // -1: nobody holds the log; 0: a writer holds it sharing nothing, so that any way of reading the
    // status that opens the file fails, whatever it shares itself.
    for (int share : {-1, 0}) {
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
