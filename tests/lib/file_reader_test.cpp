// Tests of the line reader in text and binary mode, and of the file and folder checks.
#include "lib/file_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lib/owned.h"
#include "test_env.h"

using testing_support::TempFolder;
using testing_support::WriteFileBytes;

namespace {

// What a caller sees with the program's calling pattern: lines until FileEof or FileError.
struct Outcome {
    std::vector<std::string> lines;
    std::string final;  // the string returned together with the end state
    int eof = 0;
    int error = 0;
    bool operator==(const Outcome& o) const {
        return lines == o.lines && final == o.final && eof == o.eof && error == o.error;
    }
};

std::ostream& operator<<(std::ostream& os, const Outcome& o) {
    os << "{";
    for (const auto& l : o.lines) os << testing::PrintToString(l) << " ";
    return os << "| final " << testing::PrintToString(o.final) << " eof " << o.eof << " error " << o.error << "}";
}

Outcome ReadWithReader(HTEXTFILE reader, int n) {
    Outcome out;
    std::vector<char> buffer(n + 2, '\x7F');
    for (int guard = 0; guard < 100000; ++guard) {
        FileGetString(buffer.data(), n, reader);
        EXPECT_EQ(buffer[n + 1], '\x7F') << "wrote past n + 1 bytes";
        out.error = FileError(reader);
        out.eof = FileEof(reader);
        if (out.error || out.eof) {
            out.final = buffer.data();
            break;
        }
        out.lines.push_back(buffer.data());
    }
    return out;
}

Outcome ReadFileLines(const std::string& bytes, const char* mode, DWORD block, int n) {
    TempFolder folder;
    std::string path = folder.File("data.txt");
    EXPECT_TRUE(WriteFileBytes(path, bytes));
    HTEXTFILE reader = FileOpen(path.c_str(), mode, block);
    EXPECT_NE(reader, nullptr);
    if (!reader) return {};
    Outcome out = ReadWithReader(reader, n);
    EXPECT_TRUE(FileClose(reader));
    return out;
}

// The reader's rules applied to the whole file at once, to compare against at every block size.
Outcome Reference(const std::string& bytes, bool text, int n) {
    Outcome out;
    size_t i = 0;
    for (;;) {
        std::string line;
        bool ended = false;
        while (static_cast<int>(line.size()) < n) {
            if (i >= bytes.size()) {
                ended = true;
                break;
            }
            char c = bytes[i++];
            if (text && c == '\r') {
                if (i >= bytes.size())
                    ended = true;
                else if (bytes[i] == '\n')
                    ++i;
                break;
            }
            line.push_back(c);
            if (!text && c == '\n') break;
        }
        if (ended) {
            out.final = line;
            out.eof = 1;
            return out;
        }
        out.lines.push_back(line);
    }
}

struct ReaderCase {
    const char* name;
    std::string bytes;
    const char* mode;
    DWORD block;
    int n;
    std::vector<std::string> lines;
    std::string final;
};

class ReaderLines : public testing::TestWithParam<ReaderCase> {};

TEST_P(ReaderLines, GivesTheLinesAndTheEndState) {
    const ReaderCase& c = GetParam();
    Outcome expected;
    expected.lines = c.lines;
    expected.final = c.final;
    expected.eof = 1;
    EXPECT_EQ(ReadFileLines(c.bytes, c.mode, c.block, c.n), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Reader, ReaderLines,
    testing::Values(
        ReaderCase{"TextCrLf", "ab\r\ncd\r\n", "rt", 8192, 512, {"ab", "cd"}, ""},
        ReaderCase{"TextLoneLfIsOrdinary", "ab\ncd", "rt", 8192, 512, {}, "ab\ncd"},
        ReaderCase{"TextLoneCrEndsTheLine", "ab\rxy\r\n", "rt", 8192, 512, {"ab", "xy"}, ""},
        ReaderCase{"TextCrAtTheVeryEnd", "ab\r", "rt", 8192, 512, {}, "ab"},
        ReaderCase{"TextFinalLineWithoutLineEnd", "ab\r\ncd", "rt", 8192, 512, {"ab"}, "cd"},
        ReaderCase{"TextEmptyLines", "\r\n\r\nx\r\n", "rt", 8192, 512, {"", "", "x"}, ""},
        ReaderCase{"TextLongerThanN", "abcdef\r\nxy\r\n", "rt", 8192, 3, {"abc", "def", "", "xy"}, ""},
        ReaderCase{"TextLongerThanNAcrossBlocks", "abcdefghij\r\n", "rt", 4, 5, {"abcde", "fghij", ""}, ""},
        ReaderCase{"UpperCaseMode", "ab\r\n", "RT", 8192, 512, {"ab"}, ""},
        ReaderCase{"BinaryCrLf", "ab\r\ncd", "rb", 8192, 512, {"ab\r\n"}, "cd"},
        ReaderCase{"BinaryLoneLf", "a\nb\n", "Rb", 8192, 512, {"a\n", "b\n"}, ""},
        ReaderCase{"BinaryLoneCrIsOrdinary", "a\rb", "rb", 8192, 512, {}, "a\rb"},
        ReaderCase{"BinaryLfAfterNBytes", "ab\n", "rb", 8192, 2, {"ab", "\n"}, ""},
        ReaderCase{"EmptyFile", "", "rt", 8192, 512, {}, ""},
        ReaderCase{"EmptyFileBlockZero", "", "rt", 0, 512, {}, ""},
        ReaderCase{"NonEmptyFileBlockZeroLosesNothing", "ab\r\ncd\r\n", "rt", 0, 512, {"ab", "cd"}, ""},
        ReaderCase{"ExactMultipleOfBlockText", "ab\r\ncd\r\n", "rt", 4, 512, {"ab", "cd"}, ""},
        ReaderCase{"ExactMultipleOfBlockBinary", "abc\n", "rb", 4, 512, {"abc\n"}, ""},
        ReaderCase{"ExactMultipleNoLineEnd", "abcdefgh", "rt", 4, 512, {}, "abcdefgh"},
        ReaderCase{"WholeFileAsOneBlock", "ab\r\ncd\r\n", "rt", 8, 512, {"ab", "cd"}, ""},
        ReaderCase{"CrLastInBlockLfFirstInNext", "ab\r\ncd\r\n", "rt", 3, 512, {"ab", "cd"}, ""},
        ReaderCase{"CrLastInBlockOtherByteNext", "abc\rxyz\r\n", "rt", 4, 512, {"abc", "xyz"}, ""},
        ReaderCase{"ShiftJisBytesUntouched", "\x83\x5C\x95\x5C\r\n\x83\x7C", "rt", 3, 512, {"\x83\x5C\x95\x5C"},
                   "\x83\x7C"}),
    [](const testing::TestParamInfo<ReaderCase>& info) { return std::string(info.param.name); });

// Block boundaries are where a buffered reader loses or repeats bytes, and scan chunk boundaries
// where a fast line-end search misses one: every combination against the whole-file rules.
void ExpectAgreesWithWholeFileRules(const std::string& bytes, const std::vector<DWORD>& blocks,
                                    const std::vector<int>& counts) {
    TempFolder folder;
    std::string path = folder.File("blocks.txt");
    ASSERT_TRUE(WriteFileBytes(path, bytes));
    for (const char* mode : {"rt", "rb"}) {
        for (DWORD block : blocks) {
            for (int n : counts) {
                HTEXTFILE reader = FileOpen(path.c_str(), mode, block);
                ASSERT_NE(reader, nullptr);
                EXPECT_EQ(ReadWithReader(reader, n), Reference(bytes, mode[1] == 't', n))
                    << "mode " << mode << " block " << block << " n " << n;
                FileClose(reader);
            }
        }
    }
}

TEST(ReaderBlocks, EveryBlockSizeAgreesWithTheWholeFileRules) {
    const std::string bytes = "a\r\nbc\rd\n\r\r\nefgh\n\n\r\x83\x5Cij\r\nklmnopq\r";
    std::vector<DWORD> blocks;
    for (DWORD block = 1; block <= bytes.size() + 1; ++block) blocks.push_back(block);
    ExpectAgreesWithWholeFileRules(bytes, blocks, {1, 2, 3, 5, 512});
}

TEST(ReaderBlocks, LongLinesPutTheLineEndAtEveryOffsetOfAScanChunk) {
    std::string bytes;
    for (int len = 0; len < 70; ++len) {
        for (int i = 0; i < len; ++i) bytes.push_back(static_cast<char>('a' + (len + i) % 26));
        bytes += len % 3 == 0 ? "\n" : len % 3 == 1 ? "\r\n" : "\r";
    }
    ExpectAgreesWithWholeFileRules(bytes, {1, 7, 16, 17, 64, 8192}, {1, 15, 16, 17, 33, 512});
}

TEST(ReaderEnd, StaysAtTheEndOnceReached) {
    TempFolder folder;
    std::string path = folder.File("a.txt");
    ASSERT_TRUE(WriteFileBytes(path, "ab"));
    HTEXTFILE reader = FileOpen(path.c_str(), "rt", 8192);
    ASSERT_NE(reader, nullptr);
    char line[16];
    FileGetString(line, 15, reader);
    EXPECT_STREQ(line, "ab");
    EXPECT_EQ(FileEof(reader), 1);
    for (int i = 0; i < 3; ++i) {
        FileGetString(line, 15, reader);
        EXPECT_STREQ(line, "");
        EXPECT_EQ(FileGetChar(reader), 0);
        EXPECT_EQ(FileEof(reader), 1);
        EXPECT_EQ(FileError(reader), 0);
    }
    FileClose(reader);
}

struct CharCase {
    const char* mode;
    std::vector<int> chars;  // FileGetChar results, ending with the first 0 at the end state
};

class ReaderChars : public testing::TestWithParam<CharCase> {};

TEST_P(ReaderChars, HandsOutBytesAndZeroForLineEnds) {
    TempFolder folder;
    std::string path = folder.File("c.txt");
    ASSERT_TRUE(WriteFileBytes(path, "a\r\n\x83\x5C"));
    HTEXTFILE reader = FileOpen(path.c_str(), GetParam().mode, 2);
    ASSERT_NE(reader, nullptr);
    std::vector<int> got;
    while (!FileEof(reader) && got.size() < 20) got.push_back(FileGetChar(reader));
    EXPECT_EQ(got, GetParam().chars);
    FileClose(reader);
}

INSTANTIATE_TEST_SUITE_P(Reader, ReaderChars,
                         testing::Values(CharCase{"rt", {'a', 0, 0x83, 0x5C, 0}},
                                         CharCase{"rb", {'a', '\r', '\n', 0x83, 0x5C, 0}}));

TEST(ReaderOpen, RefusesUnknownModesMissingFilesAndFilesHeldOpenAsDoesTheSizeCheck) {
    TempFolder folder;
    std::string path = folder.File("held.txt");
    ASSERT_TRUE(WriteFileBytes(path, "x\r\n"));
    for (const char* mode : {"r", "rw", "", "rtb", "wt"}) EXPECT_EQ(FileOpen(path.c_str(), mode, 8192), nullptr) << mode;
    EXPECT_EQ(FileOpen(folder.File("missing.txt").c_str(), "rt", 8192), nullptr);
    EXPECT_EQ(GetFileNameSize(folder.File("missing.txt").c_str()), 0u);
    {
        OwnedFile other(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(other);
        EXPECT_EQ(FileOpen(path.c_str(), "rt", 8192), nullptr);
        EXPECT_EQ(GetFileNameSize(path.c_str()), 0u);
    }
    HTEXTFILE reader = FileOpen(path.c_str(), "rt", 8192);
    ASSERT_NE(reader, nullptr);
    // The reader holds the file exclusively too.
    EXPECT_EQ(GetFileNameSize(path.c_str()), 0u);
    EXPECT_TRUE(FileClose(reader));
    EXPECT_EQ(GetFileNameSize(path.c_str()), 3u);
    EXPECT_FALSE(FileClose(nullptr));
}

TEST(ReaderErrors, AFailedBlockReadIsAnErrorNotAnEnd) {
    const char* name = "\\\\.\\pipe\\kelvora-reader-test";
    OwnedFile server(CreateNamedPipeA(name, PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0, nullptr));
    ASSERT_TRUE(server);
    HTEXTFILE reader = FileOpen(name, "rt", 4);
    ASSERT_NE(reader, nullptr);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(server.Get(), "ab\r\n", 4, &written, nullptr));  // one full block
    char line[16];
    FileGetString(line, 15, reader);
    EXPECT_STREQ(line, "ab");
    EXPECT_EQ(FileEof(reader), 0);
    EXPECT_EQ(FileError(reader), 0);
    server.Reset();  // the next block read fails: the pipe is broken
    FileGetString(line, 15, reader);
    EXPECT_STREQ(line, "");
    EXPECT_EQ(FileError(reader), 65535);
    EXPECT_EQ(FileEof(reader), 0);
    FileClose(reader);
}

TEST(ReaderErrors, ANullReaderReadsAsFailed) {
    char line[4] = "xyz";
    FileGetString(line, 3, nullptr);
    EXPECT_STREQ(line, "");
    EXPECT_EQ(FileError(nullptr), 65535);
    EXPECT_EQ(FileEof(nullptr), 0);
}

TEST(FileChecks, CheckFileFindsFilesFoldersAndPatterns) {
    TempFolder folder;
    ASSERT_TRUE(WriteFileBytes(folder.File("one.log"), "1"));
    struct {
        std::string name;
        int expected;
    } cases[] = {{folder.File("one.log"), 1}, {folder.File("*.log"), 1}, {folder.File("*.txt"), 0},
                 {folder.File("two.log"), 0}, {folder.File("o?e.log"), 1}};
    for (const auto& c : cases) EXPECT_EQ(CheckFile(c.name.c_str()), c.expected) << c.name;
    std::string path = folder.Path();
    EXPECT_EQ(CheckFile(path.substr(0, path.size() - 1).c_str()), 1);
}

TEST(FileChecks, CheckDirectoryLeavesTheCurrentFolderAsItWas) {
    TempFolder folder;
    ASSERT_TRUE(WriteFileBytes(folder.File("f.txt"), "1"));
    char before[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, before);
    EXPECT_EQ(CheckDirectory(folder.Path().c_str()), 1);
    EXPECT_EQ(CheckDirectory(folder.File("f.txt").c_str()), 0);
    EXPECT_EQ(CheckDirectory(folder.File("none").c_str()), 0);
    EXPECT_EQ(CheckDirectory(""), 0);
    EXPECT_EQ(CheckDirectory(std::string(300, 'a').c_str()), 0);
    char after[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, after);
    EXPECT_STREQ(after, before);
}

bool IsFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int EntryCount(const std::string& folder) {
    WIN32_FIND_DATAA found;
    OwnedFind find(FindFirstFileA((folder + "*").c_str(), &found));
    int count = 0;
    if (find) {
        do {
            if (strcmp(found.cFileName, ".") && strcmp(found.cFileName, "..")) ++count;
        } while (FindNextFileA(find.Get(), &found));
    }
    return count;
}

TEST(FileChecks, CreateClassDirectoryCreatesEachMissingLevelOnce) {
    TempFolder folder;
    std::string deep = folder.File("a\\b\\c\\");
    EXPECT_TRUE(CreateClassDirectory(deep.c_str()));
    EXPECT_TRUE(IsFolder(folder.File("a\\b\\c")));
    EXPECT_FALSE(CreateClassDirectory(deep.c_str()));
    EXPECT_FALSE(CreateClassDirectory(folder.File("a\\b").c_str()));
}

TEST(FileChecks, CreateClassDirectoryTakesNoSecondByteForABackslash) {
    TempFolder folder;
    // ソフト\表 : both ソ (83 5C) and 表 (95 5C) end in the byte of a backslash.
    std::string path = folder.File("\x83\x5C\x83\x74\x83\x67\\\x95\x5C");
    EXPECT_TRUE(CreateClassDirectory(path.c_str()));
    EXPECT_TRUE(IsFolder(path));
    EXPECT_EQ(EntryCount(folder.Path()), 1);  // only ソフト, no folder named after a lone lead byte
    EXPECT_EQ(EntryCount(folder.File("\x83\x5C\x83\x74\x83\x67\\")), 1);
}

TEST(FileChecks, CreateClassDirectoryRefusesAPathTooLongForItsBuffer) {
    TempFolder folder;
    std::string path = folder.Path() + std::string(120, 'x') + "\\" + std::string(150, 'y');
    EXPECT_FALSE(CreateClassDirectory(path.c_str()));
    EXPECT_EQ(EntryCount(folder.Path()), 0);
}

}  // namespace
