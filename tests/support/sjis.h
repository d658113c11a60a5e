// Test texts are written in UTF-8; the program works in code page 932.
#pragma once
#include <initializer_list>
#include <string>
#include <vector>

namespace testing_support {
std::string Sjis(const char* utf8);
std::vector<std::string> Sjis(std::initializer_list<const char*> utf8);
}  // namespace testing_support
