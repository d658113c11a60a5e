// Help and the about box: the context help of the entry, environment and date macro dialogs (which
// controls ask HTML Help for a text popup, with which topic and help source), the help file's
// topics for every control with help, the help command, and the about box with its web link.
#include <algorithm>
#include <cstring>

#include "app/about_box.h"
#include "frame_fixture.h"

using namespace testing_support;

namespace {

// The dialog procedure's answer does not come back through SendMessage: only the help calls tell.
void AskHelp(HWND dialog, HWND control) {
    HELPINFO info = {};
    info.cbSize = sizeof info;
    info.iContextType = HELPINFO_WINDOW;
    info.iCtrlId = GetDlgCtrlID(control);
    info.hItemHandle = control;
    info.MousePos = {GetDlgCtrlID(control), 7};
    SendMessageA(dialog, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
}

BOOL CALLBACK CollectStatics(HWND child, LPARAM out) {
    char cls[32] = "";
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") == 0) reinterpret_cast<std::vector<HWND>*>(out)->push_back(child);
    return TRUE;
}

// A topic's text in popup.txt (code page 932, CR LF line ends, a blank line after each topic).
std::string Topic(const std::string& file, int id) {
    const std::string head = ".topic " + std::to_string(id) + "\r\n";
    size_t at = ("\r\n" + file).find("\r\n" + head);
    if (at == std::string::npos) return "";
    at += head.size();
    return file.substr(at, file.find("\r\n\r\n", at) - at);
}

std::vector<std::string> shellCalls;

HINSTANCE WINAPI RecordShell(HWND, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show) {
    shellCalls.push_back(std::string(verb) + " " + file + " " + (parameters ? parameters : "-") + " " + directory + " " +
                         std::to_string(show));
    return reinterpret_cast<HINSTANCE>(42);
}

using HelpTest = FrameTest;

TEST_F(HelpTest, ControlsWithHelpShowTheirTopicOfTheHelpFileAndOthersNothing) {
    Start(IndexLine("C:\\a.log", "C:\\b.exe", "a"));
    char module[MAX_PATH];
    GetModuleFileNameA(nullptr, module, sizeof module);
    const std::string source = std::string(module, std::strrchr(module, '\\') + 1) + "Kelvora.chm::/popup.txt";
    const struct {
        int command;
        std::vector<int> helped, silent;  // silent: group boxes; labels are found by their class
    } dialogs[] = {{IDM_ADDLIST,
                    {IDOK, IDCANCEL, IDC_LOGFILENAME, IDC_LISTNAME, IDC_BROWSERNAME, IDC_BROWSE_LOG, IDC_OPEN_EDITOR,
                     IDC_BROWSE_BROWSER},
                    {}},
                   {IDM_OPTION,
                    {IDOK, IDCANCEL, IDC_BROWSE_EDITOR, IDC_DISPDATE, IDC_DISPMARK, IDC_MARKCHAR, IDC_SORT_NAME, IDC_SORT_NEW,
                     IDC_SORT_OLD, IDC_CHOOSEFONT, IDC_EDITORNAME, IDC_TABSTOP},
                    {IDC_GRP_DISPLAY, IDC_GRP_SORT, IDC_GRP_FONT, IDC_GRP_TAB, IDC_GRP_EDITOR}},
                   {IDM_DATEMACRO, {IDOK, IDCANCEL, IDC_MACRO_YEAR, IDC_MACRO_MON, IDC_MACRO_DAY, IDC_MACRO_AUTO}, {}}};
    std::vector<int> topics = {551, 552, 553, 555, 556, 558, 559, 561};  // the cut settings dialog's
    for (const auto& d : dialogs) {
        SCOPED_TRACE(d.command);
        HelpCalls().clear();
        std::vector<HWND> quiet;
        DialogDriver driver;
        driver.Expect([&](HWND dialog) {
            EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_CONTEXTHELP);
            for (int id : d.helped) AskHelp(dialog, GetDlgItem(dialog, id));
            for (int id : d.silent) quiet.push_back(GetDlgItem(dialog, id));
            EnumChildWindows(dialog, CollectStatics, reinterpret_cast<LPARAM>(&quiet));
            for (HWND control : quiet) AskHelp(dialog, control);
            DialogDriver::Press(dialog, IDCANCEL);
        });
        Command(d.command);
        EXPECT_GT(quiet.size(), d.silent.size());
        ASSERT_EQ(d.helped.size(), HelpCalls().size());
        for (size_t i = 0; i < d.helped.size(); ++i) {
            const HelpCall& call = HelpCalls()[i];
            EXPECT_EQ((std::vector<UINT>{HH_DISPLAY_TEXT_POPUP, static_cast<UINT>(d.helped[i]), static_cast<UINT>(d.helped[i])}),
                      (std::vector<UINT>{call.command, call.popupId, static_cast<UINT>(call.at.x)}));
            EXPECT_EQ(source, call.file);
        }
        topics.insert(topics.end(), d.helped.begin(), d.helped.end());
    }
    // Each has Japanese text in code page 932: it converts without error and holds double-byte characters.
    const std::string popups = ReadFileBytes(EnvPath("KELVORA_BINARY_DIR") + "\\src\\resources\\help\\popup.txt");
    EXPECT_EQ(std::count(popups.begin(), popups.end(), '\n'), std::count(popups.begin(), popups.end(), '\r'));
    for (int id : topics) {
        const std::string text = Topic(popups, id);
        const int wide = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0);
        EXPECT_TRUE(text.size() > 10 && wide > 0 && wide < static_cast<int>(text.size())) << "topic " << id;
    }

