// Test texts are written in UTF-8; the program works in code page 932.
#include "sjis.h"

#include <windows.h>

#include <vector>

namespace testing_support {

std::string Sjis(const char* utf8) {
    wchar_t wide[1024] = L"";
    char out[2048] = "";
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 1024);
    WideCharToMultiByte(932, 0, wide, -1, out, sizeof out, nullptr, nullptr);
    return out;
}

std::vector<std::string> Sjis(std::initializer_list<const char*> utf8) {
    std::vector<std::string> out;
    for (const char* text : utf8) out.push_back(Sjis(text));
    return out;
}

}  // namespace testing_support
