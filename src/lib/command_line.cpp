// Command lines: counting and picking arguments, splitting off the program, adding and removing quotes.
#include <cstring>

#include "lib/core/byte_text.h"
#include "lib/strings_paths.h"

using bytetext::CopyFit;
using bytetext::CopyPrefix;
using bytetext::FitLength;
using bytetext::IsDoubleByte;
using bytetext::kPathBytes;

// End of the argument that starts at text: a space outside double quotes, or the end.
static size_t ArgumentEnd(const char* text) {
    bool quoted = false;
    size_t i = 0;
    while (text[i]) {
        if (IsDoubleByte(text + i)) {
            i += 2;
            continue;
        }
        if (text[i] == '"') quoted = !quoted;
        if (text[i] == ' ' && !quoted) break;
        ++i;
    }
    return i;
}

extern "C" {

int WINAPI GetCountArgument(LPCSTR commandLine) {
    if (!commandLine || !commandLine[0]) return 0;
    int count = 1;
    for (const char* p = commandLine;;) {
        p += ArgumentEnd(p);
        if (!*p) break;
        ++p;             // the space
        if (!*p) break;  // a trailing space starts no argument
        ++count;
    }
    return count;
}

int WINAPI GetArgumentFileName(LPCSTR commandLine, int index, LPSTR out) {
    out[0] = '\0';
    if (index < 0 || !commandLine || !commandLine[0]) return 1;
    const char* p = commandLine;
    for (int k = 0;; ++k) {
        size_t end = ArgumentEnd(p);
        if (k == index) {
            CopyPrefix(out, p, FitLength(p, end < kPathBytes ? end : kPathBytes - 1));
            return 1;
        }
        if (!p[end] || !p[end + 1]) return 1;  // no argument of that index
        p += end + 1;
    }
}

void WINAPI SeparatePath(LPCSTR commandLine, LPSTR program, LPSTR params) {
    ptrdiff_t quote = bytetext::FirstOf(commandLine, '"');
    size_t programStart = 0;
    size_t programEnd = 0;
    const char* rest = "";
    if (quote >= 0) {
        // The program is taken to be quoted from the first byte on.
        programStart = 1;
        ptrdiff_t close = bytetext::FirstOf(commandLine + 1, '"');
        if (close < 0) {
            programEnd = strlen(commandLine);
        } else {
            programEnd = 1 + static_cast<size_t>(close);
            if (commandLine[programEnd + 1]) rest = commandLine + programEnd + 2;
        }
    } else {
        ptrdiff_t space = bytetext::FirstOf(commandLine, ' ');
        programEnd = space < 0 ? strlen(commandLine) : static_cast<size_t>(space);
        if (space >= 0) rest = commandLine + space + 1;
    }
    const char* start = commandLine + programStart;
    size_t len = programEnd - programStart;
    CopyPrefix(program, start, FitLength(start, len < kPathBytes ? len : kPathBytes - 1));
    if (params) CopyFit(params, rest, kPathBytes - 1);
}

void WINAPI SetSeparateSymbol(LPCSTR src, LPSTR dst) {
    if (bytetext::FirstOf(src, '"') >= 0) {
        CopyFit(dst, src, kPathBytes - 1);
        return;
    }
    size_t len = CopyFit(dst + 1, src, kPathBytes - 3);
    dst[0] = '"';
    dst[len + 1] = '"';
    dst[len + 2] = '\0';
}

void WINAPI DelSeparateSymbol(LPCSTR src, LPSTR dst) {
    if (bytetext::FirstOf(src, '"') < 0) {
        CopyFit(dst, src, kPathBytes - 1);
        return;
    }
    // Only the enclosing quotes go, so that a string without a closing quote keeps its last character.
    size_t len = strlen(src);
    size_t start = src[0] == '"' ? 1 : 0;
    size_t end = len > start && src[len - 1] == '"' ? len - 1 : len;  // a quote is never a second byte
    size_t keep = end - start;
    CopyPrefix(dst, src + start, FitLength(src + start, keep < kPathBytes ? keep : kPathBytes - 1));
}

}  // extern "C"
