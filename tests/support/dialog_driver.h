// Watches the message boxes and dialogs that the code under test opens on this thread, records what
// they show and answers them as the test asked. A box that no answer was queued for, and a box still
// open ten seconds after it appeared, fail the test and are closed: a test never hangs on a box.
#pragma once
#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace testing_support {

// A box as it was shown: a message box's text (empty for other dialogs), and its buttons and icon
// as the MB_ flags it was made with.
struct ShownBox {
    std::string caption, text;
    UINT messageBoxStyle = 0;
};

class DialogDriver {
public:
    using Answer = std::function<void(HWND dialog)>;

    DialogDriver();
    ~DialogDriver();  // fails the test for answers that were never used
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // Queues the answer for the next box; answers run in order, one per box, once the box's own
    // message loop runs (so they may send messages, set texts, press buttons and open more boxes).
    void Expect(Answer answer);
    // Queues pressing a button: the box then ends with that id.
    void ExpectPress(int buttonId);
    const std::vector<ShownBox>& Shown() const { return shown_; }
    // The i-th box shown as "caption|text"; "" when fewer were shown.
    std::string Box(size_t i = 0) const { return i < shown_.size() ? shown_[i].caption + "|" + shown_[i].text : ""; }

    // Presses a button of a dialog the way a click would (posted, so the dialog's loop handles it).
    static void Press(HWND dialog, int buttonId);
    static std::string ItemText(HWND dialog, int id);
    static std::string WindowText(HWND window);
    // Records a box that just appeared and runs its answer, or fails the test and closes it.
    static void OnBoxShown(HWND box);

private:
    std::deque<Answer> answers_;
    std::vector<ShownBox> shown_;
    DialogDriver* previous_ = nullptr;
};

// Starts watching this thread for boxes; every test program does so before its first test.
void WatchBoxes();
// Pumps this thread's messages for a while.
void PumpMessages(DWORD milliseconds = 0);

}  // namespace testing_support
