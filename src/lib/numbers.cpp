#include "lib/numbers.h"

#include <cstdio>
#include <cstring>

#include "lib/core/byte_text.h"

extern "C" {

DWORD WINAPI XChgWord(DWORD value) { return ((value & 0xFF) << 8) | ((value >> 8) & 0xFF); }

DWORD WINAPI XChgDWord(DWORD value) { return (XChgWord(value) << 16) | XChgWord(value >> 16); }

int WINAPI IsCharNumeric(int c) {
    unsigned char b = static_cast<unsigned char>(c);
    return b >= '0' && b <= '9' ? 1 : 0;
}

DWORD WINAPI AsciiToDWord(LPCSTR text) { return bytetext::FirstNumber(text); }

int WINAPI ConvertCoinage(LONG value, LPSTR out, int groupSize) {
    char digits[16];
    int len = snprintf(digits, sizeof digits, "%ld", static_cast<long>(value));
    const char* d = digits;
    int n = 0;
    if (*d == '-') out[n++] = *d++;
    int count = len - static_cast<int>(d - digits);
    for (int i = 0; i < count; ++i) {
        if (groupSize >= 1 && i > 0 && (count - i) % groupSize == 0) out[n++] = ',';
        out[n++] = d[i];
    }
    out[n] = '\0';
    return n;
}

}  // extern "C"
