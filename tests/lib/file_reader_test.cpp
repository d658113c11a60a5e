// The line reader in text and binary mode at block and buffer boundaries, the file and folder
// checks, and the byte scans under the reader: both ways of each find the same first byte wherever
// it stands among bytes that are not hits (Shift-JIS lead and trail bytes, the neighbours of each
// special byte).
#include "lib/file_reader.h"

#include <vector>

#include "exports.h"
#include "lib/core/byte_scan.h"
#include "lib/core/owned.h"

using namespace testing_support;

namespace {

// The lines as the program reads them, until FileEof or FileError; the last item is what came
// with the end state, after "eof:" or "error:".
std::vector<std::string> ReadLines(HTEXTFILE reader, int n) {
    std::vector<std::string> lines;
    std::vector<char> buffer(n + 2, '\x7F');
    while (lines.size() < 1000) {
        CALL(FileGetString, buffer.data(), n, reader);
        EXPECT_EQ(buffer[n + 1], '\x7F') << "wrote past n + 1 bytes";
        if (CALL(FileError, reader)) return lines.push_back("error:" + std::string(buffer.data())), lines;
        if (CALL(FileEof, reader)) return lines.push_back("eof:" + std::string(buffer.data())), lines;
        lines.push_back(buffer.data());
    }
    return lines;
}

TEST(Reader, GivesTheLinesAndTheEndStateAtEveryBoundary) {
    const std::string a15(15, 'a'), b16(16, 'b'), c16(16, 'c'), line52 = a15 + "\r" + b16 + "\r\n" + c16 + "c\r";
    const struct {
        std::string bytes;
        const char* mode;
        DWORD block;
        int n;
        std::vector<std::string> lines;
    } cases[] = {
        {"ab\ncd\r", "rt", 8192, 512, {"eof:ab\ncd"}},  // a lone LF is an ordinary byte
        {"ab\rxy\r\n", "RT", 8192, 512, {"ab", "xy", "eof:"}},
        {"\r\n\r\nx\r\n", "rt", 8192, 512, {"", "", "x", "eof:"}},
        {"abcdef\r\nxy\r\n", "rt", 8192, 3, {"abc", "def", "", "xy", "eof:"}},
        {"ab\r\nc\rd", "rb", 8192, 512, {"ab\r\n", "eof:c\rd"}},  // a lone CR is an ordinary byte
        {"a\nb\n", "Rb", 8192, 512, {"a\n", "b\n", "eof:"}},
        {"ab\n", "rb", 8192, 2, {"ab", "\n", "eof:"}},
        {"ab\r\ncd\r\n", "rt", 4, 512, {"ab", "cd", "eof:"}},  // the file a multiple of the block
        {"abcdefgh", "rt", 4, 512, {"eof:abcdefgh"}},
        {"ab\r\ncd\r\n", "rt", 3, 512, {"ab", "cd", "eof:"}},    // CR last in a block, LF first in the next
        {"abc\rxyz\r\n", "rt", 4, 512, {"abc", "xyz", "eof:"}},  // CR last in a block, another byte next
        {"\x83\x5C\x95\x5C\r\n\x83\x7C", "rt", 3, 512, {"\x83\x5C\x95\x5C", "eof:\x83\x7C"}},
        // Line ends before, at and after the 16-byte step of the scan.
        {line52, "rt", 8192, 512, {a15, b16, "eof:" + c16 + "c"}},
        {line52, "rt", 17, 16, {a15, b16, "", c16, "eof:c"}},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes) + " " + c.mode + " block " + std::to_string(c.block) + " n " +
                     std::to_string(c.n));
        std::string path = folder.File("data.txt");
        ASSERT_TRUE(WriteFileBytes(path, c.bytes));
        HTEXTFILE reader = CALL(FileOpen, path.c_str(), c.mode, c.block);
        ASSERT_NE(reader, nullptr);
        EXPECT_EQ(ReadLines(reader, c.n), c.lines);
        EXPECT_TRUE(CALL(FileClose, reader));
    }
}

TEST(Reader, HandsOutBytesAndZeroForLineEndsAndStaysAtTheEnd) {
    TempFolder folder;
    ASSERT_TRUE(WriteFileBytes(folder.File("c.txt"), "a\r\n\x83\x5C"));
    HTEXTFILE reader = CALL(FileOpen, folder.File("c.txt").c_str(), "rt", 2);
    std::vector<int> got;
    while (got.size() < 6) got.push_back(CALL(FileGetChar, reader));
    EXPECT_EQ(got, std::vector<int>({'a', 0, 0x83, 0x5C, 0, 0}));
    EXPECT_EQ(ReadLines(reader, 5), std::vector<std::string>{"eof:"});
    CALL(FileClose, reader);
}

