// Test texts are written in UTF-8; the program works in code page 932.
#include "sjis.h"

#include <windows.h>

#include <vector>

namespace testing_support {

std::string Sjis(const char* utf8) {
    int wide = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::vector<wchar_t> w(wide);
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, w.data(), wide);
    int bytes = WideCharToMultiByte(932, 0, w.data(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(bytes, '\0');
    WideCharToMultiByte(932, 0, w.data(), -1, &out[0], bytes, nullptr, nullptr);
    out.resize(bytes - 1);
    return out;
}

std::vector<std::string> Sjis(std::initializer_list<const char*> utf8) {
    std::vector<std::string> out;
    for (const char* text : utf8) out.push_back(Sjis(text));
    return out;
}

}  // namespace testing_support
