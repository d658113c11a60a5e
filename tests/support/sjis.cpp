// Test texts are written in UTF-8; the program works in code page 932.
#include "sjis.h"

#include <windows.h>

#include <vector>

namespace testing_support {

std::string Sjis(const char* utf8) {
    std::wstring wide(MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &wide[0], static_cast<int>(wide.size()));
    std::string out(WideCharToMultiByte(932, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(932, 0, wide.c_str(), -1, &out[0], static_cast<int>(out.size()), nullptr, nullptr);
    out.pop_back();  // the NUL
    return out;
}

std::vector<std::string> Sjis(std::initializer_list<const char*> utf8) {
    std::vector<std::string> out;
    for (const char* text : utf8) out.push_back(Sjis(text));
    return out;
}

}  // namespace testing_support
