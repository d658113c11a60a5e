// Help and the about box: the context help of the entry, environment and date macro dialogs (which
// controls ask HTML Help for a text popup, with which topic and help source), the help file's
// topics for every control with help, the help command, and the about box with its web link.
#include <algorithm>
#include <cstring>

#include "app/about_box.h"
#include "frame_fixture.h"

using namespace testing_support;

namespace {

BOOL CALLBACK CollectChildren(HWND child, LPARAM out) {
    reinterpret_cast<std::vector<HWND>*>(out)->push_back(child);
    return TRUE;
}

using HelpTest = FrameTest;

TEST_F(HelpTest, ControlsWithHelpShowTheirTopicOfTheHelpFileAndOthersNothing) {
    Start(IndexLine("C:\\a.log", "C:\\b.exe", "a"));
    char module[MAX_PATH];
    GetModuleFileNameA(nullptr, module, sizeof module);
    const std::string help = std::string(module, std::strrchr(module, '\\') + 1) + "Kelvora.chm";
    const std::pair<int, std::vector<int>> dialogs[] = {
        {IDM_ADDLIST, {IDOK, IDCANCEL, IDC_LOGFILENAME, IDC_LISTNAME, IDC_BROWSERNAME, IDC_BROWSE_LOG, IDC_OPEN_EDITOR, IDC_BROWSE_BROWSER}},
        {IDM_OPTION, {IDOK, IDCANCEL, IDC_BROWSE_EDITOR, IDC_DISPDATE, IDC_DISPMARK, IDC_MARKCHAR, IDC_SORT_NAME, IDC_SORT_NEW,
                      IDC_SORT_OLD, IDC_CHOOSEFONT, IDC_EDITORNAME, IDC_TABSTOP}},
        {IDM_DATEMACRO, {IDOK, IDCANCEL, IDC_MACRO_YEAR, IDC_MACRO_MON, IDC_MACRO_DAY, IDC_MACRO_AUTO}}};
    std::vector<int> topics = {551, 552, 553, 555, 556, 558, 559, 561};  // the cut settings dialog's
    for (const auto& d : dialogs) {
        HelpCalls().clear();
        std::string expected;
        Answer(d.first, [&](HWND dialog) {
            EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_CONTEXTHELP);
            std::vector<HWND> controls, others;
            for (int id : d.second) controls.push_back(GetDlgItem(dialog, id));
            EnumChildWindows(dialog, CollectChildren, reinterpret_cast<LPARAM>(&others));
            for (HWND other : others) {  // labels, group boxes and the rest ask for nothing
                if (std::count(d.second.begin(), d.second.end(), GetDlgCtrlID(other)) == 0) controls.push_back(other);
            }
            for (HWND control : controls) {
                HELPINFO info = {sizeof info, HELPINFO_WINDOW, GetDlgCtrlID(control), control, 0, {GetDlgCtrlID(control), 7}};
                SendMessageA(dialog, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
            }
            DialogDriver::Press(dialog, IDCANCEL);
        });
        std::string calls;
        for (const HelpCall& c : HelpCalls()) calls += std::to_string(c.command) + " " + std::to_string(c.popupId) + " " + std::to_string(c.at.x) + " " + c.file + "\n";
        for (int id : d.second) expected += std::to_string(HH_DISPLAY_TEXT_POPUP) + " " + std::to_string(id) + " " + std::to_string(id) + " " + help + "::/popup.txt\n";
        EXPECT_EQ(expected, calls);
        topics.insert(topics.end(), d.second.begin(), d.second.end());
    }
    const std::string popups = "\r\n" + ReadFileBytes(EnvPath("KELVORA_BINARY_DIR") + "\\src\\resources\\help\\popup.txt");
    for (int id : topics) EXPECT_NE(std::string::npos, popups.find("\r\n.topic " + std::to_string(id) + "\r\n")) << id;
    HelpCalls().clear();
    Command(IDM_HELP);
    ASSERT_EQ(1u, HelpCalls().size());
    EXPECT_EQ(std::to_string(HH_DISPLAY_TOPIC) + " " + help, std::to_string(HelpCalls()[0].command) + " " + HelpCalls()[0].file);
}

TEST_F(HelpTest, AboutBoxLinkOpensThePageAsOftenAsItIsClickedAndAloneShowsTheHand) {
    // The shell opens https pages with the fake browser for as long as this test runs.
    char previous[MAX_PATH] = "";
    LONG size = sizeof previous;
    RegQueryValueA(HKEY_CLASSES_ROOT, "https\\shell\\open\\command", previous, &size);
    const std::string command = "\"" + browser_ + "\" %1";
    RegSetValueA(HKEY_CLASSES_ROOT, "https\\shell\\open\\command", REG_SZ, command.c_str(), static_cast<DWORD>(command.size()));
    Start("");
    std::string linkText;
    HCURSOR overLink = nullptr, overText = nullptr;
    bool open = false;
    const auto boxes = Answer(IDM_ABOUT, [&](HWND dialog) {
        HWND link = GetDlgItem(dialog, IDC_ABOUT_LINK);
        linkText = DialogDriver::WindowText(link);
        for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}) SendMessageA(link, message, 0, MAKELPARAM(3, 3));
        PumpMessages(20);
        open = IsWindow(dialog) != FALSE;
        std::vector<HWND> children;  // the frame, the product name, ..., the link and 了解
        EnumChildWindows(dialog, CollectChildren, reinterpret_cast<LPARAM>(&children));
        HWND text = *std::find_if(children.begin(), children.end(), [](HWND c) { return GetWindowTextLengthA(c) > 0; });
        SetCursor(nullptr);
        SendMessageA(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        overLink = GetCursor();
        SendMessageA(text, WM_SETCURSOR, reinterpret_cast<WPARAM>(text), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        overText = GetCursor();
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
    });
    const std::string started = Started(2);
    RegSetValueA(HKEY_CLASSES_ROOT, "https\\shell\\open\\command", REG_SZ, previous, static_cast<DWORD>(lstrlenA(previous)));
    EXPECT_EQ(Sjis(u8"バージョン情報"), boxes.at(0).caption);
    EXPECT_TRUE(open);
    char page[261] = "";
    LoadStringA(GetModuleHandleA(nullptr), IDS_WEBPAGE, page, sizeof page);
    EXPECT_EQ(page, linkText);
    const std::string line = started.substr(0, started.find('\n') + 1);
    EXPECT_TRUE(line.find(page) != std::string::npos && started == line + line) << started;  // the page, twice
    const HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), "CURSOR");
    EXPECT_TRUE(hand && hand == overLink && hand != overText);
}

}  // namespace
