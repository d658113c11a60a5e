// The modeless progress dialog CUTINDBOX of a running cut: file name, last change, count, bar and stop button.
#pragma once
#include <windows.h>

// Belongs to the user interface thread; the worker calls the setters, which send messages, and
// reads the stop flag, which only ever goes from 0 to 1.
class LogCutDialog {
public:
    LogCutDialog() = default;
    ~LogCutDialog() { Close(); }
    LogCutDialog(const LogCutDialog&) = delete;
    LogCutDialog& operator=(const LogCutDialog&) = delete;

    HWND Show(HINSTANCE instance, HWND owner);
    void Close();
    // The bar counts in steps of ProgressUnit(maximum) bytes (1000 up to 65,535,000 bytes).
    void SetRange(unsigned minimum, unsigned long long maximumBytes, unsigned step);
    void SetPosition(unsigned long long bytes);
    void SetFile(const char* path, int placeCount);
    void SetKind(const char* name);
    void SetCount(int placeCount);
    bool Stopped() const { return stop_ != 0; }
    void RequestStop() { InterlockedExchange(&stop_, 1); }
    const volatile LONG* StopFlag() const { return &stop_; }
    HWND Window() const { return dialog_; }
    HWND Bar() const { return bar_; }

private:
    static INT_PTR CALLBACK DlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR Handle(LogCutDialog& self, HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

    volatile LONG stop_ = 0;
    HWND dialog_ = nullptr;
    HWND bar_ = nullptr;
    unsigned long long unit_ = 1000;
};
