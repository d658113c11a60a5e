#include "dialogs/entry_dialog.h"

#include <string>
#include <vector>

#include "dialogs/context_help.h"
#include "dialogs/dialog_fields.h"
#include "dialogs/entry_rules.h"
#include "lib/core/byte_text.h"
#include "lib/core/local_time.h"
#include "lib/services/common_dialogs.h"
#include "lib/services/dialog_slot.h"
#include "lib/services/program_files.h"
#include "loglist/command_host.h"
#include "loglist/date_macros.h"
#include "loglist/index_file.h"
#include "loglist/list_menu.h"
#include "resources/resource_ids.h"
#include "settings/environ.h"
#include "settings/pmessage.h"

namespace {

constexpr int kHelpTable[] = {IDOK,           IDCANCEL,        IDC_LOGFILENAME,   IDC_LISTNAME, IDC_BROWSERNAME,
                              IDC_BROWSE_LOG, IDC_OPEN_EDITOR, IDC_BROWSE_BROWSER};

// The add, edit and drop variants are one kind of dialog: one showing at a time.
DialogSlot<DlgEditBase> slot;

}  // namespace

void SetLogFileNameField(HWND dialog, const char* text) {
    char field[kLogFileNameSize];
    bytetext::CopyToField(field, sizeof field, text);
    SetDlgItemTextA(dialog, IDC_LOGFILENAME, field);
}

DlgEditBase::DlgEditBase(CommandHost& host) : host_(host) {}

DlgEditBase::~DlgEditBase() = default;

bool DlgEditBase::Apply(HWND) { return true; }

bool DlgEditBase::InitFields(HWND) { return true; }

bool DlgEditBase::Show(DLGPROC proc) {
    return slot.ShowModal(host_.Instance(), "EDITLISTBOX", host_.Window(), proc, *this) == 1;
}

INT_PTR DlgEditBase::Dispatch(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return slot.Dispatch(dialog, message, wParam, lParam, Handle);
}

INT_PTR DlgEditBase::Handle(DlgEditBase& self, HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return self.OnInitDialog(dialog);
    case WM_COMMAND: return self.OnCommand(dialog, wParam);
    case WM_HELP: return ContextHelpPopup(dialog, reinterpret_cast<const HELPINFO*>(lParam), kHelpTable);
    }
    return FALSE;
}

INT_PTR DlgEditBase::OnInitDialog(HWND dialog) {
    SetWindowLongPtrA(dialog, GWL_EXSTYLE, GetWindowLongPtrA(dialog, GWL_EXSTYLE) | WS_EX_CONTEXTHELP);
    char caption[81] = "";
    LoadStringA(host_.Instance(), CaptionId(), caption, sizeof caption);
    SetWindowTextA(dialog, caption);

    HWND combo = GetDlgItem(dialog, IDC_BROWSERNAME);
    for (const std::string& browser : LoadBrowserHistory(host_.Instance())) {
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(browser.c_str()));
    }
    // What the user sees is what the entry keeps.
    SendDlgItemMessageA(dialog, IDC_LOGFILENAME, EM_LIMITTEXT, kLogFileNameSize - 1, 0);
    SendDlgItemMessageA(dialog, IDC_LISTNAME, EM_LIMITTEXT, kListNameSize - 1, 0);
    SendMessageA(combo, CB_LIMITTEXT, kBrowserNameSize - 1, 0);

    if (!InitFields(dialog)) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    SetFocus(GetDlgItem(dialog, IDC_LOGFILENAME));
    return FALSE;  // the focus is set
}

INT_PTR DlgEditBase::OnCommand(HWND dialog, WPARAM wParam) {
    // The whole wParam: only clicks, Enter and Escape match, never an edit's notification.
    switch (wParam) {
    case IDOK:
        if (Apply(dialog)) EndDialog(dialog, 1);
        return TRUE;
    case IDCANCEL: EndDialog(dialog, 0); return TRUE;
    case IDC_BROWSE_LOG: BrowseLogFile(dialog); return TRUE;
    case IDC_BROWSE_BROWSER: BrowseBrowser(dialog); return TRUE;
    case IDC_OPEN_EDITOR: OpenInEditor(dialog); return TRUE;
    }
    return FALSE;
}

void DlgEditBase::BrowseLogFile(HWND dialog) {
    std::string filter =
        BuildFilter(host_.Instance(), {{IDS_FILTER_LOG, "*.log"}, {IDS_FILTER_TXT, "*.txt"}, {IDS_FILTER_ALL, "*.*"}});
    char path[MAX_PATH] = "";
    if (ChooseFileToOpen(dialog, host_.Instance(), IDS_LOGFILE_TITLE, filter, 0, path))
        SetLogFileNameField(dialog, path);
    SetFocus(GetDlgItem(dialog, IDC_LOGFILENAME));
}

void DlgEditBase::BrowseBrowser(HWND dialog) {
    std::string filter = BuildFilter(host_.Instance(), {{IDS_FILTER_EXE, "*.exe"}});
    char path[MAX_PATH] = "";
    if (ChooseFileToOpen(dialog, host_.Instance(), IDS_BROWSER_TITLE, filter, 0, path)) {
        SetDlgItemTextA(dialog, IDC_BROWSERNAME, path);
    }
    SetFocus(GetDlgItem(dialog, IDC_BROWSERNAME));
}

