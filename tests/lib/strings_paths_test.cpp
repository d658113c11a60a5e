// String, path and command-line helpers, and the registry's class name (a path part too): Shift-JIS
// characters whose second byte is a separator, and results cut to their buffer (259 bytes of a
// path unless a limit is given) at a character boundary, with nothing written past them.
#include "lib/strings_paths.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "exports.h"
#include "lib/registry.h"

#define SO "\x83\x5C"   // ソ: second byte is a backslash
#define HYO "\x95\x5C"  // 表: second byte is a backslash
#define PO "\x83\x7C"   // ポ: second byte is a vertical bar
#define KA "\x83\x4A"   // カ

using testing_support::Repeat;
using namespace std::string_literals;  // "...\0..."s keeps its NUL bytes

namespace {

// A path buffer followed by guard bytes.
struct Guarded {
    char bytes[MAX_PATH + 40];
    Guarded() { memset(bytes, 0x7F, sizeof bytes); }
    bool Intact(size_t from = MAX_PATH) const {
        return std::string(bytes + from, bytes + sizeof bytes) == std::string(sizeof bytes - from, 0x7F);
    }
};

// One input, one output; several outputs are joined with line feeds. The length returned, or -1.
using Call = int (*)(const char* in, char* out);
int Join(char* out, const char* second) { return strcat(strcat(out, "\n"), second), -1; }
// clang-format off
#define LEN(f) #f, [](const char* in, char* out) { return CALL(f, in, out); }
#define NOLEN(f) #f, [](const char* in, char* out) { CALL(f, in, out); return -1; }
#define TWO(f) #f, [](const char* in, char* out) { char b[MAX_PATH]; CALL(f, in, out, b); return Join(out, b); }
#define COPY(f, ...) #f, [](const char* in, char* out) { return CALL(f, out, in, __VA_ARGS__); }
// clang-format on

int Split(const char* in, char* out) {
    char drive[4], dir[MAX_PATH], name[MAX_PATH], ext[MAX_PATH];
    drive[3] = 0x7F;
    CALL(SplitPath, in, drive, dir, name, ext);
    EXPECT_EQ(drive[3], 0x7F);
    strcpy(out, (std::string(drive) + "\n" + dir + "\n" + name + "\n" + ext).c_str());
    return -1;
}

TEST(TextHelpers, TakeOnlyRealSeparatorsAndWriteNothingPastTheResult) {
    // An odd start, so that a cut at 259 bytes would fall inside a character.
    const std::string longPath = "C:\\a" + Repeat(SO, 140) + "\\" + Repeat(HYO, 140) + "." + Repeat(KA, 140);
    const std::string longCut = "C:\\a" + Repeat(SO, 127);  // 258 bytes
    // clang-format off
    const struct { const char* function; Call call; std::string in, out; } cases[] = {
        {LEN(GetPathName), "C:\\" SO "ft\\a.log", "C:\\" SO "ft\\"},
        {LEN(GetPathName), "C:\\a\\" HYO HYO, "C:\\a\\"},
        {LEN(GetFileName), "C:app.log", "app.log"},
        {LEN(GetFileName), "C:\\a\\b" SO, "b" SO},
        {LEN(GetPathNameOnly), "C:\\Logs.old\\app", "C:\\Logs"},
        {LEN(GetPathNameOnly), "C:\\" SO "\\" HYO ".log", "C:\\" SO "\\" HYO},
        {LEN(GetFileNameOnly), "app.tar.gz", "app.tar"},
        {LEN(GetFileNameExt), "C:\\a\\b." SO, SO},
        {LEN(GetFileNameExt), "C:\\a\\b", ""},
        {"SplitPath", Split, "C:\\" SO "\\" HYO ".b.c", "C:\n\\" SO "\\\n" HYO ".b\nc"},
        {"SplitPath", Split, "Logs.old\\app", "\nLogs.old\\\napp\n"},
        {"SplitPath", Split, SO ":x", "\n\n" SO ":x\n"},
        {NOLEN(GetRegistClassName), SO "file\\shell\\open", SO "file"},
        {NOLEN(SetSeparateSymbol), "C:\\a b", "\"C:\\a b\""},
        {NOLEN(DelSeparateSymbol), "\"C:\\" HYO "\"", "C:\\" HYO},
        {NOLEN(DelSeparateSymbol), "\"" SO, SO},
        {TWO(SeparatePath), "\"C:\\a b\\x.exe\" -f", "C:\\a b\\x.exe\n-f"},
        {TWO(SeparatePath), "\"C:\\x.exe", "C:\\x.exe\n"},
        {TWO(SeparatePath), "\"C:\\" SO "\\" PO ".exe\" " HYO, "C:\\" SO "\\" PO ".exe\n" HYO},
        {TWO(GetFileParam), "\"a b\" c", "\"a\nb\" c"},
        {COPY(lstrxcpy, '|', 260), "a" PO PO "|b", "a" PO PO},
        {COPY(lstrxcpy, '\\', 260), SO "\\x", SO},
        {COPY(lstrxcpy, ',', 4), "ab" SO "c", "ab" SO},
        {COPY(lstrcpyspc, 10), "a b   ", "a b"},
        {COPY(lstrcpyspc, 2), "abcdef", "abc"},  // limit + 1 bytes
        {COPY(lstrcpyzc, 10), "2.0" KA "00", "2.0" KA},
        {COPY(StringArgCopy, 260), "\"C:\\a b\\x.exe\" -f", "\"C:\\a b\\x.exe\""},
        {COPY(StringArgCopy, 2), "a" SO, "a"},
        {LEN(GetPathName), longPath, longCut},
        {LEN(GetFileName), longPath, Repeat(HYO, 129)},
        {LEN(GetFileNameExt), longPath, Repeat(KA, 129)},
        {NOLEN(SetSeparateSymbol), longPath, "\"C:\\a" + Repeat(SO, 126) + "\""},
        {"GetArgumentFileName", [](const char* in, char* out) { return CALL(GetArgumentFileName, in, 0, out) * -1; },
         longPath, longCut},  // always 1
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.function) + "(" + c.in.substr(0, 40) + ")");
        Guarded out;
        int len = c.call(c.in.c_str(), out.bytes);
        EXPECT_EQ(out.bytes, c.out);
        EXPECT_TRUE(len < 0 || len == static_cast<int>(c.out.size())) << len;
        EXPECT_TRUE(out.Intact(c.out.size() + 1));
    }
    for (const char* yes : {SO, "\xE0\x40"}) EXPECT_EQ(CALL(IsMultiByteChar, yes), 1);
    for (const char* no : {"\x83", "\x83\xFF", "\xB1\x5C", "\\" SO, ""}) EXPECT_EQ(CALL(IsMultiByteChar, no), 0);
    EXPECT_EQ(CALL(IsMultiByteChar, nullptr), 0);
}