    HelpCalls().clear();
    Command(IDM_HELP);  // the help file beside the program, with both files in it
    ASSERT_EQ(1u, HelpCalls().size());
    EXPECT_EQ(static_cast<UINT>(HH_DISPLAY_TOPIC), HelpCalls()[0].command);
    EXPECT_EQ(source.substr(0, source.find("::")), HelpCalls()[0].file);
    const std::string exe = EnvPath("KELVORA_EXE"), chm = ReadFileBytes(exe.substr(0, exe.rfind('\\') + 1) + "Kelvora.chm");
    EXPECT_EQ("ITSF", chm.substr(0, 4));
    EXPECT_TRUE(chm.find("/index.html") != std::string::npos && chm.find("/popup.txt") != std::string::npos);
}

TEST_F(HelpTest, AboutBoxEndsWithEnterEscapeOrCloseAndItsLinkOpensThePageAsOftenAsItIsClicked) {
    ShellExecuteFunction previous = SetLinkShellHook(RecordShell);
    shellCalls.clear();
    Start("");
    const std::pair<UINT, WPARAM> ends[] = {{WM_KEYDOWN, VK_RETURN}, {WM_KEYDOWN, VK_ESCAPE}, {WM_SYSCOMMAND, SC_CLOSE}};
    for (const auto& end : ends) {
        DialogDriver driver;  // a box that did not end would fail here
        driver.Expect([&](HWND dialog) { PostMessageA(end.first == WM_SYSCOMMAND ? dialog : GetFocus(), end.first, end.second, 0); });
        Command(IDM_ABOUT);
        EXPECT_EQ(Sjis(u8"バージョン情報"), driver.Shown().at(0).caption);
    }
    EXPECT_TRUE(shellCalls.empty());
    std::string linkText;
    HCURSOR overLink = nullptr, overText = nullptr;
    bool open = false;
    DialogDriver driver;
    driver.Expect([&](HWND dialog) {
        HWND link = GetDlgItem(dialog, IDC_ABOUT_LINK);
        linkText = DialogDriver::WindowText(link);
        for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}) SendMessageA(link, message, 0, MAKELPARAM(3, 3));
        PumpMessages(20);
        open = IsWindow(dialog) != FALSE;
        std::vector<HWND> statics;  // the frame, the icon, the texts and the link
        EnumChildWindows(dialog, CollectStatics, reinterpret_cast<LPARAM>(&statics));
        HWND text = *std::find_if(statics.begin(), statics.end(), [link](HWND s) { return s != link && GetWindowTextLengthA(s) > 0; });
        SetCursor(nullptr);
        SendMessageA(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        overLink = GetCursor();
        SendMessageA(text, WM_SETCURSOR, reinterpret_cast<WPARAM>(text), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        overText = GetCursor();
        DialogDriver::Press(dialog, IDOK);
    });
    Command(IDM_ABOUT);
    SetLinkShellHook(previous);
    EXPECT_TRUE(open);
    char page[261] = "";
    LoadStringA(GetModuleHandleA(nullptr), IDS_WEBPAGE, page, sizeof page);
    EXPECT_EQ(page, linkText);
    EXPECT_EQ(std::vector<std::string>(2, std::string("open ") + page + " - . " + std::to_string(SW_SHOWNORMAL)), shellCalls);
    const HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), "CURSOR");
    EXPECT_TRUE(hand && hand == overLink && hand != overText);
}

}  // namespace
