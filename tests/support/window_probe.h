// What the user meets of a running window, for the window tests: menus as text, the popup menu a
// call shows (closed, or with one of its items chosen), the commands the window gets, and the
// colours drawn in a part of a window.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace testing_support {

// A menu's items as "id text", a separator as "-", a submenu as its text followed by its items.
std::vector<std::string> MenuItems(HMENU menu);

// The popup menu shown while open runs on this thread: where, and its items. It is closed without
// a choice, or by typing the access key choose; a menu that never shows ends the wait in 6 s.
struct ShownMenu {
    RECT rect = {};
    std::vector<std::string> items;
};
ShownMenu WatchMenu(const std::function<void()>& open, char choose = 0);

// While it lives, the commands that window gets are recorded and swallowed, so that none of them
// runs; the list control's notifications still pass.
class CommandRecorder {
public:
    explicit CommandRecorder(HWND window);
    ~CommandRecorder();
    CommandRecorder(const CommandRecorder&) = delete;
    CommandRecorder& operator=(const CommandRecorder&) = delete;
    const std::vector<UINT>& Commands() const { return commands_; }

private:
    static LRESULT CALLBACK Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window_;
    WNDPROC previous_;
    std::vector<UINT> commands_;
};

// The open-file dialog as the tests answer it: what the program asked it to show, as
// "title|filter|pattern|...", and the file it answers with (empty: it is cancelled).
struct FileDialogAnswer {
    std::string shown, file;
};
extern FileDialogAnswer fileDialog;
BOOL WINAPI AnswerFileDialog(LPOPENFILENAMEA ofn);

// The metrics of the font the window draws in.
TEXTMETRICA FontMetrics(HWND window);
// The colours on screen in rect of window's client area, once its pending painting is done.
std::set<COLORREF> ColoursIn(HWND window, const RECT& rect);
// The first column of rect, from the left, that holds a colour other than background; -1 if none.
int FirstInkColumn(HWND window, const RECT& rect, COLORREF background);

}  // namespace testing_support
