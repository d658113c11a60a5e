// Bounded copies and scans of Shift-JIS byte strings that never split a double-byte character nor
// take its second byte for a separator.
#pragma once
#include <windows.h>

#include <cstddef>

namespace bytetext {

constexpr size_t kPathBytes = MAX_PATH;  // 260-byte path buffers hold at most 259 bytes of text

// True when p is the lead byte of a double-byte character whose second byte is neither 0 nor 0xFF.
bool IsDoubleByte(const char* p);
// Bytes of the character at text: 2 for a double-byte character, 0 for a lead byte whose second
// byte is missing (half a character at the end of the text), else 1.
size_t CharBytes(const char* text);
// Length of the longest start of text, stopping at NUL, that has at most max bytes and does not
// end inside a double-byte character.
size_t FitLength(const char* text, size_t max);
// Writes the first len bytes of text to out (they may overlap) and a NUL; len must come from
// FitLength or end at a character boundary.
size_t CopyPrefix(char* out, const char* text, size_t len);
// Copies text, cut to at most max bytes at a character boundary; out holds max + 1 bytes.
size_t CopyFit(char* out, const char* text, size_t max);
// Copies text into a zero-filled field of fieldSize bytes, cut at a character boundary.
void CopyToField(char* field, size_t fieldSize, const char* text);
// Copies text up to the first single-byte delimiter, its end or max bytes, whole characters only;
// out holds max + 1 bytes. The length copied.
size_t CopyUpTo(char* out, const char* text, char delimiter, size_t max);
// Position of the last byte of text equal to a or b outside double-byte characters, or -1.
ptrdiff_t LastOf(const char* text, char a, char b);
// Position of the first byte equal to c outside double-byte characters, or -1.
ptrdiff_t FirstOf(const char* text, char c);
// Signed decimal as strtol reads it (white space, sign, digits), wrapping instead of clamping.
long ParseLong(const char* text);
// The first run of decimal digits (at most its first 31 digits), wrapping modulo 2^32; 0 without one.
DWORD FirstNumber(const char* text);

}  // namespace bytetext
