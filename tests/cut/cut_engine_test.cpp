// The line engine of the cut: the cut table, the helpers and whole runs over temporary files. The
// order of the line rules and the bytes that every rule writes, over every kind of line end, are
// compared with the reference script by cut_reference_test.cpp.
#include "cut/cut_engine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>
#include <vector>

#include "lib/core/owned.h"
#include "resources/resource_ids.h"
#include "sjis.h"
#include "test_env.h"

using namespace testing_support;
using namespace std::string_literals;  // "...\0..."s keeps its NUL bytes

namespace {

CutTable TableOf(const std::string& lines) {
    CutTable table;
    table.AddLines(lines.data(), lines.size());
    return table;
}

// Records what the run showed and answers the questions from a list (OK when it runs out). The
// changes read "C1 B2 " (kind and place count), the messages "22" or "<text id> <path>".
class RecordingHost : public CutHost {
public:
    void ShowFile(const char*, int placeCount) override { fileCounts.push_back(placeCount); }
    void ShowChange(CutKind kind, int placeCount) override {
        changes += "KCBT"[static_cast<int>(kind)] + std::to_string(placeCount) + " ";
    }
    bool AskCut(const char* line, size_t length) override {
        questions.emplace_back(line, length);
        const bool answer = answers.empty() || answers.front();
        if (!answers.empty()) answers.erase(answers.begin());
        return answer;
    }
    void ShowMessage(int number) override { messages.push_back(std::to_string(number)); }
    void ShowFileMessage(UINT textId, const char* path) override {
        messages.push_back(std::to_string(textId) + " " + path);
    }
    void SetPosition(unsigned long long bytes) override { positions.push_back(bytes); }
    bool WriteWork(HANDLE file, const void* data, DWORD size) override {
        if (writeLimit >= 0 && written + size > static_cast<unsigned long long>(writeLimit)) return false;
        written += size;
        ++writeCalls;
        return CutHost::WriteWork(file, data, size);
    }
    // failCopy: the work file lies on another volume and the copy breaks off part way.
    // newLog: a writer begins the log anew with these bytes just before the work file is moved in.
    bool MoveWork(const char* work, const char* log) override {
        if (!newLog.empty()) WriteFileBytes(log, std::exchange(newLog, ""));
        return failCopy ? (SetLastError(ERROR_NOT_SAME_DEVICE), false) : CutHost::MoveWork(work, log);
    }
    bool CopyWork(const char* work, const char* log) override {
        if (!failCopy) return CutHost::CopyWork(work, log);
        WriteFileBytes(log, "half");
        return SetLastError(ERROR_DISK_FULL), false;
    }
    // The system calls that fail when asked: the work file's name, the nth read and the nth buffer.
    bool NameWorkFile(const char* log, char work[MAX_PATH]) override {
        return !failName && CutHost::NameWorkFile(log, work);
    }
    bool ReadLog(HANDLE file, void* buffer, DWORD size, DWORD* got) override {
        return ++reads != failRead && CutHost::ReadLog(file, buffer, size, got);
    }
    void* Allocate(size_t size) override { return ++allocations == failAllocation ? nullptr : CutHost::Allocate(size); }

    std::vector<int> fileCounts;
    std::string changes, newLog;
    std::vector<std::string> questions, messages;
    std::vector<bool> answers;
    std::vector<unsigned long long> positions;
    long long writeLimit = -1;
    unsigned long long written = 0;
    bool failCopy = false, failName = false;
    int writeCalls = 0, reads = 0, failRead = 0, allocations = 0, failAllocation = 0;
};

int FilesIn(const TempFolder& folder) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) files += entry.is_regular_file();
    return files;
}

TEST(CutTableTest, MatchesLongAndManyStringsAndNothingForEmptyLines) {
    const std::string longString(1000, 'L');
    std::string text = "\r\nA\r\n\r\n" + longString + "\n\n";
    for (int i = 0; i < 600; ++i) text += "S" + std::to_string(i) + "\r\n";
    CutTable table = TableOf(text + "LAST");  // the last line without a line end
    EXPECT_EQ(1u + 1u + 600u + 1u, table.Count());
    for (const std::string& line : {std::string("A1"), std::string("S599 x"), std::string("LASTLINE"), longString}) {
        EXPECT_TRUE(table.Matches(line.data(), line.size())) << line;
    }
    for (const std::string& line : {longString.substr(1), std::string(""), std::string("x")}) {
        EXPECT_FALSE(table.Matches(line.data(), line.size())) << line;
    }
    EXPECT_FALSE(table.Matches("LAST", 3));  // a line one byte short of a string: the bytes after it are not read
}

