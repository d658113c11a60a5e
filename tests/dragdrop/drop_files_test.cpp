// Files dropped on the main window: one add dialog per file in drop order, each confirmed one
// written to the index file; drops outside the client area and over-long names add nothing.
#include "dragdrop/drop_files.h"

#include <shlobj.h>

#include <cstring>

#include "frame_fixture.h"

using namespace testing_support;

namespace {

// A DROPFILES block as the shell hands it over, with ANSI names.
HGLOBAL MakeDrop(const std::vector<std::string>& names, BOOL nonClient, POINT at = {30, 40}) {
    std::string list;
    for (const std::string& n : names) list += n + '\0';
    list += '\0';
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size());
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->pt = at;
    header->fNC = nonClient;
    header->fWide = FALSE;
    memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), list.data(), list.size());
    GlobalUnlock(block);
    return block;
}

bool IsFreed(HGLOBAL block) { return GlobalFlags(block) == GMEM_INVALID_HANDLE; }

class DropFilesTest : public testing_support::FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        browser_ = logs_.File("view.exe");  // never started: the drop only stores the name
        Start(IndexLine(logs_.File("m.log"), browser_, "m middle"));
    }
    void Drop(HGLOBAL block) {
        SendMessageA(Main().Window(), WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
        PumpMessages();
    }
    // Records what the add dialog shows, then fills in the list name and browser and confirms,
    // or cancels when listName is null.
    void Answer(DialogDriver& driver, const char* listName) {
        driver.Expect([this, listName](HWND dialog) {
            seen_.push_back(DialogDriver::WindowText(dialog) + "|" + DialogDriver::ItemText(dialog, IDC_LOGFILENAME) +
                            "|" + DialogDriver::ItemText(dialog, IDC_LISTNAME) + "|" +
                            DialogDriver::ItemText(dialog, IDC_BROWSERNAME));
            if (!listName) {
                DialogDriver::Press(dialog, IDCANCEL);
                return;
            }
            SetDlgItemTextA(dialog, IDC_LISTNAME, listName);
            SetDlgItemTextA(dialog, IDC_BROWSERNAME, browser_.c_str());
            DialogDriver::Press(dialog, IDOK);
        });
    }

    std::vector<std::string> seen_;  // caption|log file|list name|browser of each add dialog
};

TEST_F(DropFilesTest, TheWindowTakesFilesDroppedOnIt) {
    EXPECT_TRUE(GetWindowLongA(Main().Window(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
}

TEST_F(DropFilesTest, ThreeFilesOpenThreeDialogsAndACancelSkipsOnlyItsFile) {
    std::vector<std::string> files = {logs_.File("z.log"), logs_.File(Sjis(u8"日報.log")), logs_.File("a.log")};
    WriteFileBytes(files[0], "zz\r\n");
    HGLOBAL block = MakeDrop(files, FALSE);
    DialogDriver driver;
    Answer(driver, "z last");
    Answer(driver, nullptr);
    Answer(driver, "a first");
    Drop(block);

    const std::string add = Sjis(u8"リストの追加") + "|";
    EXPECT_EQ((std::vector<std::string>{add + files[0] + "||", add + files[1] + "||", add + files[2] + "||"}), seen_);
    EXPECT_TRUE(IsFreed(block));
    EXPECT_EQ((std::vector<std::string>{"a first", "m middle", "z last"}), Names());
    EXPECT_NE(0u, Row(0).SeenTime.dwHighDateTime);  // added now, so not unread
    EXPECT_EQ(4u, Row(2).FileSize);                 // the status of the dropped file
    const std::string index = IndexBytes();         // written at once, without the cancelled file
    EXPECT_NE(std::string::npos, index.find(files[0] + "," + browser_ + ",z last,"));
    EXPECT_NE(std::string::npos, index.find(files[2] + "," + browser_ + ",a first,"));
    EXPECT_EQ(std::string::npos, index.find(files[1]));
    EXPECT_TRUE(IsWindowEnabled(list_->Control()));
}

TEST_F(DropFilesTest, ADropOutsideTheClientAreaOrANameTooLongForAnEntryAddsNothing) {
    HGLOBAL outside = MakeDrop({logs_.File("x.log")}, TRUE);
    DialogDriver driver;
    Drop(outside);
    EXPECT_TRUE(driver.Shown().empty());
    EXPECT_TRUE(IsFreed(outside));

    // A longer name would be cut into another file's name: it is refused and the next one comes.
    std::string tooLong = logs_.Path() + std::string(300 - logs_.Path().size(), 'x') + ".log";
    HGLOBAL block = MakeDrop({tooLong, logs_.File("b.log")}, FALSE);
    driver.ExpectPress(IDOK);
    Answer(driver, "b second");
    Drop(block);
    EXPECT_EQ(Sjis(u8"リストの追加|ファイル名が長すぎるため、リストに追加できません"), driver.Box(0));
    EXPECT_EQ(std::vector<std::string>{Sjis(u8"リストの追加") + "|" + logs_.File("b.log") + "||"}, seen_);
    EXPECT_EQ((std::vector<std::string>{"b second", "m middle"}), Names());
    EXPECT_TRUE(IsFreed(block));
}

}  // namespace