TEST(CommandLine, CountsAndPicksTheSameArgumentsAndReadsNumberFieldsAndDrives) {
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"", {}},
        {"a  b", {"a", "", "b"}},
        {"a ", {"a"}},
        {"\"" SO " " HYO "\" " PO, {"\"" SO " " HYO "\"", PO}},
        {"x\"a b\"y z", {"x\"a b\"y", "z"}}};
    for (const auto& [line, arguments] : cases) {
        const int count = static_cast<int>(arguments.size());
        EXPECT_EQ(CALL(GetCountArgument, line), count) << line;
        for (int i = -1; i <= count; ++i) {
            Guarded out;
            EXPECT_EQ(CALL(GetArgumentFileName, line, i, out.bytes), 1);
            EXPECT_STREQ(out.bytes, i >= 0 && i < count ? arguments[i].c_str() : "") << line << " #" << i;
        }
    }
    POINT p = {99, 99};
    CALL(GetPointData, "12", &p);  // the text ends early: no byte past its end is read
    EXPECT_EQ(std::vector<LONG>({p.x, p.y}), std::vector<LONG>({12, 0}));
    RECT r = {9, 9, 9, 9};
    CALL(GetRectData, "1 +2 -3 40x", &r);
    EXPECT_EQ(std::vector<LONG>({r.left, r.top, r.right, r.bottom}), std::vector<LONG>({1, 2, -3, 40}));
    char path[] = "c:\\x", a[] = "A:", unc[] = "\\\\srv\\x";
    EXPECT_EQ(std::vector<int>({CALL(GetDriveNumber, path), CALL(GetDriveNumber, a), CALL(GetDriveNumber, unc)}),
              std::vector<int>({3, 1, -1}));
    EXPECT_STREQ(path, "C:\\X");  // upper-cased in place
}