TEST(Reader, RefusesUnknownModesMissingFilesAndFilesHeldOpenAsDoesTheSizeCheck) {
    TempFolder folder;
    std::string path = folder.File("held.txt");
    ASSERT_TRUE(WriteFileBytes(path, "x\r\n"));
    for (const char* mode : {"r", "rw", "", "rtb", "wt"})
        EXPECT_EQ(CALL(FileOpen, path.c_str(), mode, 8192), nullptr) << mode;
    EXPECT_EQ(CALL(FileOpen, folder.File("missing.txt").c_str(), "rt", 8192), nullptr);
    EXPECT_EQ(CALL(GetFileNameSize, folder.File("missing.txt").c_str()), 0u);
    {
        OwnedFile other(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(other);
        EXPECT_EQ(CALL(FileOpen, path.c_str(), "rt", 8192), nullptr);
        EXPECT_EQ(CALL(GetFileNameSize, path.c_str()), 0u);
    }
    HTEXTFILE reader = CALL(FileOpen, path.c_str(), "rt", 8192);
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(CALL(GetFileNameSize, path.c_str()), 0u);  // the reader holds the file exclusively too
    EXPECT_TRUE(CALL(FileClose, reader));
    EXPECT_EQ(CALL(GetFileNameSize, path.c_str()), 3u);
    EXPECT_FALSE(CALL(FileClose, nullptr));
}

TEST(Reader, AFailedBlockReadIsAnErrorNotAnEnd) {
    const char* name = "\\\\.\\pipe\\kelvora-reader-test";
    OwnedFile server(CreateNamedPipeA(name, PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1, 4096, 4096, 0, nullptr));
    ASSERT_TRUE(server);
    HTEXTFILE reader = CALL(FileOpen, name, "rt", 4);
    ASSERT_NE(reader, nullptr);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(server.Get(), "ab\r\n", 4, &written, nullptr));  // one full block
    char line[16];
    CALL(FileGetString, line, 15, reader);
    EXPECT_STREQ(line, "ab");
    server.Reset();  // the next block read fails: the pipe is broken
    EXPECT_EQ(ReadLines(reader, 15), std::vector<std::string>{"error:"});
    EXPECT_EQ(CALL(FileEof, reader), 0);
    CALL(FileClose, reader);
    EXPECT_EQ(CALL(FileError, nullptr), 65535);  // a null reader reads as failed
    EXPECT_EQ(CALL(FileEof, nullptr), 0);
}

int EntryCount(const std::string& folder) {
    WIN32_FIND_DATAA found;
    OwnedFind find(FindFirstFileA((folder + "*").c_str(), &found));
    int count = 0;
    for (bool more = static_cast<bool>(find); more; more = FindNextFileA(find.Get(), &found))
        count += found.cFileName[0] != '.';
    return count;
}

TEST(FileChecks, FindFilesAndFoldersAndCreateEachLevelTakingNoSecondByteForABackslash) {
    TempFolder folder;
    ASSERT_TRUE(WriteFileBytes(folder.File("one.log"), "1"));
    EXPECT_EQ(CALL(CheckFile, folder.File("o?e.log").c_str()) + CALL(CheckFile, folder.File("*.log").c_str()), 2);
    EXPECT_EQ(CALL(CheckFile, folder.File("*.txt").c_str()) + CALL(CheckDirectory, folder.File("one.log").c_str()), 0);
    char before[MAX_PATH], after[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, before);
    // ソフト\表\x\ : both ソ (83 5C) and 表 (95 5C) end in the byte of a backslash.
    std::string deep = folder.File("\x83\x5C\x83\x74\x83\x67\\\x95\x5C\\x\\");
    EXPECT_TRUE(CALL(CreateClassDirectory, deep.c_str()));
    EXPECT_EQ(CALL(CheckDirectory, deep.c_str()), 1);
    GetCurrentDirectoryA(MAX_PATH, after);
    EXPECT_STREQ(after, before);
    EXPECT_FALSE(CALL(CreateClassDirectory, deep.c_str()));               // it is there already
    EXPECT_EQ(EntryCount(folder.File("\x83\x5C\x83\x74\x83\x67\\")), 1);  // no folder named after a lone lead byte
    std::string tooLong = folder.Path() + std::string(120, 'y') + "\\" + std::string(150, 'y');
    EXPECT_FALSE(CALL(CreateClassDirectory, tooLong.c_str()));
    EXPECT_EQ(EntryCount(folder.Path()), 2);
}

TEST(ByteScan, BothWaysFindTheFirstHitAtEveryPositionAndLength) {
    const std::string noise = "\x80\x8A\x8D\x88\x85\xFF\x04\x06\x07\x09\x0B\x0C\x0E\x83\x5C\x95";
    for (size_t length = 0; length <= 40; ++length) {
        for (size_t at = 0; at <= length; ++at) {
            SCOPED_TRACE("length " + std::to_string(length) + ", hit at " + std::to_string(at));
            for (char special : {'\n', '\r', '\x08', '\x05'}) {
                std::string text;
                for (size_t i = 0; i < length; ++i) text += noise[(i * 7 + length) % noise.size()];
                if (at < length) text[at] = special;
                if (at + 1 < length) text[at + 1] = special;  // only the first of two counts
                const char* p = text.data();
                EXPECT_EQ(p + at, bytescan::FindLineOrControlPortable(p, p + length));
                EXPECT_EQ(p + at, bytescan::FindLineOrControlSse2(p, p + length));
                const char* want = at < length ? p + at : nullptr;
                EXPECT_EQ(want, bytescan::FindBytePortable(p, length, special));
                EXPECT_EQ(want, bytescan::FindByteSse2(p, length, special));
            }
        }
    }
    const char high[] = "\x80\x81\x8A\x8A";  // a high byte is found like any other
    EXPECT_EQ(high + 2, bytescan::FindBytePortable(high, 4, '\x8A'));
    EXPECT_EQ(high + 2, bytescan::FindByteSse2(high, 4, '\x8A'));
}

}  // namespace
