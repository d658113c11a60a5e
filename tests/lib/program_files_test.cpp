// Starting a log's browser or editor: the log's name reaches the program as one argument.
#include "lib/services/program_files.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "test_env.h"

using namespace testing_support;

namespace {

std::string WithoutPercent(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '%'), text.end());
    return text;
}

TEST(StartProgramTest, ANameWithBlanksOrCmdCharactersReachesABatchFileAsOneArgumentAndNothingRuns) {
    // The shell starts a batch file through cmd.exe, which would run ran.bat from the current folder
    // for the "&ran" of a name that is not quoted.
    TempFolder folder;
    const std::string got = folder.File("got.txt"), browser = folder.File("browser.bat");
    ASSERT_TRUE(WriteFileBytes(browser, "@echo off\r\n>>\"%~dp0got.txt\" echo %*\r\n"));
    ASSERT_TRUE(WriteFileBytes("ran.bat", "@>>\"" + got + "\" echo RAN\r\n"));
    std::string expected;
    size_t started = 0;
    for (const char* name : {"x&ran", "a b(1)&ran", "50%&ran", "x^y,z;w=v!&ran"}) {
        EXPECT_TRUE(StartProgram(nullptr, browser.c_str(), folder.File(name).c_str()));
        expected += "\"" + folder.File(name) + "\"\r\n";
        ReadFileOnceItHasLines(got, ++started);
    }
    DeleteFileA("ran.bat");
    // Wine's cmd.exe drops a lone '%' where a batch file uses its parameters; Windows keeps it.
    EXPECT_EQ(WithoutPercent(expected), WithoutPercent(ReadFileOnceItHasLines(got, started)));
}

}  // namespace
