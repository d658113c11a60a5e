// Bounded, double-byte-safe copies and scans shared by the library's string functions.
#include "lib/byte_text.h"

#include <cstring>

#include "lib/strings_paths.h"

namespace bytetext {

size_t CharBytes(const char* text) {
    if (IsMultiByteChar(text)) return 2;
    return IsDBCSLeadByte(static_cast<BYTE>(text[0])) && text[1] == '\0' ? 0 : 1;
}

size_t FitLength(const char* text, size_t max) {
    size_t i = 0;
    while (i < max && text[i]) {
        if (IsMultiByteChar(text + i)) {
            if (i + 2 > max) break;
            i += 2;
        } else {
            ++i;
        }
    }
    return i;
}

size_t CopyPrefix(char* out, const char* text, size_t len) {
    if (out != text) memmove(out, text, len);
    out[len] = '\0';
    return len;
}

size_t CopyFit(char* out, const char* text, size_t max) { return CopyPrefix(out, text, FitLength(text, max)); }

ptrdiff_t LastOf(const char* text, char a, char b) {
    ptrdiff_t last = -1;
    for (ptrdiff_t i = 0; text[i];) {
        if (IsMultiByteChar(text + i)) {
            i += 2;
            continue;
        }
        if (text[i] == a || text[i] == b) last = i;
        ++i;
    }
    return last;
}

ptrdiff_t FirstOf(const char* text, char c) {
    for (ptrdiff_t i = 0; text[i];) {
        if (IsMultiByteChar(text + i)) {
            i += 2;
            continue;
        }
        if (text[i] == c) return i;
        ++i;
    }
    return -1;
}

long ParseLong(const char* text) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    unsigned long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) value = value * 10 + (*p - '0');
    return static_cast<long>(negative ? 0 - value : value);
}

}  // namespace bytetext
