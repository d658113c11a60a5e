// The main window's commands that act on the log list, and the steps that every command which
// changes the list ends with.
#include "loglist/list_commands.h"

#include <htmlhelp.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "lib/core/files.h"
#include "lib/core/path_text.h"
#include "lib/services/common_dialogs.h"
#include "lib/services/html_help.h"
#include "loglist/date_macros.h"
#include "loglist/index_file.h"
#include "loglist/list_context.h"
#include "loglist/list_menu.h"
#include "resources/resource_ids.h"
#include "settings/environ.h"
#include "settings/pmessage.h"

namespace list_commands {

FILETIME LocalNow() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    FILETIME t = {};
    SystemTimeToFileTime(&now, &t);
    return t;
}

std::string ProgramArgument(const char* fileName) {
    // No file name holds a '"', which is never the second byte of a double-byte character either:
    // quotes typed around or inside a name go, so that none can end the quoting below early.
    std::string name;
    for (const char* p = fileName; *p; ++p) {
        if (*p != '"') name += *p;
    }
    // A browser that is a batch file gets its parameter through cmd.exe, which would end the
    // command at '&' or '|' and run the rest, or split the name at a blank, ',', ';' or '='. Inside
    // quotes they are plain text. (A second byte that looks like '|' or '^' only adds quotes.)
    if (name.find_first_of(" \t&|<>^%!(),;=") == std::string::npos) return name;
    return "\"" + name + "\"";
}

bool StartProgram(HWND owner, const char* program, const char* fileName) {
    HINSTANCE started = ShellExecuteA(owner, nullptr, program, ProgramArgument(fileName).c_str(), ".", SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(started) > 32;
}

void HelpFilePath(HINSTANCE instance, char out[MAX_PATH]) {
    char folder[MAX_PATH] = "";
    DWORD n = GetModuleFileNameA(instance, folder, sizeof folder);
    if (n == 0 || n >= sizeof folder) folder[0] = '\0';
    pathtext::FolderOf(folder, folder);  // keeps the trailing backslash
    char file[64] = "";
    LoadStringA(instance, IDS_HELPFILE, file, sizeof file);
    int written = std::snprintf(out, MAX_PATH, "%s%s", folder, file);
    if (written < 0 || written >= MAX_PATH) out[0] = '\0';
}

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
    entry.SeenTime = LocalNow();
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
