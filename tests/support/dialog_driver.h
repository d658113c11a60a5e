// Watches the message boxes and modal dialogs that the code under test opens on this thread,
// records what they show and answers them as the test asked. A box that no answer was queued
// for fails the test and is closed, so a test never hangs on it.
#pragma once
#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace testing_support {

struct ShownBox {
    HWND window = nullptr;
    std::string caption;
    std::string text;             // a message box's text (empty for other dialogs)
    DWORD windowStyle = 0;
    UINT messageBoxStyle = 0;     // buttons and icon of a message box, as the MB_ flags it was made with
    std::vector<int> buttonIds;   // ids of the push buttons
    bool expected = true;
};

class DialogDriver {
public:
    using Answer = std::function<void(HWND dialog)>;

    DialogDriver();
    ~DialogDriver();  // fails the test for boxes that came unexpected or answers that were never used
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // Queues the answer for the next box; answers run in order, one per box, once the box's
    // own message loop runs (so they may send messages, set texts and press buttons).
    void Expect(Answer answer);
    // Queues pressing a button: the box then ends with that id.
    void ExpectPress(int buttonId);

    const std::vector<ShownBox>& Shown() const { return shown_; }
    size_t PendingAnswers() const { return answers_.size(); }
    // Pumps messages until n boxes were shown or the time is over.
    bool WaitForShown(size_t n, DWORD timeoutMs = 5000);

    // Presses a button of a dialog the way a click would (posted, so the dialog's loop handles it).
    static void Press(HWND dialog, int buttonId);
    static std::string ItemText(HWND dialog, int id);
    static std::string WindowText(HWND window);

private:
    static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK HelperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnActivate(HWND window);
    void RunAnswer(HWND window);

    HHOOK hook_ = nullptr;
    HWND helper_ = nullptr;
    std::deque<Answer> answers_;
    std::vector<ShownBox> shown_;
    std::vector<HWND> seen_;
    DialogDriver* previous_ = nullptr;
};

// Pumps this thread's messages for a while.
void PumpMessages(DWORD milliseconds = 0);

}  // namespace testing_support
