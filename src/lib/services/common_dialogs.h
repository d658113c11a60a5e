// The system's open-file and font dialogs as the program's commands and dialogs use them.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include <initializer_list>
#include <string>

#include "lib/core/seam.h"

using OpenFileFunction = BOOL(WINAPI*)(LPOPENFILENAMEA);
using ChooseFontFunction = BOOL(WINAPI*)(LPCHOOSEFONTA);

// The system's dialogs, which tests answer themselves.
extern Seam<OpenFileFunction> openFileSeam;
extern Seam<ChooseFontFunction> chooseFontSeam;

struct FileFilter {
    UINT textId;          // the filter's text in the string table
    const char* pattern;  // "*.log"
};

// "text\0pattern\0...\0\0" for lpstrFilter.
std::string BuildFilter(HINSTANCE instance, std::initializer_list<FileFilter> filters);

// The open-file dialog owned by owner with the title string titleId, the first filter selected,
// the name in path (empty for none) to start from and the read-only box hidden (extraFlags are
// added). True with the chosen path in path (260 bytes); false, path untouched, when cancelled
// or failed.
bool ChooseFileToOpen(HWND owner, HINSTANCE instance, UINT titleId, const std::string& filter, DWORD extraFlags,
                      char path[MAX_PATH]);

// The font dialog for screen fonts with effects, starting from font and color; true and both
// replaced when the user accepts.
bool ChooseListFont(HWND owner, LOGFONTA* font, COLORREF* color);
