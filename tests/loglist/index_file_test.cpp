// The index table file: line parsing and formatting, whole-file round trips, and log file status.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "lib/owned.h"
#include "loglist/index_file.h"
#include "settings/environ.h"
#include "test_env.h"

using testing_support::ReadFileBytes;
using testing_support::TempFolder;
using testing_support::WriteFileBytes;

namespace {

const DateMacroTexts kMacros{"03", "07", "31"};
const std::string kSo = "\x83\x5C";        // ソ: second byte '\'
const std::string kPo = "\x83\x7C";        // ポ: second byte '|'
const std::string kHiragana = "\x82\xA0";  // あ

struct Fields {
    std::string logFileName;
    std::string browserName;
    std::string listName;
    DWORD seenLow;
    DWORD seenHigh;
    bool operator==(const Fields& o) const {
        return logFileName == o.logFileName && browserName == o.browserName && listName == o.listName &&
               seenLow == o.seenLow && seenHigh == o.seenHigh;
    }
};

void PrintTo(const Fields& f, std::ostream* os) {
    *os << "{" << f.logFileName << " | " << f.browserName << " | " << f.listName << " | " << f.seenLow << ", "
        << f.seenHigh << "}";
}

Fields FieldsOf(const LogEntry& e) {
    return {e.LogFileName, e.BrowserName, e.ListName, e.SeenTime.dwLowDateTime, e.SeenTime.dwHighDateTime};
}

LogEntry MakeEntry(const Fields& f) {
    LogEntry e;
    lstrcpynA(e.LogFileName, f.logFileName.c_str(), kLogFileNameSize);
    lstrcpynA(e.BrowserName, f.browserName.c_str(), kBrowserNameSize);
    lstrcpynA(e.ListName, f.listName.c_str(), kListNameSize);
    e.SeenTime = FILETIME{f.seenLow, f.seenHigh};
    return e;
}

std::string Repeat(const std::string& text, int count) {
    std::string result;
    for (int i = 0; i < count; ++i) result += text;
    return result;
}

bool ReadAll(const std::string& path, std::vector<Fields>* read) {
    read->clear();
    return ReadIndexFile(path.c_str(), kMacros, [read](const LogEntry& e) {
        read->push_back(FieldsOf(e));
        return static_cast<int>(read->size()) - 1;
    });
}

// ---- one line ----

struct ParseCase {
    const char* name;
    std::string line;
    Fields expected;
};

class ParseIndexLineTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseIndexLineTest, SplitsTheFields) {
    LogEntry entry;
    entry.FileTime = FILETIME{1, 2};
    entry.FileSize = 3;
    std::strcpy(entry.DisplayText, "old");
    ParseIndexLine(GetParam().line.c_str(), &entry);
    EXPECT_EQ(FieldsOf(entry), GetParam().expected);
    EXPECT_EQ(entry.FileSize, 0u);
    EXPECT_EQ(FileTimeValue(entry.FileTime), 0u);
    EXPECT_STREQ(entry.DisplayText, "");
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ParseIndexLineTest,
    testing::Values(
        ParseCase{"FiveFields", "C:\\a.log,notepad.exe,A|B,5,7", {"C:\\a.log", "notepad.exe", "A|B", 5, 7}},
        ParseCase{"ThreeFields", "a,b,c", {"a", "b", "c", 0, 0}},
        ParseCase{"FourFieldsIgnoreTheirDigits", "a,b,c,5", {"a", "b", "c", 0, 0}},
        ParseCase{"EmptyFifthField", "a,b,c,5,", {"a", "b", "c", 0, 0}},
        ParseCase{"DigitsAfterOtherBytesAndARestWithCommas", "a,b,c,x9,1,2", {"a", "b", "c", 9, 1}},
        ParseCase{"Unsigned32BitHalves", "a,b,c,4294967295,2147483648", {"a", "b", "c", 0xFFFFFFFF, 0x80000000}},
        ParseCase{"EmptyLine", "", {"", "", "", 0, 0}},
        ParseCase{"DoubleByteNames", "C:\\" + kSo + "\\x.log,b,x" + kPo + "y|z,1,2",
                  {"C:\\" + kSo + "\\x.log", "b", "x" + kPo + "y|z", 1, 2}},
        ParseCase{"LongListNameCut", "a,b," + std::string(130, 'x') + ",5,7", {"a", "b", std::string(127, 'x'), 5, 7}},
        ParseCase{"LongListNameCutBeforeADoubleByteCharacter", "a,b," + Repeat(kHiragana, 64) + ",5,7",
                  {"a", "b", Repeat(kHiragana, 63), 5, 7}},
        ParseCase{"LongLogFileNameCut", std::string(300, 'f') + ",b,c,5,7", {std::string(259, 'f'), "b", "c", 5, 7}},
        ParseCase{"LongBrowserNameCutAtACharacter", "a,x" + Repeat(kSo, 140) + ",c,5,7",
                  {"a", "x" + Repeat(kSo, 129), "c", 5, 7}}),
    [](const testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

TEST(FormatIndexLine, WritesFiveFieldsLowHalfFirst) {
    LogEntry entry = MakeEntry({"C:\\" + kSo + ".log", "b.exe", kPo + "|x", 4294967295u, 30000000});
    EXPECT_EQ(FormatIndexLine(entry), "C:\\" + kSo + ".log,b.exe," + kPo + "|x,4294967295,30000000\r\n");
}

TEST(IsStorableIndexField, RefusesOnlyASingleByteComma) {
    EXPECT_TRUE(IsStorableIndexField(""));
    EXPECT_TRUE(IsStorableIndexField(("C:\\" + kSo + kPo + "|.log").c_str()));
    EXPECT_FALSE(IsStorableIndexField("a,b"));
    EXPECT_FALSE(IsStorableIndexField((kSo + ",").c_str()));
}

// ---- whole files ----

TEST(IndexFileRoundTrip, ReadsBackWhatWasWritten) {
    TempFolder folder;
    std::string path = folder.File("Kelvora.dat");
    std::vector<Fields> written = {
        {"C:\\" + kSo + "\\" + kPo + ".log", "C:\\Program Files\\viewer.exe", kPo + "|" + kSo + "|" + kPo, 0xFFFFFFFF,
         0x01D9ABCD},
        {"C:\\log\\ap#$%.log", "notepad.exe", "daily", 0, 0},
        {"a", "b", "c", 5, 7},
        // Longer than the reader's 256 bytes: the program writes such lines, so it must read them.
        {"C:\\" + std::string(254, 'L') + ".x", std::string(259, 'B'), Repeat(kHiragana, 63) + "z", 1, 0x80000000},
        {"", "", "", 0, 0},
    };
    std::vector<LogEntry> entries;
    for (const Fields& f : written) entries.push_back(MakeEntry(f));
    ASSERT_TRUE(WriteIndexFile(path.c_str(), entries));

    std::string expectedBytes;
    for (const LogEntry& e : entries) expectedBytes += FormatIndexLine(e);
    EXPECT_EQ(ReadFileBytes(path), expectedBytes);

    std::vector<Fields> read;
    ASSERT_TRUE(ReadAll(path, &read));
    EXPECT_EQ(read, written);

    // Written again from what was read, the file stays byte for byte the same.
    std::vector<LogEntry> again;
    for (const Fields& f : read) again.push_back(MakeEntry(f));
    ASSERT_TRUE(WriteIndexFile(path.c_str(), again));
    EXPECT_EQ(ReadFileBytes(path), expectedBytes);
}

struct FileCase {
    const char* name;
    std::string bytes;
    std::vector<Fields> expected;
};

class ReadIndexFileTest : public testing::TestWithParam<FileCase> {};

TEST_P(ReadIndexFileTest, HandsOverEveryLine) {
    TempFolder folder;
    std::string path = folder.File("index.kvd");
    ASSERT_TRUE(WriteFileBytes(path, GetParam().bytes));
    std::vector<Fields> read;
    EXPECT_TRUE(ReadAll(path, &read));
    EXPECT_EQ(read, GetParam().expected);
}

// A line of exactly n bytes: "a,b," then a list name that fills it, then ",1,2".
std::string LineOf(size_t n, char fill) { return "a,b," + std::string(n - 8, fill) + ",1,2"; }

INSTANTIATE_TEST_SUITE_P(
    Files, ReadIndexFileTest,
    testing::Values(
        FileCase{"Empty", "", {}},
        FileCase{"OnlyALineEnd", "\r\n", {{"", "", "", 0, 0}}},
        FileCase{"EmptyLineInTheMiddle",
                 "a,b,c,1,2\r\n\r\nd,e,f,3,4\r\n",
                 {{"a", "b", "c", 1, 2}, {"", "", "", 0, 0}, {"d", "e", "f", 3, 4}}},
        FileCase{"ShortLines", "a\r\nb,c\r\n", {{"a", "", "", 0, 0}, {"b", "c", "", 0, 0}}},
        FileCase{"LastLineWithoutLineEnd", "a,b,c,1,2\r\nd,e,f,3,4", {{"a", "b", "c", 1, 2}, {"d", "e", "f", 3, 4}}},
        FileCase{"LastLineEndsInCROnly", "a,b,c,1,2\r", {{"a", "b", "c", 1, 2}}},
        // Lists edited or copied elsewhere: every line end counts, and each line is one entry.
        FileCase{"LoneLfLines", "a,b,c,1,2\nd\n\ne,f\n",
                 {{"a", "b", "c", 1, 2}, {"d", "", "", 0, 0}, {"", "", "", 0, 0}, {"e", "f", "", 0, 0}}},
        FileCase{"LoneCrLines", "a,b,c,1,2\rd\r\re",
                 {{"a", "b", "c", 1, 2}, {"d", "", "", 0, 0}, {"", "", "", 0, 0}, {"e", "", "", 0, 0}}},
        FileCase{"MixedLineEnds", "a\r\nb\n\rc\r\r\nd",
                 {{"a", "", "", 0, 0}, {"b", "", "", 0, 0}, {"", "", "", 0, 0}, {"c", "", "", 0, 0}, {"", "", "", 0, 0},
                  {"d", "", "", 0, 0}}},
        FileCase{"LineOf256", LineOf(256, 'x') + "\r\nz\r\n", {{"a", "b", std::string(127, 'x'), 1, 2}, {"z", "", "", 0, 0}}},
        FileCase{"LineOf256ThenEmptyLine",
                 LineOf(256, 'x') + "\r\n\r\nz\r\n",
                 {{"a", "b", std::string(127, 'x'), 1, 2}, {"", "", "", 0, 0}, {"z", "", "", 0, 0}}},
        FileCase{"LineOf257", LineOf(257, 'x') + "\r\nz\r\n", {{"a", "b", std::string(127, 'x'), 1, 2}, {"z", "", "", 0, 0}}},
        FileCase{"LastLineOf256WithoutLineEnd", "z\r\n" + LineOf(256, 'x'),
                 {{"z", "", "", 0, 0}, {"a", "b", std::string(127, 'x'), 1, 2}}},
        FileCase{"LongLineWithEveryFieldWide",
                 std::string(259, 'L') + "," + std::string(259, 'B') + "," + std::string(127, 'N') + ",11,22\r\n",
                 {{std::string(259, 'L'), std::string(259, 'B'), std::string(127, 'N'), 11, 22}}},
        FileCase{"LongLineOverABlock",
                 "a,b,c,1,2\r\n" + std::string(9000, 'L') + ",b,n,3,4\r\nz\r\n",
                 {{"a", "b", "c", 1, 2}, {std::string(259, 'L'), "b", "n", 3, 4}, {"z", "", "", 0, 0}}}),
    [](const testing::TestParamInfo<FileCase>& info) { return std::string(info.param.name); });

TEST(ReadIndexFile, FailsWhenTheFileCannotBeOpened) {
    TempFolder folder;
    std::string path = folder.File("Kelvora.dat");
    std::vector<Fields> read;
    EXPECT_FALSE(ReadAll(path, &read));

    ASSERT_TRUE(WriteFileBytes(path, "a,b,c,1,2\r\n"));
    OwnedFile lock(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock);
    EXPECT_FALSE(ReadAll(path, &read));
    EXPECT_TRUE(read.empty());
}

TEST(ReadIndexFile, StopsWhenTheConsumerRefusesKeepingEarlierEntries) {
    TempFolder folder;
    std::string path = folder.File("Kelvora.dat");
    ASSERT_TRUE(WriteFileBytes(path, "a\r\nb\r\nc\r\n"));
    std::vector<std::string> offered;
    bool ok = ReadIndexFile(path.c_str(), kMacros, [&offered](const LogEntry& e) {
        offered.push_back(e.LogFileName);
        return offered.size() == 2 ? -1 : 0;
    });
    EXPECT_FALSE(ok);
    EXPECT_EQ(offered, (std::vector<std::string>{"a", "b"}));
}

TEST(WriteIndexFile, EmptyListLeavesAnEmptyFile) {
    TempFolder folder;
    std::string path = folder.File("Kelvora.dat");
    ASSERT_TRUE(WriteIndexFile(path.c_str(), std::vector<LogEntry>{MakeEntry({"a", "b", "c", 1, 2})}));
    ASSERT_TRUE(WriteIndexFile(path.c_str(), std::vector<LogEntry>{}));
    EXPECT_EQ(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_ARCHIVE, static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(ReadFileBytes(path), "");
    std::vector<Fields> read;
    EXPECT_TRUE(ReadAll(path, &read));
    EXPECT_TRUE(read.empty());
}

TEST(WriteIndexFile, FailedFetchOrUnknownCountLeavesTheOldFile) {
    TempFolder folder;
    std::string path = folder.File("Kelvora.dat");
    const std::string old = "old,b,c,1,2\r\n";
    ASSERT_TRUE(WriteFileBytes(path, old));
    LogEntry good = MakeEntry({"new", "b", "c", 0, 0});
    auto failsAtRowOne = [&good](int index, LogEntry* out) {
        *out = good;
        return index != 1;
    };
    EXPECT_FALSE(WriteIndexFile(path.c_str(), 3, failsAtRowOne));
    EXPECT_EQ(ReadFileBytes(path), old);
    EXPECT_FALSE(WriteIndexFile(path.c_str(), -1, failsAtRowOne));
    EXPECT_EQ(ReadFileBytes(path), old);
}

TEST(WriteIndexFile, FailsWhenTheFileCannotBeCreated) {
    TempFolder folder;
    std::vector<LogEntry> entries{MakeEntry({"a", "b", "c", 1, 2})};
    EXPECT_FALSE(WriteIndexFile(folder.File("missing\\Kelvora.dat").c_str(), entries));

    std::string path = folder.File("Kelvora.dat");
    ASSERT_TRUE(WriteFileBytes(path, "old\r\n"));
    OwnedFile lock(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock);
    EXPECT_FALSE(WriteIndexFile(path.c_str(), entries));
}

// ---- log file status ----

class RefreshFileStatusTest : public testing::Test {
protected:
    TempFolder folder_;

    // A log file of the given bytes whose last write is 2020-01-02 03:04:05 UTC; answers that
    // time in local time.
    FILETIME MakeLog(const std::string& name, const std::string& bytes) {
        std::string path = folder_.File(name);
        EXPECT_TRUE(WriteFileBytes(path, bytes));
        SYSTEMTIME st = {2020, 1, 4, 2, 3, 4, 5, 0};
        FILETIME utc;
        SystemTimeToFileTime(&st, &utc);
        OwnedFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        EXPECT_TRUE(file);
        EXPECT_TRUE(SetFileTime(file.Get(), nullptr, nullptr, &utc));
        FILETIME local;
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
};

TEST_F(RefreshFileStatusTest, ReadsLocalLastWriteTimeAndSize) {
    FILETIME local = MakeLog(kSo + "12345.log", "12345");
    LogEntry entry = Refreshed(folder_.File(kSo + "12345.log"));
    EXPECT_EQ(entry.FileSize, 5u);
    EXPECT_EQ(FileTimeValue(entry.FileTime), FileTimeValue(local));
}

TEST_F(RefreshFileStatusTest, MissingFilesAndFoldersGiveZero) {
    for (const std::string& name : {folder_.File("missing.log"), std::string(""), folder_.Path()}) {
        LogEntry entry = Refreshed(name);
        EXPECT_EQ(entry.FileSize, 0u) << name;
        EXPECT_EQ(FileTimeValue(entry.FileTime), 0u) << name;
    }
}

// A log that its writer holds open, as logging programs do, with each share mode.
class HeldLogTest : public RefreshFileStatusTest, public testing::WithParamInterface<DWORD> {};

TEST_P(HeldLogTest, ShowsTheDateAndSizeOfWhatTheWriterWrote) {
    MakeLog("held.log", "12345");
    const std::string path = folder_.File("held.log");
    OwnedFile writer(CreateFileA(path.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES, GetParam(), nullptr,
                                 OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(writer);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(writer.Get(), "678", 3, &written, nullptr));
    FILETIME utc;
    FILETIME local;
    ASSERT_TRUE(GetFileTime(writer.Get(), nullptr, nullptr, &utc));
    FileTimeToLocalFileTime(&utc, &local);
    LogEntry entry = Refreshed(path);
    EXPECT_EQ(entry.FileSize, 8u);
    EXPECT_EQ(FileTimeValue(entry.FileTime), FileTimeValue(local));
}

INSTANTIATE_TEST_SUITE_P(ShareModes, HeldLogTest,
                         testing::Values(0, FILE_SHARE_READ, FILE_SHARE_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE));

TEST_F(RefreshFileStatusTest, ReadIndexFileFillsEachEntryFromItsExpandedName) {
    FILETIME local = MakeLog("ap030731.log", "abcd");
    std::string index = folder_.File("Kelvora.dat");
    ASSERT_TRUE(WriteFileBytes(index, folder_.File("ap#$%.log") + ",b,c,1,2\r\n" + folder_.File("gone.log") +
                                          ",b,c,1,2\r\n"));
    std::vector<LogEntry> read;
    ASSERT_TRUE(ReadIndexFile(index.c_str(), kMacros, [&read](const LogEntry& e) {
        read.push_back(e);
        return 0;
    }));
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].FileSize, 4u);
    EXPECT_EQ(FileTimeValue(read[0].FileTime), FileTimeValue(local));
    EXPECT_EQ(read[1].FileSize, 0u);
    EXPECT_EQ(FileTimeValue(read[1].FileTime), 0u);
}

}  // namespace

namespace {

TEST(IndexPathForWrite, EmptyIndexTakesAFreeNameInTheDataFolder) {
    testing_support::DeleteProgramSettings();
    {
        Environ settings(GetModuleHandleA(nullptr));
        char folder[MAX_PATH];
        BuildDataFolder(settings.Instance(), folder);
        ASSERT_NE(folder[0], '\0');
        CreateDirectoryA(folder, nullptr);
        const std::string base = std::string(folder) + "Kelvora";
        DeleteFileA((base + ".dat").c_str());
        DeleteFileA((base + "2.dat").c_str());
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