TEST(CutTableTest, LoadsFilesAndReportsWhatCannotBeRead) {
    TempFolder folder;
    CutTable table;
    EXPECT_EQ(CutTableLoad::NoFile, LoadCutTable("", &table));
    EXPECT_EQ(CutTableLoad::Unreadable, LoadCutTable(folder.File("none.txt").c_str(), &table));
    WriteFileBytes(folder.File("empty.txt"), "");
    EXPECT_EQ(CutTableLoad::Ready, LoadCutTable(folder.File("empty.txt").c_str(), &table));
    // The largest file taken; one byte more is refused.
    const std::string big = "first\r\n" + std::string(kMaxProcedureFileBytes - 7, 'y');
    WriteFileBytes(folder.File("big.txt"), big);
    EXPECT_EQ(CutTableLoad::Ready, LoadCutTable(folder.File("big.txt").c_str(), &table));
    EXPECT_EQ(std::make_pair(size_t{2}, kMaxProcedureFileBytes - 7),
              std::make_pair(table.Count(), static_cast<long long>(table.String(1).size())));
    WriteFileBytes(folder.File("big.txt"), big + "y");
    EXPECT_EQ(CutTableLoad::Unreadable, LoadCutTable(folder.File("big.txt").c_str(), &table));
}

TEST(CutHelpers, BackupNamesQuestionsAndBarSteps) {
    char out[MAX_PATH];
    // clang-format off
    const struct { const char* path; const char* backup; } backups[] = {  // "": none, it would be its own backup
        {"C:\\logs\\app.log", "C:\\logs\\app.bak"},     {"C:\\logs.d\\app", "C:\\logs.d\\app.bak"},
        {"C:\\a.b\\app.1.log", "C:\\a.b\\app.1.bak"},   {"C:\\\x83\x5C.d\\x", "C:\\\x83\x5C.d\\x.bak"},
        {"C:\\logs.bak\\app", "C:\\logs.bak\\app.bak"}, {"C:\\logs\\app.Bak", ""}};
    // clang-format on
    for (const auto& c : backups) EXPECT_STREQ(c.backup, BackupName(c.path, out) ? out : "") << c.path;
    EXPECT_FALSE(BackupName(("C:\\" + std::string(254, 'a')).c_str(), out));  // too long

    EXPECT_EQ("Q\r\n" + Sjis(u8"　「ab」"), FormatCutQuestion("Q", "ab\0cd", 5));
    std::string wide;
    for (int i = 0; i < 700; ++i) wide += Sjis(u8"あ");
    EXPECT_EQ("Q\r\n" + Sjis(u8"　「") + wide.substr(0, 1024) + "..." + Sjis(u8"」"),
              FormatCutQuestion("Q", wide.data(), wide.size()));

    EXPECT_EQ(1000u, ProgressUnit(65535000));
    for (unsigned long long total : {65536000ULL, 5000000000ULL}) {
        EXPECT_LE(total / ProgressUnit(total), 65535u) << total;
        EXPECT_GE(total / ProgressUnit(total), 65000u) << total;
    }
}

TEST(TextLogCheck, TakesFilesWithoutNulBytesOrUtf16Or32MarksAsText) {
    const std::string nulLate = std::string(kTextCheckBytes, 'a') + '\0';
    // clang-format off
    const struct { std::string head; bool text; } cases[] = {
        {"", true}, {"ERROR 1\r\n", true}, {Sjis(u8"受注"), true}, {"\xEF\xBB\xBF\xE5\x8F\x97", true},  // UTF-8
        {"\xFF", true}, {"\xFF\xFE\x05\x30", false}, {"\xFE\xFF\x30\x05", false},                  // UTF-16 LE, BE
        {"\xFF\xFE\0\0"s, false}, {"\0\0\xFE\xFF"s, false}, {"a\0b"s, false},                    // UTF-32
        {nulLate.substr(1), false}, {nulLate, true}};  // a NUL as the last byte looked at, one past it
    // clang-format on
    for (const auto& c : cases) EXPECT_EQ(c.text, IsTextLog(c.head.data(), c.head.size())) << c.head.size();
}

TEST(LeftAloneNotice, CountsTheFilesBeyondTheNamesShown) {
    const std::vector<LeftAloneFile> files(3, {LeftAloneReason::ReadOnly, "r"});
    EXPECT_EQ("R\r\nr\r\nr\r\n+1", FormatLeftAlone(files, "T", "R", "+%d", 2));
}

// A temporary folder, the string ERROR and no question.
class CutEngineTest : public testing::Test {
protected:
    TempFolder folder_;
    CutOptions options_;
    RecordingHost host_;
    CutTable table_ = TableOf("ERROR\r\n");
};

