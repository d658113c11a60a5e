// The cut against the reference script: the cases that tests/cut/reference_check.sh generates.
#include <gtest/gtest.h>

#include <cstdio>

#include "cut/cut_engine.h"
#include "lib/core/owned.h"
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
    for (;; ++cases) {
        char name[16];
        std::snprintf(name, sizeof name, "%05d", cases);
        const std::string base = dir + name;
        OwnedFile in(
            CreateFileA((base + ".log").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        if (!in) break;
        CutTable table;
        ASSERT_EQ(CutTableLoad::Ready, LoadCutTable((base + ".cut").c_str(), &table));
        CutHost host;
        CutEngine engine(table, CutOptions{}, host);
        bool changed = false;
        {
            OwnedFile out(CreateFileA(outPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
            ASSERT_TRUE(out);
            ASSERT_TRUE(engine.CutStream(in.Get(), out.Get(), &changed));
        }
        // An unchanged log is left as it was, line ends and all: the whole run is CutFileTest's.
        if (ReadFileBytes(changed ? outPath : base + ".log") != ReadFileBytes(base + ".exp")) {
            ADD_FAILURE() << "case " << name << " differs (changed " << changed << ")";
            if (++failures == 10) break;
        }
    }
    EXPECT_GE(cases, 1000);
}

}  // namespace
