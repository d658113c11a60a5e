// The main window at the DPI of its screen: started at 96, 120, 144 and 192 DPI (each in a process of
// its own, which reads the screen's DPI when it starts), moved to a screen of another DPI, and what
// stays as it was stored. Also the about box's link.
#include <shlwapi.h>

#include <process.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "app/about_box.h"
#include "frame_fixture.h"
#include "lib/services/common_dialogs.h"
#include "lib/services/dpi.h"

using namespace testing_support;

namespace {

// The settings stored before each start: a list font of character height 16 and the window's place.
LOGFONTA StoredFont() {
    LOGFONTA font = {-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, VARIABLE_PITCH, ""};
    lstrcpyA(font.lfFaceName, Sjis("ＭＳ ゴシック").c_str());
    return font;
}
constexpr int kWindowRect[4] = {40, 30, 640, 480};

// 1 when the stored value is these bytes.
int Kept(const char* subKey, const char* name, const void* bytes, size_t size) {
    DWORD type = 0;
    std::string data;
    return ReadProgramValue(subKey, name, &type, &data) && data == std::string(static_cast<const char*>(bytes), size);
}

// The font dialog's answer: 12 points at the screen's DPI, as the system's font dialog gives it.
LONG offeredHeight = 0;
BOOL WINAPI ChooseTwelvePoints(LPCHOOSEFONTA cf) {
    offeredHeight = cf->lpLogFont->lfHeight;
    cf->lpLogFont->lfHeight = -MulDiv(12, static_cast<int>(SystemDpi()), 72);
    return TRUE;
}

// What grows with the DPI, by name.
using Sizes = std::map<std::string, long>;

class WindowDpiTest : public FrameTest {
protected:
    void StartWithStoredSettings() {
        const LOGFONTA font = StoredFont();
        WriteProgramValue("ListFont", "LogFont", REG_BINARY, &font, sizeof font);
        WriteProgramValue("Main", "WindowRect", REG_BINARY, kWindowRect, sizeof kWindowRect);
        Start(IndexLine(logs_.File("a.log"), browser_, "a|b") + IndexLine(logs_.File("c.log"), browser_, "c"));
    }
    Sizes Measure() const {
        const LRESULT button = SendMessageA(Main().Toolbar(), TB_GETBUTTONSIZE, 0, 0);
        int cx = 0, cy = 0;
        ImageList_GetIconSize(Images(TB_GETIMAGELIST), &cx, &cy);
        const Environ& e = frame_->Settings();
        // clang-format off
        return {{"button width", LOWORD(button)}, {"button height", HIWORD(button)}, {"image width", cx},
                {"image height", cy}, {"row height", RowHeight()}, {"list font height", FontMetrics(list_->Control()).tmHeight},
                {"status font height", FontMetrics(Main().StatusBar()).tmHeight}, {"first column stop", e.GetColumnStops()[0]},
                {"last column stop", e.GetColumnStops()[e.GetColumnStopCount() - 1]}};
        // clang-format on
    }
    HIMAGELIST Images(UINT message) const {
        return reinterpret_cast<HIMAGELIST>(SendMessageA(Main().Toolbar(), message, 0, 0));
    }
};

// Every size of to is between low and high times its size in from; names in capitals are no sizes.
void ExpectScaled(const Sizes& from, const Sizes& to, double low, double high) {
    for (const auto& [name, size] : from) {
        if (std::isupper(static_cast<unsigned char>(name[0]))) continue;
        const long scaled = to.count(name) ? to.at(name) : 0;
        EXPECT_TRUE(scaled >= low * size && scaled <= high * size) << name << ": " << size << " -> " << scaled;
    }
}

// ---- At the DPI the program starts at ----

// Run as the child of AtScreenDpi, in a process that started at the DPI the parent set: writes what
// the parent checks to the file KELVORA_DPI_REPORT, a value and a name a line.
TEST_F(WindowDpiTest, ReportsToTheTestsAtEachDpi) {
    const char* report = std::getenv("KELVORA_DPI_REPORT");
    if (!report || !*report) GTEST_SKIP() << "runs only as the child of the tests at each DPI";
    StartWithStoredSettings();
    Sizes sizes = Measure();
    Stop();
    const LOGFONTA font = StoredFont();
    sizes["LogFont kept"] = Kept("ListFont", "LogFont", &font, sizeof font);
    sizes["WindowRect kept"] = Kept("Main", "WindowRect", kWindowRect, sizeof kWindowRect);
    StartProgram();
    Seam<ChooseFontFunction>::Override chooser(chooseFontSeam, ChooseTwelvePoints);
    Answer(IDM_OPTION, IDOK, [](HWND dialog) { SendMessageA(dialog, WM_COMMAND, IDC_CHOOSEFONT, 0); });
    LOGFONTA stored;
    frame_->Settings().List().GetListFont(&stored);
    sizes["Offered"] = offeredHeight;
    sizes["Stored"] = stored.lfHeight;
    std::ofstream out(report, std::ios::binary);
    for (const auto& [name, value] : sizes) out << value << ' ' << name << '\n';
}

// Runs ReportsToTheTestsAtEachDpi in a new process, which reads the screen's DPI from the prefix's
// LogPixels as it starts; the value goes again after, which gives 96 DPI. The child's report; its own
// output shows its failures.
Sizes RunChildAt(DWORD dpi) {
    TempFolder folder;
    const std::string reportPath = folder.File("report.txt");
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    SHSetValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", REG_DWORD, &dpi, sizeof dpi);
    _putenv_s("KELVORA_DPI_REPORT", reportPath.c_str());
    const auto child = reinterpret_cast<HANDLE>(
        _spawnl(_P_NOWAIT, exe, exe, "--gtest_brief=1", "--gtest_filter=*ReportsToTheTestsAtEachDpi", nullptr));
    _putenv_s("KELVORA_DPI_REPORT", "");
    OwnedHandle process(child != INVALID_HANDLE_VALUE ? child : nullptr);
    DWORD exitCode = 1;
    if (process && WaitForSingleObject(child, 30000) != WAIT_OBJECT_0) TerminateProcess(child, 1);
    if (process) GetExitCodeProcess(child, &exitCode);
    SHDeleteValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels");
    EXPECT_EQ(0u, exitCode) << "the child at " << dpi << " DPI failed, did not end within 30 s or did not start";
    Sizes report;
    std::istringstream lines(ReadFileBytes(reportPath));
    long value;
    for (std::string name; lines >> value && std::getline(lines >> std::ws, name);) report[name] = value;
    return report;
}

// One run per DPI, shared by the tests of that DPI.
Sizes At(UINT dpi) {
    static std::map<UINT, Sizes> runs;
    if (!runs.count(dpi)) runs[dpi] = RunChildAt(dpi);
    return runs[dpi];
}

class AtScreenDpi : public testing::TestWithParam<UINT> {};

TEST_P(AtScreenDpi, ToolbarRowsFontsAndColumnsGrowWithTheDpi) {
    const double factor = GetParam() / 96.0;
    const Sizes at96 = At(96);
    ASSERT_EQ(at96.size(), 13u);
    ExpectScaled(at96, At(GetParam()), 0.95 * factor, 1.1 * factor);
}

// A window that opened elsewhere would have stored where it opened.
TEST_P(AtScreenDpi, OpensWhereItWasAndLeavesTheStoredFontAndRectangleAsTheyWere) {
    Sizes report = At(GetParam());
    EXPECT_EQ((std::vector<long>{1, 1}), (std::vector<long>{report["LogFont kept"], report["WindowRect kept"]}));
}

TEST_P(AtScreenDpi, EnvironmentDialogStoresAChosenFontAtItsHeightAt96) {
    Sizes report = At(GetParam());
    // The stored 16 is offered at the DPI; 12 points chosen there are 16 pixels at 96 DPI.
    EXPECT_EQ((std::vector<long>{MulDiv(16, GetParam(), 96), 16}),
              (std::vector<long>{report["Offered"], report["Stored"]}));
}

INSTANTIATE_TEST_SUITE_P(Prefix, AtScreenDpi, testing::Values(96u, 120u, 144u, 192u));

// ---- Moved to a screen of another DPI ----

void ChangeDpi(HWND window, UINT dpi, RECT suggested) {
    SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

TEST_F(WindowDpiTest, MovedFrom96To144TakesTheSuggestedRectangleAndRescalesAtOnce) {
    StartWithStoredSettings();
    const Sizes at96 = Measure();
    ChangeDpi(Main().Window(), 144, {60, 45, 1020, 765});
    ExpectScaled(at96, Measure(), 1.4, 1.65);
    RECT r = {};
    GetWindowRect(Main().Window(), &r);
    EXPECT_EQ((std::vector<LONG>{60, 45, 1020, 765}), (std::vector<LONG>{r.left, r.top, r.right, r.bottom}));
    EXPECT_EQ((std::vector<int>{14, 14}), (std::vector<int>{ImageList_GetImageCount(Images(TB_GETIMAGELIST)),
                                                            ImageList_GetImageCount(Images(TB_GETDISABLEDIMAGELIST))}));
}

TEST_F(WindowDpiTest, AboutBoxLinkIsTwelvePixelsHighAt96AndFollowsTheBoxToAnotherDpi) {
    DlgAbout about(GetModuleHandleA(nullptr));
    std::vector<LONG> heights;
    DialogDriver driver;
    driver.Expect([&](HWND box) {
        LOGFONTA font = {};
        heights.push_back(GetObjectA(about.LinkFont(), sizeof font, &font) ? font.lfHeight : 0);
        ChangeDpi(box, 144, {0, 0, 400, 200});
        heights.push_back(GetObjectA(about.LinkFont(), sizeof font, &font) ? font.lfHeight : 0);
        DialogDriver::Press(box, IDOK);
    });
    about.Show(nullptr);
    EXPECT_EQ((std::vector<LONG>{12, 18}), heights);
}

}  // namespace
