// Lengths, the list font and the toolbar images at 100 to 300 %, and the resampling of the toolbar strips.
#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <utility>
#include <vector>

#include "lib/services/dpi.h"
#include "resources/resource_ids.h"

namespace {

struct DpiCase {
    UINT dpi;
    int scaled13;  // 13 at 96 DPI
    int strip;     // the toolbar strip's resource
    SIZE source;   // an image in it
    SIZE target;   // an image on the toolbar: 26 x 20 at 96 DPI
};

void PrintTo(const DpiCase& c, std::ostream* out) { *out << c.dpi << " DPI"; }

class AtDpi : public testing::TestWithParam<DpiCase> {};

std::pair<LONG, LONG> Pair(SIZE size) { return {size.cx, size.cy}; }

LOGFONTA Font(LONG height, LONG width) {
    LOGFONTA font = {};
    font.lfHeight = height;
    font.lfWidth = width;
    font.lfWeight = FW_BOLD;
    font.lfCharSet = SHIFTJIS_CHARSET;
    lstrcpyA(font.lfFaceName, "\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E");  // ＭＳ ゴシック
    return font;
}

TEST_P(AtDpi, CreatesTheStoredFontScaledAndKeepsTheRest) {
    for (LONG sign : {-1, 1}) {  // a character height, a cell height
        const LOGFONTA expected = Font(sign * GetParam().scaled13, GetParam().target.cx);
        const LOGFONTA created = FontForDpi(Font(sign * 13, 26), GetParam().dpi);
        EXPECT_EQ(memcmp(&created, &expected, sizeof created), 0) << created.lfHeight << " " << created.lfWidth;
    }
}

TEST_P(AtDpi, TakesTheToolbarStripDrawnAtOrAboveTheDpi) {
    const ToolbarImages images = ToolbarImagesForDpi(GetParam().dpi);
    EXPECT_EQ(images.resource, GetParam().strip);
    EXPECT_EQ(Pair(images.source), Pair(GetParam().source));
    EXPECT_EQ(Pair(images.target), Pair(GetParam().target));  // with halves rounded away from zero
}

INSTANTIATE_TEST_SUITE_P(From100To300Percent, AtDpi,
                         testing::Values(DpiCase{96, 13, IDB_TOOLBAR, {26, 20}, {26, 20}},
                                         DpiCase{120, 16, IDB_TOOLBAR_125, {33, 25}, {33, 25}},  // 32.5
                                         DpiCase{144, 20, IDB_TOOLBAR_150, {39, 30}, {39, 30}},  // 19.5
                                         DpiCase{168, 23, IDB_TOOLBAR_200, {52, 40}, {46, 35}},  // 45.5
                                         DpiCase{192, 26, IDB_TOOLBAR_200, {52, 40}, {52, 40}},
                                         DpiCase{288, 39, IDB_TOOLBAR_200, {52, 40}, {78, 60}}));

constexpr DWORD kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF, kBlack = 0xFF000000;

struct ResampleCase {  // at most 6 pixels each way
    int fromWidth, fromHeight;
    DWORD from[6];
    int width, height;
    DWORD expected[6];
};

class Resample : public testing::TestWithParam<ResampleCase> {};

TEST_P(Resample, AveragesTheCoveredAreaWeightedByAlpha) {
    const ResampleCase& c = GetParam();
    const Picture from = {c.fromWidth, c.fromHeight, {c.from, c.from + c.fromWidth * c.fromHeight}};
    const Picture to = ResamplePicture(from, c.width, c.height);
    EXPECT_EQ(std::make_pair(to.width, to.height), std::make_pair(c.width, c.height));
    EXPECT_EQ(to.pixels, std::vector<DWORD>(c.expected, c.expected + c.width * c.height));
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, Resample,
    testing::Values(ResampleCase{2, 2, {kRed, 0, 0, 0}, 1, 1, {0x40FF0000}},  // a clear pixel adds no black
                    ResampleCase{6, 1, {kRed, kRed, kRed, kBlue, kBlue, kBlue}, 4, 1, {kRed, kRed, kBlue, kBlue}},
                    ResampleCase{3, 1, {kWhite, kBlack, kWhite}, 2, 1, {0xFFAAAAAA, 0xFFAAAAAA}},
                    ResampleCase{1, 1, {kBlue}, 2, 3, {kBlue, kBlue, kBlue, kBlue, kBlue, kBlue}}));

}  // namespace
