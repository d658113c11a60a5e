// Date macro characters in log file names: '#' year, '$' month, '%' day.
#pragma once
#include <windows.h>

class Environ;

// The three replacement texts (MacroYear, MacroMon, MacroDay); a null text counts as empty.
struct DateMacroTexts {
    const char* year;
    const char* month;
    const char* day;
};

// The texts as they stand in the settings; valid while settings lives and is not changed.
DateMacroTexts MacroTextsOf(const Environ& settings);

// Writes source into destination (260 bytes; may be source itself) with every macro character
// replaced by its text. The replacement texts are not scanned again, and the second byte of a
// double-byte character is never taken for a macro character. A result that would exceed 259 bytes
// ends before the first character or macro text that does not fit whole; a half double-byte
// character at the end of source is dropped. Returns the length of the result.
int ExpandDateMacros(const char* source, char* destination, const DateMacroTexts& macros);
int ExpandDateMacros(const char* source, char* destination, const Environ& settings);
