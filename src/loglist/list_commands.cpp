// The main window's commands that act on the log list, and the steps that every command which
// changes the list ends with.
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
#include "loglist/list_context.h"
#include "loglist/list_menu.h"
#include "resources/resource_ids.h"
#include "settings/environ.h"
#include "settings/pmessage.h"

namespace list_commands {

void RewriteAndReload(ListContext& context, int row) {
    ListMenu* list = context.List();
    if (!list) return;
    if (list->SaveList() || list->LoadFailed()) list->LoadList();
    list->Select(row);
    context.RefreshStatusBar();
}

void RewriteAndReload(ListContext& context) {
    if (ListMenu* list = context.List()) RewriteAndReload(context, list->GetSelection());
}

bool LoadAndSelectFirst(ListContext& context) {
    ListMenu* list = context.List();
    if (!list->LoadList()) return false;
    SetFocus(list->Control());
    list->Select(0);
    context.RefreshStatusBar();
    return true;
}

void Sort(ListContext& context, int order) {
    context.Settings().SetSortList(order);
    context.Settings().Save();
    RewriteAndReload(context);
}

void DeleteSelected(ListContext& context) {
    HWND owner = context.Owner();
    const PMessage& messages = context.Messages();
    if (messages.ShowMessageByIds(owner, IDS_CAP_DELETELIST, IDS_ASK_DELETE, MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK) {
        return;
    }
    ListMenu* list = context.List();
    int selected = list->GetSelection();
    if (selected < 0) {
        messages.ShowMessage(owner, kMsgDeleteNoLogFile);
        return;
    }
    if (list->DeleteEntry(selected) < 0) {
        messages.ShowMessage(owner, kMsgDeleteFailed);
        return;
    }
    // Written, not read again: the rows stay as they are and the commands as they were.
    list->SaveList();
    list->Select(selected);  // past the last row this leaves no row selected
    context.RefreshStatusBar();
}

void LaunchSelected(ListContext& context, bool editor) {
    HWND owner = context.Owner();
    const PMessage& messages = context.Messages();
    ListMenu* list = context.List();
    const int failed = editor ? kMsgEditorFailed : kMsgBrowserFailed;
    int selected = list->GetSelection();
    if (selected < 0) {
        if (!editor) messages.ShowMessage(owner, kMsgBrowserFailed);
        return;
    }
    LogEntry entry;
    if (list->GetEntry(selected, &entry) < 0) {
        messages.ShowMessage(owner, failed);
        return;
    }
    if (entry.FileTime.dwHighDateTime == 0) {
        messages.ShowMessageByIds(owner, IDS_CAP_BROWSER, IDS_LOG_MISSING, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const char* program = editor ? context.Settings().GetEditor() : entry.BrowserName;
    if (editor && program[0] == '\0') {
        messages.ShowMessage(owner, kMsgNoEditor);
        return;
    }
    char name[MAX_PATH];
    ExpandDateMacros(entry.LogFileName, name, context.Settings());
    if (!StartProgram(owner, program, name)) {
        messages.ShowMessage(owner, failed);
        return;
    }
    // Only the row changes: the new SeenTime reaches the file with the next write.
    entry.SeenTime = LocalNowAsFileTime();
    int row = -1;
    if (list->DeleteEntry(selected) >= 0) row = list->AddEntry(entry);
    if (row < 0) {
        messages.ShowMessage(owner, kMsgUpdateFailed);
        return;
    }
    list->Select(row);
    InvalidateRect(list->Control(), nullptr, TRUE);
}

void OpenIndexFile(ListContext& context) {
    HWND owner = context.Owner();
    const PMessage& messages = context.Messages();
    std::string filter =
        BuildFilter(context.Instance(), {{IDS_OPENLIST_FILTER_DAT, "*.dat"}, {IDS_OPENLIST_FILTER_KVD, "*.kvd"}});
    char path[MAX_PATH];
    lstrcpynA(path, context.Settings().GetIndex(), sizeof path);
    if (!ChooseFileToOpen(owner, context.Instance(), IDS_OPENLIST_TITLE, filter, 0, path)) return;

    ListMenu* list = context.List();
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
    if (list->Changed() && !list->SaveList() && !list->LoadFailed()) return;
    if (!exists) {
        OwnedFile created(CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_ARCHIVE, nullptr));
        if (!created) {
            messages.ShowMessage(owner, kMsgIndexCreateFailed);
            return;
        }
    }
    // The chosen file, or the new empty one the user asked for, becomes the current list. LoadList
    // enables the entry commands when the file holds entries, and tells a failure.
    context.Settings().SetIndex(path);
    LoadAndSelectFirst(context);
}

void ShowHelp(ListContext& context) {
    char path[MAX_PATH];
    HelpFilePath(context.Instance(), path);
    CallHtmlHelp(context.Owner(), path, HH_DISPLAY_TOPIC, 0);
}

}  // namespace list_commands
