// Both ways of each byte scan find the same first byte wherever it stands, and the program takes
// the SSE2 way where the processor has it.
#include "lib/byte_scan.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ByteScan, BothWaysFindTheFirstHitAtEveryPositionAndLength) {
    for (size_t length = 0; length <= 40; ++length) {
        for (size_t at = 0; at <= length; ++at) {
            SCOPED_TRACE("length " + std::to_string(length) + ", hit at " + std::to_string(at));
            for (char special : {'\n', '\r', '\x08', '\x05'}) {
                std::string text(length, 'L');
                if (at < length) text[at] = special;
                if (at + 1 < length) text[at + 1] = special;  // only the first of two counts
                const char* p = text.data();
                EXPECT_EQ(p + at, bytescan::FindLineOrControlPortable(p, p + length));
                EXPECT_EQ(p + at, bytescan::FindLineOrControlSse2(p, p + length));
                const char* want = at < length ? p + at : nullptr;
                EXPECT_EQ(want, bytescan::FindBytePortable(p, length, special));
                EXPECT_EQ(want, bytescan::FindByteSse2(p, length, special));
            }
        }
    }
}

TEST(ByteScan, HighBytesAndNearMissesAreNotHits) {
    // Bytes 0x80-0xFF (Shift-JIS lead and trail bytes) and the neighbours of each special byte.
    std::string text;
    for (int c = 0x80; c <= 0xFF; ++c) text += static_cast<char>(c);
    text += "\x04\x06\x07\x09\x0B\x0C\x0E\x8D\x8A\x88\x85";
    const char* p = text.data();
    const char* end = p + text.size();
    EXPECT_EQ(nullptr, bytescan::FindBytePortable(p, text.size(), '\n'));
    EXPECT_EQ(nullptr, bytescan::FindByteSse2(p, text.size(), '\n'));
    EXPECT_EQ(end, bytescan::FindLineOrControlPortable(p, end));
    EXPECT_EQ(end, bytescan::FindLineOrControlSse2(p, end));
    EXPECT_EQ(p + 0x0A, bytescan::FindBytePortable(p, text.size(), '\x8A'));
    EXPECT_EQ(p + 0x0A, bytescan::FindByteSse2(p, text.size(), '\x8A'));
    EXPECT_EQ(IsProcessorFeaturePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE) != FALSE, bytescan::HasSse2());
}

}  // namespace
