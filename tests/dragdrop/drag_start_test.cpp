// The main window's drag-start rule: which mouse moves over the list start a drag, and of what.
#include "dragdrop/drag_start.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dragdrop/drag_drop.h"
#include "frame_fixture.h"
#include "sjis.h"

using namespace testing_support;
using testing_support::IndexLine;

namespace {

struct DecideCase {
    WPARAM keys;
    int pressed;
    int current;
    DragStartStep step;
};

class DecideDragStartTest : public testing::TestWithParam<DecideCase> {};

TEST_P(DecideDragStartTest, LeftButtonAloneIntoAnotherRowStarts) {
    EXPECT_EQ(GetParam().step, DecideDragStart(GetParam().keys, GetParam().pressed, GetParam().current));
}

INSTANTIATE_TEST_SUITE_P(
    Moves, DecideDragStartTest,
    testing::Values(DecideCase{MK_LBUTTON, 2, 2, DragStartStep::Stay}, DecideCase{MK_LBUTTON, 2, 3, DragStartStep::Start},
                    DecideCase{MK_LBUTTON, 2, 0, DragStartStep::Start},
                    DecideCase{MK_LBUTTON | MK_CONTROL, 2, 3, DragStartStep::PassOn},
                    DecideCase{MK_LBUTTON | MK_SHIFT, 2, 3, DragStartStep::PassOn},
                    DecideCase{MK_LBUTTON | MK_RBUTTON, 2, 3, DragStartStep::PassOn},
                    DecideCase{MK_RBUTTON, 2, 3, DragStartStep::PassOn}, DecideCase{0, 2, 3, DragStartStep::PassOn},
                    DecideCase{MK_LBUTTON | MK_CONTROL, 2, 2, DragStartStep::PassOn},
                    DecideCase{MK_LBUTTON, 2, -1, DragStartStep::PassOn}));

TEST(VisibleRowAt, CountsWholeRowsFromTheTopOfTheList) {
    EXPECT_EQ(0, VisibleRowAt(MAKELPARAM(5, 0), 16));
    EXPECT_EQ(0, VisibleRowAt(MAKELPARAM(5, 15), 16));
    EXPECT_EQ(1, VisibleRowAt(MAKELPARAM(5, 16), 16));
    EXPECT_EQ(-1, VisibleRowAt(MAKELPARAM(5, 16), 0));
}

std::vector<std::string> startedDrags;

void WINAPI RecordDrag(HWND, DragFileList* list) {
    for (INT32 i = 0; i < list->count; ++i) startedDrags.push_back(DragFileSlot(list, i));
}

class DragStartTest : public testing_support::FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        startedDrags.clear();
    }
    // Starts the program with drags going to the recorder.
    void StartRecording(const std::string& index) {
        Start(index);
        frame_->SetDragStarter(RecordDrag);
    }
    // Three entries; the second names its log with date macros.
    void StartWithThreeEntries() {
        DWORD off = 0;
        WriteProgramValue("Main", "MacroAuto", REG_DWORD, &off, sizeof off);
        WriteProgramValue("Main", "MacroYear", REG_SZ, "26", 3);
        WriteProgramValue("Main", "MacroMon", REG_SZ, "03", 3);
        WriteProgramValue("Main", "MacroDay", REG_SZ, "06", 3);
        StartRecording(IndexLine(logs_.File("a.log"), "b.exe", "1 first") +
                   IndexLine(logs_.File(Sjis(u8"日報#$%.log")), "b.exe", "2 second") +
                   IndexLine(logs_.File("c.log"), "b.exe", "3 third"));
        ASSERT_EQ(3, list_->GetEntryCount());
    }
    // A press in one row and a move to another y, as the list control receives them.
    void PressAndMove(int pressY, WPARAM moveKeys, int moveY) {
        HWND control = list_->Control();
        SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, pressY));
        moveResult_ = SendMessageA(control, WM_MOUSEMOVE, moveKeys, MAKELPARAM(12, moveY));
        SendMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(12, moveY));
        PumpMessages();
    }

    LRESULT moveResult_ = 0;
};

TEST_F(DragStartTest, MovingWithinThePressedRowStartsNothing) {
    StartWithThreeEntries();
    int h = RowHeight();
    ASSERT_GT(h, 2);
    PressAndMove(h + 1, MK_LBUTTON, 2 * h - 1);
    EXPECT_EQ(-1, moveResult_);
    EXPECT_TRUE(startedDrags.empty());
    EXPECT_EQ(1, list_->GetSelection());  // the press selected its row
}

TEST_F(DragStartTest, MovingIntoAnotherRowDragsTheSelectedEntrysExpandedName) {
    StartWithThreeEntries();
    int h = RowHeight();
    PressAndMove(h + 1, MK_LBUTTON, 2 * h + 1);
    EXPECT_EQ((std::vector<std::string>{logs_.File(Sjis(u8"日報260306.log"))}), startedDrags);
    EXPECT_EQ(1, list_->GetSelection());  // the list box never saw the move

    startedDrags.clear();
    PressAndMove(2 * h + 1, MK_LBUTTON, 1);
    EXPECT_EQ((std::vector<std::string>{logs_.File("c.log")}), startedDrags);
}

TEST_F(DragStartTest, ModifierKeysOrTheRightButtonStartNothing) {
    StartWithThreeEntries();
    int h = RowHeight();
    for (int keys : {MK_LBUTTON | MK_CONTROL, MK_LBUTTON | MK_SHIFT, MK_LBUTTON | MK_RBUTTON, MK_RBUTTON}) {
        PressAndMove(1, keys, 2 * h + 1);
        EXPECT_EQ(0, moveResult_) << keys;
    }
    EXPECT_TRUE(startedDrags.empty());
}

TEST_F(DragStartTest, AnEmptyListStartsNothing) {
    StartRecording("");
    ASSERT_EQ(0, list_->GetEntryCount());
    int h = RowHeight();
    ASSERT_GT(h, 0);
    PressAndMove(1, MK_LBUTTON, 3 * h + 1);
    EXPECT_TRUE(startedDrags.empty());
}

TEST_F(DragStartTest, NoSelectionStartsNothing) {
    StartWithThreeEntries();
    int h = RowHeight();
    SendMessageA(frame_->MainWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 1));
    list_->Select(-1);
    EXPECT_EQ(0, SendMessageA(list_->Control(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 2 * h + 1)));
    EXPECT_TRUE(startedDrags.empty());
}

}  // namespace