// One log file through the engine.
class CutFileTest : public CutEngineTest {
protected:
    std::string Cut(const std::string& content, bool* ok = nullptr) {
        std::string path = folder_.File("app.log");
        WriteFileBytes(path, content);
        CutEngine engine(table_, options_, host_);
        engine.Begin(content.size());
        const bool result = engine.ProcessFile(path.c_str());
        if (ok) *ok = result;
        return ReadFileBytes(path);
    }
};

TEST_F(CutFileTest, KeepsLinesLongerThanAnyBlockWhole) {
    // Lines around and beyond the 1 MB block, with a CR LF split over the block edge.
    std::string big(CutEngine::kBlockSize - 1, 'k');
    std::string huge(3 * CutEngine::kBlockSize + 17, 'h');
    std::string cutHuge = "ERROR" + std::string(2 * CutEngine::kBlockSize, 'e');
    std::string bsHuge = std::string(CutEngine::kBlockSize + 5, 'b') + "\bZ";
    std::string out = Cut(big + "\r\n" + huge + "\n" + cutHuge + "\r\n" + bsHuge + "\r\nend");
    std::string expected = big + "\r\n" + huge + "\r\n" + std::string(CutEngine::kBlockSize + 4, 'b') + "Z\r\nend\r\n";
    EXPECT_EQ(expected.size(), out.size());
    EXPECT_TRUE(expected == out);
    EXPECT_EQ("C1 B2 ", host_.changes);
}

TEST_F(CutFileTest, NothingChangedLeavesBytesAndDateAndMakesNoBackup) {
    options_.backup = true;
    const std::string content = "a\nb\rc\r\nno end", path = folder_.File("app.log");
    const FILETIME old = {0x12345678, 0x01D00000};
    WriteFileBytes(path, content);
    SetFileTime(
        OwnedFile(CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr)).Get(),
        nullptr, nullptr, &old);
    CutEngine engine(table_, options_, host_);
    EXPECT_TRUE(engine.ProcessFile(path.c_str()));
    WIN32_FILE_ATTRIBUTE_DATA data;
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    EXPECT_EQ(std::make_tuple(content, 0L, 1, std::string()),
              std::make_tuple(ReadFileBytes(path), CompareFileTime(&data.ftLastWriteTime, &old), FilesIn(folder_),
                              host_.changes));
}

TEST_F(CutFileTest, CancelKeepsTheLineExactlyAsRead) {
    options_.ask = true;
    host_.answers = {false, true};
    EXPECT_EQ("ERROR a\bb\x05\r\nkeep\r\n", Cut("ERROR a\bb\x05\nERROR 2\nkeep\n"));
    EXPECT_EQ((std::vector<std::string>{"ERROR a\bb\x05", "ERROR 2"}), host_.questions);
    EXPECT_EQ("C1 ", host_.changes);
}

TEST_F(CutFileTest, ChangedLogIsReplacedAndTheBackupIsMadeOnceAndKeptOnTheNextRun) {
    EXPECT_EQ("a\r\n", Cut("ERROR 0\r\na\r\n"));
    EXPECT_EQ(1, FilesIn(folder_));  // nothing is left beside the log
    options_.backup = true;
    EXPECT_EQ("b\r\n", Cut("ERROR 1\r\nb\r\n"));
    EXPECT_EQ("c\r\n", Cut("ERROR 2\r\nc\r\n"));
    EXPECT_EQ(std::make_tuple(std::string("ERROR 1\r\nb\r\n"), 2, 0u),  // the log and its backup, no message
              std::make_tuple(ReadFileBytes(folder_.File("app.bak")), FilesIn(folder_), host_.messages.size()));
}

TEST_F(CutFileTest, AFailedCopyLeavesTheLogAndKeepsTheWorkFileAndNamesIt) {
    // A log named like a backup is cut without one: moved onto itself it would be lost.
    for (const char* name : {"app.log", "app.log", "old.Bak"}) {
        options_.backup = !options_.backup;
        const std::string path = folder_.File(name);
        WriteFileBytes(path, "ERROR 1\r\nb\r\n");
        host_.failCopy = true;
        host_.messages.clear();
        CutEngine run(table_, options_, host_);
        EXPECT_TRUE(run.ProcessFile(path.c_str())) << name;  // the run goes on
        EXPECT_EQ("ERROR 1\r\nb\r\n", ReadFileBytes(path)) << name;
        ASSERT_EQ(1u, host_.messages.size()) << name;
        const std::string named = std::to_string(IDS_ERR_CUTWORKKEPT) + " ";
        ASSERT_EQ(0u, host_.messages[0].rfind(named, 0)) << name;
        const std::string work = host_.messages[0].substr(named.size());
        EXPECT_EQ("b\r\n", ReadFileBytes(work)) << name;
        EXPECT_EQ(2, FilesIn(folder_)) << name;  // no backup, only the work file beside the log
        DeleteFileA(work.c_str());
        DeleteFileA(path.c_str());
    }
}

