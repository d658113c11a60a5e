#include "loglist/list_commands.h"

#include <htmlhelp.h>

#include <string>

#include "lib/core/files.h"
#include "lib/core/local_time.h"
#include "lib/services/common_dialogs.h"
#include "lib/services/html_help.h"
#include "lib/services/program_files.h"
#include "loglist/date_macros.h"
#include "loglist/index_file.h"
#include "loglist/command_host.h"
#include "loglist/list_menu.h"
#include "resources/resource_ids.h"
#include "settings/environ.h"
#include "settings/pmessage.h"

namespace list_commands {
namespace {

// Where every command that read, added or deleted rows ends: the rows' logs are followed, and row
// is selected and shown in the status bar.
void ShowRows(CommandHost& host, int row) {
    host.RowsChanged();
    host.List().Select(row);
    host.RefreshStatusBar();
}

}  // namespace

void RewriteAndReload(CommandHost& host, int row) {
    ListMenu& list = host.List();
    if (list.SaveList() || list.LoadFailed()) list.LoadList();
    ShowRows(host, row);
}

void RewriteAndReload(CommandHost& host) { RewriteAndReload(host, host.List().GetSelection()); }

bool LoadAndSelectFirst(CommandHost& host) {
    ListMenu& list = host.List();
    if (!list.LoadList()) {
        host.RowsChanged();  // what the failed load left
        return false;
    }
    SetFocus(list.Control());
    ShowRows(host, 0);
    return true;
}

void Sort(CommandHost& host, int order) {
    host.Settings().SetSortList(order);
    host.Settings().Save();
    RewriteAndReload(host);
}

void DeleteSelected(CommandHost& host) {
    HWND owner = host.Window();
    const PMessage& messages = host.Messages();
    const int answer =
        messages.ShowMessageByIds(owner, IDS_CAP_DELETELIST, IDS_ASK_DELETE, MB_OKCANCEL | MB_ICONEXCLAMATION);
    if (answer != IDOK) return;
    ListMenu& list = host.List();
    int selected = list.GetSelection();
    if (selected < 0) {
        messages.ShowMessage(owner, kMsgDeleteNoLogFile);
        return;
    }
    if (list.DeleteEntry(selected) < 0) {
        messages.ShowMessage(owner, kMsgDeleteFailed);
        return;
    }
    // Written, not read again: the rows stay as they are and the commands as they were. Past the
    // last row no row is selected.
    list.SaveList();
    ShowRows(host, selected);
}

void LaunchSelected(CommandHost& host, bool editor) {
    HWND owner = host.Window();
    const PMessage& messages = host.Messages();
    ListMenu& list = host.List();
    const int failed = editor ? kMsgEditorFailed : kMsgBrowserFailed;
    int selected = list.GetSelection();
    if (selected < 0) {
        if (!editor) messages.ShowMessage(owner, kMsgBrowserFailed);
        return;
    }
    LogEntry entry;
    if (list.GetEntry(selected, &entry) < 0) {
        messages.ShowMessage(owner, failed);
        return;
    }
    if (entry.FileTime.dwHighDateTime == 0) {
        messages.ShowMessageByIds(owner, IDS_CAP_BROWSER, IDS_LOG_MISSING, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const char* program = editor ? host.Settings().GetEditor() : entry.BrowserName;
    if (editor && program[0] == '\0') {
        messages.ShowMessage(owner, kMsgNoEditor);
        return;
    }
    char name[MAX_PATH];
    ExpandDateMacros(entry.LogFileName, name, host.Settings());
    if (!StartProgram(owner, program, name)) {
        messages.ShowMessage(owner, failed);
        return;
    }
    // Only the row changes: the new SeenTime reaches the file with the next write.
    entry.SeenTime = LocalNowAsFileTime();
    int row = -1;
    if (list.DeleteEntry(selected) >= 0) row = list.AddEntry(entry);
    if (row < 0) {
        messages.ShowMessage(owner, kMsgUpdateFailed);
        return;
    }
    list.Select(row);
    InvalidateRect(list.Control(), nullptr, TRUE);
}

void OpenIndexFile(CommandHost& host) {
    HWND owner = host.Window();
    const PMessage& messages = host.Messages();
    std::string filter =
        BuildFilter(host.Instance(), {{IDS_OPENLIST_FILTER_DAT, "*.dat"}, {IDS_OPENLIST_FILTER_KVD, "*.kvd"}});
    char path[MAX_PATH];
    lstrcpynA(path, host.Settings().GetIndex(), sizeof path);
    if (!ChooseFileToOpen(owner, host.Instance(), IDS_OPENLIST_TITLE, filter, 0, path)) return;

    ListMenu& list = host.List();
    const bool exists = fileops::Exists(path);
    if (exists) {
        // A file that is not a list, or that cannot be read, is not taken: the current list and
        // Index stay as they are.
        const IndexRead read = CheckIndexFile(path);
        if (read == IndexRead::NotAList) {
            messages.ShowFileMessage(owner, IDS_CAP_OPENLIST, IDS_ERR_NOTALIST, MB_OK | MB_ICONEXCLAMATION, path);
            return;
        }
        if (read != IndexRead::Read) {
            messages.ShowFileMessage(owner, kMsgListReadFailed, path);
            return;
        }
    } else if (messages.ShowMessageByIds(owner, IDS_OPENLIST_TITLE, IDS_ASK_CREATEINDEX,
                                         MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
        return;
    }
    // Changes since the last read or write (a browser started, say) reach the current file first.
    if (list.Changed() && !list.SaveList() && !list.LoadFailed()) return;
    if (!exists) {
        OwnedFile created(CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_ARCHIVE, nullptr));
        if (!created) {
            messages.ShowMessage(owner, kMsgIndexCreateFailed);
            return;
        }
    }
    // The chosen file, or the new empty one the user asked for, becomes the current list. LoadList
    // enables the entry commands when the file holds entries, and tells a failure.
    host.Settings().SetIndex(path);
    LoadAndSelectFirst(host);
}

void ShowHelp(CommandHost& host) {
    char path[MAX_PATH];
    HelpFilePath(host.Instance(), path);
    CallHtmlHelp(host.Window(), path, HH_DISPLAY_TOPIC, 0);
}

}  // namespace list_commands
