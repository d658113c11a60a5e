// Exported numeric helpers: byte-order swaps, decimal reading and digit grouping.
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// The low 16 bits with their two bytes exchanged (0 to 0xFFFF).
DWORD WINAPI XChgWord(DWORD value);
// The four bytes in reverse order.
DWORD WINAPI XChgDWord(DWORD value);
// The first run of decimal digits (at most its first 31 digits), wrapping modulo 2^32; 0 without one.
DWORD WINAPI AsciiToDWord(LPCSTR text);
// 1 when the low 8 bits are '0'..'9'.
int WINAPI IsCharNumeric(int c);
// value in decimal with a comma before every group of digits from the right; a group size below
// 1 gives no commas. out needs 21 bytes for any value. Returns the length.
int WINAPI ConvertCoinage(LONG value, LPSTR out, int groupSize);

#ifdef __cplusplus
}
#endif
