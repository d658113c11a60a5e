#include "loglist/date_macros.h"

#include <cstring>

#include "lib/core/byte_text.h"
#include "settings/environ.h"

DateMacroTexts MacroTextsOf(const Environ& settings) {
    return {settings.GetMacroYear(), settings.GetMacroMon(), settings.GetMacroDay()};
}

int ExpandDateMacros(const char* source, char* destination, const DateMacroTexts& macros) {
    // The work copy lets destination overlap source.
    char work[MAX_PATH];
    bytetext::CopyToField(work, sizeof work, source);

    char result[MAX_PATH];
    size_t length = 0;
    const char* p = work;
    while (*p != '\0') {
        const char* piece = p;
        size_t pieceLength = 1;
        size_t step = 1;
        const size_t width = bytetext::CharBytes(p);
        if (width == 0) break;  // half a character
        if (width == 2) {
            pieceLength = step = 2;
        } else if (*p == '#' || *p == '$' || *p == '%') {
            piece = *p == '#' ? macros.year : *p == '$' ? macros.month : macros.day;
            if (!piece) piece = "";
            pieceLength = std::strlen(piece);
        }
        if (length + pieceLength > MAX_PATH - 1) break;
        std::memcpy(result + length, piece, pieceLength);
        length += pieceLength;
        p += step;
    }
    result[length] = '\0';
    std::memcpy(destination, result, length + 1);
    return static_cast<int>(length);
}

int ExpandDateMacros(const char* source, char* destination, const Environ& settings) {
    return ExpandDateMacros(source, destination, MacroTextsOf(settings));
}
