// The cut against the reference script: the cases that tests/cut/reference_check.sh generates.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "cut/cut_engine.h"
#include "lib/owned.h"
#include "test_env.h"

using namespace testing_support;

namespace {

TEST(CutReference, GivesTheReferenceBytesForEveryGeneratedCase) {
    char raw[4] = "";
    if (!GetEnvironmentVariableA("KELVORA_CUT_CASES", raw, sizeof raw)) GTEST_SKIP() << "run by reference_check.sh";
    const std::string dir = EnvPath("KELVORA_CUT_CASES") + "\\";
    TempFolder work;
    const std::string outPath = work.File("out.txt");
    int cases = 0;
    int failures = 0;
    for (int i = 0;; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "%05d", i);
        const std::string base = dir + name;
        if (GetFileAttributesA((base + ".log").c_str()) == INVALID_FILE_ATTRIBUTES) break;
        ++cases;
        CutTable table;
        ASSERT_EQ(CutTableLoad::Ready, LoadCutTable((base + ".cut").c_str(), &table));
        CutHost host;
        CutEngine engine(table, CutOptions{}, host);
        bool changed = false;
        {
            OwnedFile in(CreateFileA((base + ".log").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
            OwnedFile out(CreateFileA(outPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
            ASSERT_TRUE(in && out);
            ASSERT_TRUE(engine.CutStream(in.Get(), out.Get(), &changed));
        }
        const std::string result = ReadFileBytes(changed ? outPath : base + ".log");
        if (result != ReadFileBytes(base + ".exp")) {
            ADD_FAILURE() << "case " << name << " differs (changed " << changed << ")";
            if (++failures == 10) break;
        }
    }
    EXPECT_GE(cases, 1000);
    // One whole run through the work file and the copy back, on a copy of the first case with changes.
    for (int i = 0; i < cases; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "%05d", i);
        const std::string base = dir + name;
        const std::string log = ReadFileBytes(base + ".log");
        const std::string expected = ReadFileBytes(base + ".exp");
        if (log == expected) continue;
        const std::string copy = work.File("copy.log");
        WriteFileBytes(copy, log);
        CutTable table;
        LoadCutTable((base + ".cut").c_str(), &table);
        CutHost host;
        CutEngine engine(table, CutOptions{}, host);
        EXPECT_TRUE(engine.ProcessFile(copy.c_str()));
        EXPECT_TRUE(ReadFileBytes(copy) == expected) << name;
        break;
    }
}

}  // namespace
