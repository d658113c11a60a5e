// Context help of the entry, environment and date macro dialogs: which controls ask HTML Help for a
// text popup, with which topic and help source; group boxes and labels ask for nothing.
#include <gtest/gtest.h>

#include "frame_fixture.h"
#include "dialogs/context_help.h"
#include "resources/resource_ids.h"

using namespace testing_support;

namespace {

struct HelpCase {
    const char* name;
    int command;
    std::vector<int> helped;
    std::vector<int> silent;  // group boxes; labels are found by their class
};

class ContextHelpTest : public FrameTest, public testing::WithParamInterface<HelpCase> {};

// The dialog procedure's answer does not come back through SendMessage: only the help calls tell.
void AskHelp(HWND dialog, HWND control, POINT at) {
    HELPINFO info = {};
    info.cbSize = sizeof info;
    info.iContextType = HELPINFO_WINDOW;
    info.iCtrlId = GetDlgCtrlID(control);
    info.hItemHandle = control;
    info.MousePos = at;
    SendMessageA(dialog, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
}

BOOL CALLBACK CollectLabels(HWND child, LPARAM out) {
    char cls[32] = "";
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") == 0) reinterpret_cast<std::vector<HWND>*>(out)->push_back(child);
    return TRUE;
}

TEST_P(ContextHelpTest, ControlsOfTheTableShowTheirPopupAndOthersNothing) {
    Start(IndexLine("C:\\a.log", "C:\\b.exe", "a"));
    size_t afterHelped = 0;
    size_t labels = 0;
    DialogDriver driver;
    driver.Expect([&](HWND dialog) {
        EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_CONTEXTHELP);
        for (int id : GetParam().helped) AskHelp(dialog, GetDlgItem(dialog, id), POINT{id, 7});
        afterHelped = HelpCalls().size();
        std::vector<HWND> quiet;
        for (int id : GetParam().silent) quiet.push_back(GetDlgItem(dialog, id));
        EnumChildWindows(dialog, CollectLabels, reinterpret_cast<LPARAM>(&quiet));
        labels = quiet.size() - GetParam().silent.size();
        for (HWND control : quiet) AskHelp(dialog, control, POINT{1, 1});
        DialogDriver::Press(dialog, IDCANCEL);
    });
    Command(GetParam().command);

    EXPECT_GT(labels, 0u);
    EXPECT_EQ(GetParam().helped.size(), afterHelped);
    ASSERT_EQ(GetParam().helped.size(), HelpCalls().size());
    char source[MAX_PATH + 32];
    BuildPopupSource(GetModuleHandleA(nullptr), source);
    for (size_t i = 0; i < HelpCalls().size(); ++i) {
        const HelpCall& call = HelpCalls()[i];
        EXPECT_EQ(static_cast<UINT>(HH_DISPLAY_TEXT_POPUP), call.command);
        EXPECT_EQ(static_cast<UINT>(GetParam().helped[i]), call.popupId);
        EXPECT_EQ(GetParam().helped[i], call.at.x);
        EXPECT_EQ(source, call.file);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, ContextHelpTest,
    testing::Values(HelpCase{"Entry",
                             IDM_ADDLIST,
                             {IDOK, IDCANCEL, IDC_LOGFILENAME, IDC_LISTNAME, IDC_BROWSERNAME, IDC_BROWSE_LOG,
                              IDC_OPEN_EDITOR, IDC_BROWSE_BROWSER},
                             {}},
                    HelpCase{"Environment",
                             IDM_OPTION,
                             {IDOK, IDCANCEL, IDC_BROWSE_EDITOR, IDC_DISPDATE, IDC_DISPMARK, IDC_MARKCHAR,
                              IDC_SORT_NAME, IDC_SORT_NEW, IDC_SORT_OLD, IDC_CHOOSEFONT, IDC_EDITORNAME, IDC_TABSTOP},
                             {IDC_GRP_DISPLAY, IDC_GRP_SORT, IDC_GRP_FONT, IDC_GRP_TAB, IDC_GRP_EDITOR}},
                    HelpCase{"DateMacro",
                             IDM_DATEMACRO,
                             {IDOK, IDCANCEL, IDC_MACRO_YEAR, IDC_MACRO_MON, IDC_MACRO_DAY, IDC_MACRO_AUTO},
                             {}}),
    [](const testing::TestParamInfo<HelpCase>& info) { return info.param.name; });

TEST(PopupSourceTest, IsTheHelpFileBesideTheProgramWithThePopupFile) {
    char source[MAX_PATH + 32];
    BuildPopupSource(GetModuleHandleA(nullptr), source);
    char module[MAX_PATH];
    GetModuleFileNameA(nullptr, module, sizeof module);
    std::string folder = module;
    folder.erase(folder.rfind('\\') + 1);
    EXPECT_EQ(folder + "Kelvora.chm::/popup.txt", source);
}

}  // namespace
