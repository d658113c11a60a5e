// The CF_HDROP block byte for byte, and the bounds it keeps with over-long or unterminated slots.
#include <shlobj.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "dragdrop/drag_file_list.h"
#include "lib/owned.h"
#include "sjis.h"

using testing_support::Sjis;

namespace {

// A zero-filled list block with room for the given number of slots.
class FileList {
public:
    explicit FileList(size_t slots) : bytes_(DragFileListSize(slots), '\0') {}
    DragFileList* Get() { return reinterpret_cast<DragFileList*>(bytes_.data()); }
    char* Slot(size_t i) { return DragFileSlot(Get(), i); }

private:
    std::vector<char> bytes_;
};

FileList ListOf(const std::vector<std::string>& paths) {
    FileList list(paths.size());
    for (const std::string& p : paths) AppendDragFile(list.Get(), p.c_str());
    return list;
}

std::string Header() {
    const char header[20] = {20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
    return std::string(header, sizeof header);
}

// The block's defined bytes: the header and the names up to the closing NUL.
std::string DefinedBytes(HGLOBAL block) {
    GlobalLockGuard<char> bytes(block);
    if (!bytes) return "";
    size_t size = GlobalSize(block);
    size_t end = 20;
    while (end < size && bytes.Get()[end] != '\0') end += strlen(bytes.Get() + end) + 1;
    return std::string(bytes.Get(), end < size ? end + 1 : size);
}

struct HDropCase {
    const char* name;
    std::vector<std::string> paths;
    std::string names;  // what follows the header, the closing NUL included
};

class BuildHDropTest : public testing::TestWithParam<HDropCase> {};

TEST_P(BuildHDropTest, HeaderThenEachNameWithItsNulThenAClosingNul) {
    FileList list = ListOf(GetParam().paths);
    OwnedGlobal block(BuildHDrop(list.Get()));
    ASSERT_TRUE(block);
    EXPECT_EQ(Header() + GetParam().names, DefinedBytes(block.Get()));
    EXPECT_EQ(static_cast<UINT>(GetParam().paths.size()),
              DragQueryFileA(static_cast<HDROP>(block.Get()), 0xFFFFFFFF, nullptr, 0));
    for (UINT i = 0; i < GetParam().paths.size(); ++i) {
        char name[MAX_PATH] = "";
        DragQueryFileA(static_cast<HDROP>(block.Get()), i, name, sizeof name);
        EXPECT_EQ(GetParam().paths[i], name);
    }
    EXPECT_TRUE(GlobalFlags(block.Get()) & GMEM_DDESHARE);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, BuildHDropTest,
    testing::Values(HDropCase{"One", {"C:\\Logs\\app.log"}, std::string("C:\\Logs\\app.log\0\0", 17)},
                    HDropCase{"Several",
                              {"C:\\a.log", "D:\\x\\b.txt", "e"},
                              std::string("C:\\a.log\0D:\\x\\b.txt\0e\0\0", 23)},
                    HDropCase{"ShiftJis",
                              {Sjis(u8"C:\\ログ\\表示.log"), Sjis(u8"C:\\ソフト\\予定.txt")},
                              Sjis(u8"C:\\ログ\\表示.log") + std::string(1, '\0') + Sjis(u8"C:\\ソフト\\予定.txt") +
                                  std::string(2, '\0')}),
    [](const testing::TestParamInfo<HDropCase>& info) { return std::string(info.param.name); });

TEST(BuildHDrop, EmptyOrMissingListGivesNoBlock) {
    FileList empty(1);
    EXPECT_EQ(nullptr, BuildHDrop(empty.Get()));
    empty.Get()->count = -3;
    EXPECT_EQ(nullptr, BuildHDrop(empty.Get()));
    EXPECT_EQ(nullptr, BuildHDrop(nullptr));
}

// Slots filled by a caller without a NUL in their 260 bytes, or with a double-byte character
// across byte 259, are cut to 259 bytes at a character boundary and never read further.
TEST(BuildHDrop, UnterminatedSlotsAreCutWithinTheirOwnBytes) {
    FileList list(3);
    list.Get()->count = 3;
    memset(list.Slot(0), 'a', kDragFileSlot);  // no NUL at all
    std::string kanji = Sjis(u8"表");          // two bytes
    memset(list.Slot(1), 'b', kDragFileSlot);
    memcpy(list.Slot(1) + 258, kanji.data(), 2);  // lead byte at 258, trail byte in the last byte
    strcpy(list.Slot(2), "c");
    OwnedGlobal block(BuildHDrop(list.Get()));
    ASSERT_TRUE(block);
    std::string expected = Header() + std::string(259, 'a') + '\0' + std::string(258, 'b') + '\0' + "c" +
                           std::string(2, '\0');
    EXPECT_EQ(expected, DefinedBytes(block.Get()));
    EXPECT_EQ(3u, DragQueryFileA(static_cast<HDROP>(block.Get()), 0xFFFFFFFF, nullptr, 0));
}

TEST(AppendDragFile, CountsEachPathAndCutsALongOneAtACharacterBoundary) {
    FileList list(2);
    std::string longPath = std::string(258, 'x') + Sjis(u8"ロ");  // 260 bytes, the last character astride 259
    AppendDragFile(list.Get(), "C:\\a.log");
    AppendDragFile(list.Get(), longPath.c_str());
    EXPECT_EQ(2, list.Get()->count);
    EXPECT_STREQ("C:\\a.log", list.Slot(0));
    EXPECT_EQ(std::string(258, 'x'), list.Slot(1));
}

}  // namespace
