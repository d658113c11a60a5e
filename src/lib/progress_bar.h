// Exported progress bars: the common-controls bar, the self-painting "ProgressBarEx" and their helpers.
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// A visible "msctls_progress32" child of parent, or null.
HWND WINAPI CreateProgressBar(HWND parent, int x, int y, int width, int height, int id);
// A visible "ProgressBarEx" child of parent that writes its percentage across its middle, or null.
HWND WINAPI CreateProgressBarEx(HWND parent, int x, int y, int width, int height, int id);
// Sends the range (16 bits each) and the step to either kind of bar; nothing for a null window. Always 0.
int WINAPI SetProgressBar(HWND bar, int minimum, int maximum, int step);
// rect receives x, y (top-left corner in the dialog's client coordinates), width and height.
void WINAPI GetDlgItemRect(HWND dialog, int id, int rect[4]);

#ifdef __cplusplus
}
#endif
