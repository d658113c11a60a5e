// Test texts are written in UTF-8; the program works in code page 932.
#pragma once
#include <string>

namespace testing_support {
std::string Sjis(const char* utf8);
}
