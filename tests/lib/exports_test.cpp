// Loads the built Kelvora.exe as a module and finds every exported library function by name.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "test_env.h"

namespace {

// GetProcAddress gives a generic function pointer; going through void* keeps the cast explicit.
template <class F>
F Export(HMODULE module, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

std::vector<std::string> ExpectedExports() {
    std::string list = std::string(getenv("KELVORA_SOURCE_DIR") ? getenv("KELVORA_SOURCE_DIR") : "") +
                       "/tests/lib/exports.txt";
    std::ifstream in(testing_support::UnixToWindowsPath(list));
    std::vector<std::string> names;
    for (std::string line; std::getline(in, line);) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        if (!line.empty() && line[0] != '#') names.push_back(line);
    }
    return names;
}

TEST(Exports, EveryLibraryFunctionIsFoundByNameInKelvoraExe) {
    std::vector<std::string> names = ExpectedExports();
    ASSERT_GT(names.size(), 60u);
    std::string exe = testing_support::EnvPath("KELVORA_EXE");
    ASSERT_FALSE(exe.empty());
    HMODULE module = LoadLibraryA(exe.c_str());
    ASSERT_NE(module, nullptr) << exe << " error " << GetLastError();
    for (const std::string& name : names) EXPECT_NE(GetProcAddress(module, name.c_str()), nullptr) << name;
    EXPECT_EQ(GetProcAddress(module, "NoSuchKelvoraExport"), nullptr);

    // Called through the module's own export, as another program would. Wine binds no imports of
    // an EXE loaded as a module, so only a function that calls nothing else can run here.
    using Swap = DWORD(WINAPI*)(DWORD);
    auto swap = Export<Swap>(module, "XChgDWord");
    ASSERT_NE(swap, nullptr);
    EXPECT_EQ(swap(0x12345678), 0x78563412u);
    FreeLibrary(module);
}

}  // namespace
