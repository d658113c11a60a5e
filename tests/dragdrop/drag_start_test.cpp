// The main window's drag-start rule: which mouse moves over the list start a drag, and of what.
#include "dragdrop/drag_start.h"

#include "dragdrop/drag_file_list.h"
#include "frame_fixture.h"

using namespace testing_support;

namespace {

TEST(DecideDragStart, OnlyTheLeftButtonAloneIntoAnotherRowStarts) {
    using Step = DragStartStep;
    // clang-format off
    const struct {
        WPARAM keys;
        int current;  // the row pressed is 2
        Step step;
    } cases[] = {{MK_LBUTTON, 2, Step::Stay},   {MK_LBUTTON, 3, Step::Start},  {MK_LBUTTON, 0, Step::Start},
                 {MK_LBUTTON, -1, Step::PassOn}, {MK_RBUTTON, 3, Step::PassOn}, {0, 3, Step::PassOn},
                 {MK_LBUTTON | MK_CONTROL, 3, Step::PassOn}, {MK_LBUTTON | MK_SHIFT, 3, Step::PassOn},
                 {MK_LBUTTON | MK_RBUTTON, 3, Step::PassOn}};
    // clang-format on
    for (const auto& c : cases) EXPECT_EQ(c.step, DecideDragStart(c.keys, 2, c.current)) << c.keys << " " << c.current;
    EXPECT_EQ(-1, VisibleRowAt(MAKELPARAM(5, 16), 0));  // rows of no height
}

std::vector<std::string> startedDrags;

void WINAPI RecordDrag(HWND, DragFileList* list) {
    for (INT32 i = 0; i < list->count; ++i) startedDrags.push_back(DragFileSlot(list, i));
}

class DragStartTest : public FrameTest {
protected:
    Seam<DragStarter>::Override record_{dragStartSeam, RecordDrag};
    // A press in one row and a move to another y, as the list control receives them; the move's answer.
    LRESULT PressAndMove(int pressY, WPARAM moveKeys, int moveY) {
        HWND control = list_->Control();
        SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, pressY));
        LRESULT result = SendMessageA(control, WM_MOUSEMOVE, moveKeys, MAKELPARAM(12, moveY));
        SendMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(12, moveY));
        PumpMessages();
        return result;
    }
};

TEST_F(DragStartTest, AMoveIntoAnotherRowDragsTheSelectedEntrysExpandedName) {
    WriteMacroTexts("26", "03", "06");
    startedDrags.clear();
    Start(IndexLine(logs_.File("a.log"), "b.exe", "1 first") +
          IndexLine(logs_.File(Sjis(u8"日報#$%.log")), "b.exe", "2 second") +
          IndexLine(logs_.File("c.log"), "b.exe", "3 third"));
    const int h = RowHeight();
    ASSERT_GT(h, 2);
    EXPECT_EQ(-1, PressAndMove(h + 1, MK_LBUTTON, 2 * h - 1));  // within the pressed row
    EXPECT_EQ(0, PressAndMove(h + 1, MK_LBUTTON | MK_SHIFT, 2 * h + 1));
    EXPECT_TRUE(startedDrags.empty());

    PressAndMove(h + 1, MK_LBUTTON, 2 * h + 1);
    PressAndMove(2 * h + 1, MK_LBUTTON, 1);
    EXPECT_EQ((std::vector<std::string>{logs_.File(Sjis(u8"日報260306.log")), logs_.File("c.log")}), startedDrags);
    EXPECT_EQ(2, list_->GetSelection());  // the list box never saw the moves

    startedDrags.clear();
    SendMessageA(Main().Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 1));
    list_->Select(-1);
    EXPECT_EQ(0, SendMessageA(list_->Control(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 2 * h + 1)));
    EXPECT_TRUE(startedDrags.empty());  // nothing selected, nothing dragged
}

}  // namespace
