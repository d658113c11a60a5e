// Reading and writing the program's own settings values under HKEY_CURRENT_USER\Software\Brisnel\Kelvora.
#pragma once
#include <windows.h>

#include "lib/core/owned.h"

namespace settings {

// Opens (creating when missing) the sub-key named by string subKeyId below the program's base key.
OwnedKey OpenSettingsKey(HINSTANCE instance, UINT subKeyId);

// Loads a value or key name from the string table (at most 63 characters).
struct ValueName {
    ValueName(HINSTANCE instance, UINT id);
    char text[64];
};

// A string value of at most fieldSize - 1 bytes of text. Anything that does not leave room for
// the terminating NUL (too long, or a full field stored without one) counts as unreadable, so a
// field never holds an unterminated string.
bool ReadString(HKEY key, const char* name, char* field, DWORD fieldSize);
// Raw bytes of at most size bytes; *got receives the count read. The registry type is not checked.
bool ReadBytes(HKEY key, const char* name, void* field, DWORD size, DWORD* got);
bool ReadInt(HKEY key, const char* name, int* value);

// String fields are written whole (the text, its NUL and the rest of the field).
LONG WriteString(HKEY key, const char* name, const char* field, DWORD fieldSize);
LONG WriteBinary(HKEY key, const char* name, const void* data, DWORD size);
LONG WriteInt(HKEY key, const char* name, int value);

}  // namespace settings
