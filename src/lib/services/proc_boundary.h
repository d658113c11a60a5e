// The boundary that no C++ exception passes, for the procedures the system calls (window, dialog
// and thread procedures). The i686 build cannot unwind through the system's frames: an exception
// that got there would end the program, so it is caught where the system called us, told to the
// user, and the program goes on.
#pragma once
#include <windows.h>

// Tells the user that an operation was abandoned because memory ran short, in a box owned by the
// top-level window of window. While one such box shows, further failures show none.
void ReportAbandoned(HWND window);

// handler()'s answer; after an exception it reports the failure and answers fallback().
template <class Handler, class Fallback>
auto Guarded(HWND window, Handler&& handler, Fallback&& fallback) noexcept -> decltype(handler()) {
    try {
        return handler();
    } catch (...) {
    }
    ReportAbandoned(window);  // outside the handler: the exception's memory is free again
    return fallback();
}

// A window procedure's answer: handler()'s, or after an exception what unhandled (the default or a
// control's own procedure) answers, as for a message the procedure leaves alone.
template <class Handler>
LRESULT GuardedMessage(WNDPROC unhandled, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                       Handler&& handler) noexcept {
    return Guarded(window, handler, [&] { return CallWindowProcA(unhandled, window, message, wParam, lParam); });
}