TEST_F(CutFileTest, ALogBegunAnewBeforeTheReplacementIsCutOntoTheEnd) {
    for (bool backup : {false, true}) {
        options_.backup = backup;
        host_.newLog = "late\r\nERROR late\nlast";
        EXPECT_EQ("a\r\nlate\r\nlast\r\n", Cut("ERROR 0\r\na\r\n")) << backup;
        EXPECT_EQ(backup ? 2 : 1, FilesIn(folder_)) << backup;  // the log and its backup, no other
    }
    EXPECT_EQ("ERROR 0\r\na\r\n", ReadFileBytes(folder_.File("app.bak")));
    EXPECT_TRUE(host_.messages.empty());
}

TEST_F(CutFileTest, WritesInBlocksReportsOnlyNewBarPositionsAndAFailedWriteLeavesTheLog) {
    std::string content;
    for (int i = 0; i < 50000; ++i) content += (i % 3 ? "keep line " : "ERROR line ") + std::to_string(i) + "\n";
    Cut(content);
    EXPECT_LT(host_.writeCalls, 10);
    ASSERT_FALSE(host_.positions.empty());
    for (size_t i = 1; i < host_.positions.size(); ++i) {
        EXPECT_GT(host_.positions[i] / 1000, host_.positions[i - 1] / 1000);
    }
    host_.writeLimit = 100000 + host_.written;  // a disk that fills up part way
    bool ok = true;
    EXPECT_EQ(content, Cut(content, &ok));
    EXPECT_EQ(std::make_tuple(false, std::vector<std::string>{"25"}, 1),
              std::make_tuple(ok, host_.messages, FilesIn(folder_)));
}

TEST_F(CutFileTest, AFailingSystemCallIsToldAndLeavesTheLogAndNoWorkFile) {
    const std::string memory = std::to_string(IDS_ERR_CUTMEMORY) + " " + folder_.File("app.log");
    // The call that fails (the work file's name, the nth read, the nth buffer) and the message.
    // clang-format off
    const struct { bool name; int read, allocation; std::string message; } cases[] = {
        {true, 0, 0, "21"}, {false, 1, 0, "24"}, {false, 2, 0, "24"}, {false, 0, 1, memory}, {false, 0, 2, memory}};
    // clang-format on
    for (const auto& c : cases) {
        host_ = RecordingHost();
        host_.failName = c.name;
        host_.failRead = c.read;
        host_.failAllocation = c.allocation;
        bool ok = true;
        EXPECT_EQ("ERROR 1\r\nb\r\n", Cut("ERROR 1\r\nb\r\n", &ok)) << c.message;
        EXPECT_EQ(std::make_pair(false, std::vector<std::string>{c.message}), std::make_pair(ok, host_.messages));
        EXPECT_EQ(1, FilesIn(folder_)) << c.message;
    }
}

// Whole runs over several files, as the worker does them.
class CutRunTest : public CutEngineTest {
protected:
    std::vector<std::string> MakeFiles(int n) {
        std::vector<std::string> paths;
        for (int i = 1; i <= n; ++i) {
            paths.push_back(folder_.File("log" + std::to_string(i) + ".log"));
            WriteFileBytes(paths.back(), Original(i));
        }
        return paths;
    }
    static std::string Original(int i) { return "ERROR " + std::to_string(i) + "\r\nx\by\r\nkeep\r\n"; }
};

TEST_F(CutRunTest, PlaceCountRunsOnAcrossFilesAndTheBarEndsAtTheTotal) {
    std::vector<std::string> paths = MakeFiles(3);
    CutEngine engine(table_, options_, host_);
    EXPECT_TRUE(RunCut(engine, paths));
    EXPECT_EQ(std::make_tuple(std::vector<int>{0, 2, 4}, std::string("C1 B2 C3 B4 C5 B6 "), 6),
              std::make_tuple(host_.fileCounts, host_.changes, engine.PlaceCount()));
    ASSERT_FALSE(host_.positions.empty());
    EXPECT_EQ(Original(1).size() + Original(2).size() + Original(3).size(), host_.positions.back());
}

TEST_F(CutRunTest, MissingSecondFileEndsTheRunAndIsNamed) {
    std::vector<std::string> paths = MakeFiles(3);
    DeleteFileA(paths[1].c_str());
    CutEngine engine(table_, options_, host_);
    EXPECT_FALSE(RunCut(engine, paths));
    EXPECT_EQ(std::make_pair(std::string("y\r\nkeep\r\n"), Original(3)),
              std::make_pair(ReadFileBytes(paths[0]), ReadFileBytes(paths[2])));
    EXPECT_EQ(std::vector<std::string>{std::to_string(IDS_ERR_CUTLOGOPEN) + " " + paths[1]}, host_.messages);
}

}  // namespace