void DlgEditBase::OpenInEditor(HWND dialog) {
    const Environ& settings = host_.Settings();
    const PMessage& messages = host_.Messages();
    char logFileName[kLogFileNameSize];
    ReadField(dialog, IDC_LOGFILENAME, logFileName, sizeof logFileName);
    if (!logFileName[0]) {
        messages.ShowMessage(dialog, kMsgEditorNoLogFile);
        return;
    }
    // Without an editor the shell would only fail; say what is missing, as the editor command does.
    if (!settings.GetEditor()[0]) {
        messages.ShowMessage(dialog, kMsgNoEditor);
        return;
    }
    char expanded[MAX_PATH];
    ExpandDateMacros(logFileName, expanded, settings);
    if (!StartProgram(dialog, settings.GetEditor(), expanded)) {
        messages.ShowMessage(dialog, kMsgEditorFailed);
        return;
    }
    SetFocus(GetDlgItem(dialog, IDC_LISTNAME));
}

bool DlgEditBase::ReadEntry(HWND dialog, LogEntry* entry) {
    *entry = LogEntry();
    ReadField(dialog, IDC_LOGFILENAME, entry->LogFileName, sizeof entry->LogFileName);
    ReadField(dialog, IDC_LISTNAME, entry->ListName, sizeof entry->ListName);
    ReadField(dialog, IDC_BROWSERNAME, entry->BrowserName, sizeof entry->BrowserName);
    // New and edited entries alike count as read now: unread once their log is written later.
    entry->SeenTime = LocalNowAsFileTime();
    RefreshFileStatus(entry, MacroTextsOf(host_.Settings()));

    const PMessage& messages = host_.Messages();
    int field = 0;
    switch (CheckEntryFields(entry->LogFileName, entry->ListName, entry->BrowserName)) {
    case EntryProblem::None: return true;
    case EntryProblem::NoLogFile:
        messages.ShowMessage(dialog, kMsgNoLogFile);
        field = IDC_LOGFILENAME;
        break;
    case EntryProblem::NoListName:
        messages.ShowMessage(dialog, kMsgNoListName);
        field = IDC_LISTNAME;
        break;
    case EntryProblem::NoBrowser:
        messages.ShowMessage(dialog, kMsgNoBrowser);
        field = IDC_BROWSERNAME;
        break;
    case EntryProblem::Comma:
        messages.ShowMessageByIds(dialog, CaptionId(), IDS_ERR_COMMA, MB_OK | MB_ICONEXCLAMATION);
        field = !IsStorableIndexField(entry->LogFileName) ? IDC_LOGFILENAME
                : !IsStorableIndexField(entry->ListName)  ? IDC_LISTNAME
                                                          : IDC_BROWSERNAME;
        break;
    }
    SetFocus(GetDlgItem(dialog, field));
    return false;
}

void DlgEditBase::Commit(int row, const char* browserName) {
    // The command reloads the list after the dialog; these arrive once it is done.
    HWND control = host_.List().Control();
    PostMessageA(control, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    PostMessageA(host_.Window(), WM_COMMAND, MAKEWPARAM(IDC_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(control));

    std::vector<std::string> history = LoadBrowserHistory(host_.Instance());
    UpdateHistory(&history, browserName);
    SaveBrowserHistory(host_.Instance(), history);
}

UINT DlgEditList::CaptionId() const { return IDS_CAP_EDITLIST; }

bool DlgEditList::InitFields(HWND dialog) {
    const ListMenu& list = host_.List();
    const PMessage& messages = host_.Messages();
    int selected = list.GetSelection();
    if (selected < 0) {
        messages.ShowMessage(host_.Window(), kMsgEditNoSelection);
        return false;
    }
    LogEntry entry;
    if (list.GetEntry(selected, &entry) < 0) {
        messages.ShowMessage(host_.Window(), kMsgGetEntryFailed);
        return false;
    }
    SetDlgItemTextA(dialog, IDC_LOGFILENAME, entry.LogFileName);
    SetDlgItemTextA(dialog, IDC_LISTNAME, entry.ListName);
    SetDlgItemTextA(dialog, IDC_BROWSERNAME, entry.BrowserName);
    return true;
}

bool DlgEditList::Apply(HWND dialog) {
    LogEntry entry;
    if (!ReadEntry(dialog, &entry)) return false;
    ListMenu& list = host_.List();
    const PMessage& messages = host_.Messages();
    int selected = list.GetSelection();
    LogEntry previous;
    if (selected < 0 || list.GetEntry(selected, &previous) < 0) {
        messages.ShowMessage(dialog, kMsgApplyNoSelection);
        return true;
    }
    if (list.DeleteEntry(selected) < 0) {
        messages.ShowMessage(dialog, kMsgApplyDeleteFailed);
        return true;
    }
    int row = list.AddEntry(entry);
    if (row < 0) {
        // The list is written after the dialog: without this the old entry would be lost from the file.
        list.AddEntry(previous);
        messages.ShowMessage(dialog, kMsgApplyAddFailed);
        return true;
    }
    Commit(row, entry.BrowserName);
    return true;
}

UINT DlgAddList::CaptionId() const { return IDS_CAP_ADDLIST; }

bool DlgAddList::Apply(HWND dialog) {
    LogEntry entry;
    if (!ReadEntry(dialog, &entry)) return false;
    int row = host_.List().AddEntry(entry);
    if (row < 0) {
        host_.Messages().ShowMessage(dialog, kMsgApplyAddFailed);
        return true;
    }
    Commit(row, entry.BrowserName);
    return true;
}

extern "C" INT_PTR WINAPI EditListDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return DlgEditBase::Dispatch(dialog, message, wParam, lParam);
}

extern "C" INT_PTR WINAPI AddListDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return DlgEditBase::Dispatch(dialog, message, wParam, lParam);
}
