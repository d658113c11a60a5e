// Help: the context help of the entry, environment and date macro dialogs (which controls ask HTML
// Help for a text popup, with which topic and help source), the topics of the help file's popup.txt
// for every control with help, and the help command showing the help file beside the program.
#include <gtest/gtest.h>

#include <algorithm>

#include "frame_fixture.h"
#include "resources/resource_ids.h"

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

BOOL CALLBACK CollectLabels(HWND child, LPARAM out) {
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

using HelpTest = FrameTest;

TEST_F(HelpTest, ControlsWithHelpShowTheirTopicOfTheHelpFileAndOthersNothing) {
    Start(IndexLine("C:\\a.log", "C:\\b.exe", "a"));
    const std::string exe = EnvPath("KELVORA_EXE"), folder = exe.substr(0, exe.rfind('\\') + 1);
    const std::string popups = ReadFileBytes(EnvPath("KELVORA_BINARY_DIR") + "\\src\\resources\\help\\popup.txt");
    EXPECT_EQ(std::count(popups.begin(), popups.end(), '\n'), std::count(popups.begin(), popups.end(), '\r'));
    char module[MAX_PATH];
    GetModuleFileNameA(nullptr, module, sizeof module);
    const std::string source = std::string(module).substr(0, std::string(module).rfind('\\') + 1) + "Kelvora.chm::/popup.txt";
    const struct {
        int command;
        std::vector<int> helped;
        std::vector<int> silent;  // group boxes; labels are found by their class
    } dialogs[] = {
        {IDM_ADDLIST,
         {IDOK, IDCANCEL, IDC_LOGFILENAME, IDC_LISTNAME, IDC_BROWSERNAME, IDC_BROWSE_LOG, IDC_OPEN_EDITOR, IDC_BROWSE_BROWSER},
         {}},
        {IDM_OPTION,
         {IDOK, IDCANCEL, IDC_BROWSE_EDITOR, IDC_DISPDATE, IDC_DISPMARK, IDC_MARKCHAR, IDC_SORT_NAME, IDC_SORT_NEW,
          IDC_SORT_OLD, IDC_CHOOSEFONT, IDC_EDITORNAME, IDC_TABSTOP},
         {IDC_GRP_DISPLAY, IDC_GRP_SORT, IDC_GRP_FONT, IDC_GRP_TAB, IDC_GRP_EDITOR}},
        {IDM_DATEMACRO, {IDOK, IDCANCEL, IDC_MACRO_YEAR, IDC_MACRO_MON, IDC_MACRO_DAY, IDC_MACRO_AUTO}, {}},
        {0, {551, 552, 553, 555, 556, 558, 559, 561}, {}}};  // the cut settings: only their topics here
    for (const auto& d : dialogs) {
        SCOPED_TRACE(d.command);
        HelpCalls().clear();
        size_t labels = 0;
        DialogDriver driver;
        if (d.command) driver.Expect([&](HWND dialog) {
            EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_CONTEXTHELP);
            for (int id : d.helped) AskHelp(dialog, GetDlgItem(dialog, id));
            std::vector<HWND> quiet;
            for (int id : d.silent) quiet.push_back(GetDlgItem(dialog, id));
            EnumChildWindows(dialog, CollectLabels, reinterpret_cast<LPARAM>(&quiet));
            labels = quiet.size() - d.silent.size();
            for (HWND control : quiet) AskHelp(dialog, control);
            DialogDriver::Press(dialog, IDCANCEL);
        });
        if (d.command) Command(d.command);
        EXPECT_TRUE(labels > 0 || !d.command);
        ASSERT_EQ(d.command ? d.helped.size() : 0, HelpCalls().size());
        for (size_t i = 0; i < HelpCalls().size(); ++i) {
            const HelpCall& call = HelpCalls()[i];
            EXPECT_EQ(static_cast<UINT>(HH_DISPLAY_TEXT_POPUP), call.command);
            EXPECT_EQ(static_cast<UINT>(d.helped[i]), call.popupId);
            EXPECT_EQ(d.helped[i], call.at.x);
            EXPECT_EQ(source, call.file);
        }
        for (int id : d.helped) {
            // Japanese text in code page 932: it converts without error and holds double-byte characters.
            const std::string text = Topic(popups, id);
            const int wide = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0);
            EXPECT_TRUE(text.size() > 10 && wide > 0 && wide < static_cast<int>(text.size())) << "topic " << id;
        }
    }

    HelpCalls().clear();
    Command(IDM_HELP);
    ASSERT_EQ(1u, HelpCalls().size());
    EXPECT_EQ(static_cast<UINT>(HH_DISPLAY_TOPIC), HelpCalls()[0].command);
    EXPECT_EQ(source.substr(0, source.find("::")), HelpCalls()[0].file);
    const std::string chm = ReadFileBytes(folder + "Kelvora.chm");  // beside the program, with both files
    EXPECT_EQ("ITSF", chm.substr(0, 4));
    EXPECT_NE(std::string::npos, chm.find("/index.html"));
    EXPECT_NE(std::string::npos, chm.find("/popup.txt"));
}

}  // namespace