TEST(MultiSelect, SplitsTheOpenDialogBufferWithinItsFirst260Bytes) {
    const std::string longest = "C:\\" + std::string(250, 'd') + "\\";  // and a.txt: 259 bytes
    const std::string a(120, 'a'), b(120, 'b');
    // The buffer, the count, the folder and the names with their NULs and the closing one as '|'.
    const struct {
        std::string buffer;
        int count;
        std::string dir, files;
    } cases[] = {{"C:\\dir\0a.txt\0" SO ".txt\0\0"s, 2, "C:\\dir", "a.txt|" SO ".txt||"},
                 {"C:\\" SO "\\a.txt\0\0"s, 1, "C:\\" SO "\\", "a.txt|"},
                 {longest + "a.txt" + std::string(2, '\0'), 1, longest, "a.txt|"},
                 {std::string(300, 'x'), 0, "", "|"},
                 // the third name crosses byte 260
                 {"C:\\d" + std::string(1, '\0') + a + '\0' + b + '\0' + std::string(40, 'c') + std::string(2, '\0'), 2,
                  "C:\\d", a + "|" + b + "||"}};
    for (const auto& c : cases) {
        char dir[MAX_PATH], files[MAX_PATH];
        EXPECT_EQ(CALL(GetMultiSelectFileInfo, c.buffer.c_str(), dir, files), c.count) << c.dir;
        std::string names(files, c.files.size());
        std::replace(names.begin(), names.end(), '\0', '|');
        EXPECT_EQ(std::make_pair(std::string(dir), names), std::make_pair(c.dir, c.files));
    }
    EXPECT_EQ(CALL(GetMultiFileCount, "a\0b\0\0"), 2);
}

TEST(SystemNames, ProductNameAndLongPathName) {
    char out[MAX_PATH];
    EXPECT_NE(CALL(GetProductName, testing_support::EnvPath("KELVORA_EXE").c_str(), out, 3), 0);
    EXPECT_STREQ(out, "Kel");  // the version resource's name, cut to max bytes
    testing_support::TempFolder folder;
    std::string file = folder.File(SO "ft.long file name.text");
    ASSERT_TRUE(testing_support::WriteFileBytes(file, "x"));
    EXPECT_EQ(CALL(GetProductName, file.c_str(), out, 259), 0);  // no version resource: the base name
    EXPECT_STREQ(out, SO "ft.long file name");

    char shortPath[MAX_PATH];
    ASSERT_NE(GetShortPathNameA(file.c_str(), shortPath, MAX_PATH), 0u);
    EXPECT_EQ(CALL(GetLongPathNameBn, shortPath, out, MAX_PATH), static_cast<int>(file.size()));
    EXPECT_EQ(out, file);
    Guarded small;
    EXPECT_EQ(CALL(GetLongPathNameBn, file.c_str(), small.bytes, 4), 3);
    EXPECT_STREQ(small.bytes, file.substr(0, 3).c_str());
    EXPECT_TRUE(small.Intact(4));
}

}  // namespace
