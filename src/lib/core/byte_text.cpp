#include "lib/core/byte_text.h"

#include <cstring>

namespace bytetext {

namespace {
constexpr int kMaxDigits = 31;  // digits of one run that FirstNumber takes
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

bool IsDoubleByte(const char* p) {
    if (!p) return false;
    const unsigned char* u = reinterpret_cast<const unsigned char*>(p);
    // The lead byte is tested first: a NUL is never one, so the byte after the end is not read.
    return IsDBCSLeadByte(u[0]) && u[1] != 0x00 && u[1] != 0xFF;
}

size_t CharBytes(const char* text) {
    if (IsDoubleByte(text)) return 2;
    return IsDBCSLeadByte(static_cast<BYTE>(text[0])) && text[1] == '\0' ? 0 : 1;
}

size_t FitLength(const char* text, size_t max) {
    size_t i = 0;
    while (i < max && text[i]) {
        if (IsDoubleByte(text + i)) {
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

void CopyToField(char* field, size_t fieldSize, const char* text) {
    if (fieldSize == 0) return;
    std::memset(field, 0, fieldSize);
    CopyFit(field, text, fieldSize - 1);
}

size_t CopyUpTo(char* out, const char* text, char delimiter, size_t max) {
    size_t i = 0;
    while (i < max && text[i]) {
        if (IsDoubleByte(text + i)) {
            if (i + 2 > max) break;
            i += 2;
        } else if (text[i] == delimiter) {
            break;
        } else {
            ++i;
        }
    }
    return CopyPrefix(out, text, i);
}

ptrdiff_t LastOf(const char* text, char a, char b) {
    ptrdiff_t last = -1;
    for (ptrdiff_t i = 0; text[i];) {
        if (IsDoubleByte(text + i)) {
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
        if (IsDoubleByte(text + i)) {
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

DWORD FirstNumber(const char* text) {
    const char* p = text;
    while (*p && !IsDigit(*p)) ++p;
    DWORD value = 0;
    for (int n = 0; n < kMaxDigits && IsDigit(*p); ++n, ++p) value = value * 10 + static_cast<DWORD>(*p - '0');
    return value;
}

}  // namespace bytetext
