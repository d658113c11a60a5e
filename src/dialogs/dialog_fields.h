// The text fields of the program's dialogs, read into the fixed-size fields of its records.
#pragma once
#include <windows.h>

#include <cstddef>

// The control's text cut to size - 1 bytes at a character boundary; the rest of field is zero.
void ReadField(HWND dialog, int id, char* field, size_t size);
