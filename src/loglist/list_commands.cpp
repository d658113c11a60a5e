// The main window's commands that act on the log list, and the list-side steps they share.
#include "loglist/list_commands.h"

#include <commdlg.h>
#include <htmlhelp.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/html_help.h"
#include "app/kelvora_frame.h"
#include "app/main_window.h"
#include "lib/file_reader.h"
#include "lib/strings_paths.h"
#include "loglist/date_macros.h"
#include "loglist/list_menu.h"
#include "resources/resource_ids.h"
#include "settings/pmessage.h"

namespace list_commands {

namespace {

std::string LoadText(HINSTANCE instance, UINT id) {
    char text[257] = "";
    LoadStringA(instance, id, text, sizeof text);
    return text;
}

}  // namespace

FILETIME LocalNow() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    FILETIME t = {};
    SystemTimeToFileTime(&now, &t);
    return t;
}

std::string ProgramArgument(const char* fileName) {
    // Neither a blank nor '"' is ever the second byte of a double-byte character.
    const size_t length = std::strlen(fileName);
    const bool quoted = length >= 2 && fileName[0] == '"' && fileName[length - 1] == '"';
    if (quoted || !std::strpbrk(fileName, " \t")) return fileName;
    return std::string("\"") + fileName + "\"";
}

void HelpFilePath(char out[MAX_PATH]) {
    char folder[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, folder, sizeof folder);
    GetPathName(folder, folder);  // keeps the trailing backslash
    int n = std::snprintf(out, MAX_PATH, "%s%s", folder, "Kelvora.chm");
    if (n < 0 || n >= MAX_PATH) out[0] = '\0';
}

void RewriteAndReload(KelvoraFrame& frame) {
    ListMenu* list = frame.List();
    if (!list) return;
    int selected = list->GetSelection();
    // After a failed write the rows hold the only copy of their changes, so they are not read
    // over; after a failed load there is nothing to keep and the load is tried again.
    if (!list->SaveList() && !list->LoadFailed()) return;
    list->LoadList();
    list->Select(selected);
    UpdateStatusBar(frame);
}

void FinishEntryDialog(KelvoraFrame& frame, bool confirmed) {
    ListMenu* list = frame.List();
    if (!confirmed || !list || !list->SaveList()) return;
    list->LoadList();
    list->EnableEntryCommands();
}

bool LoadAndSelectFirst(KelvoraFrame& frame) {
    ListMenu* list = frame.List();
    if (!list->LoadList()) return false;
    SetFocus(list->Control());
    list->Select(0);
    UpdateStatusBar(frame);
    return true;
}

void Sort(KelvoraFrame& frame, int order) {
    frame.Settings().SetSortList(order);
    frame.Settings().Save();
    RewriteAndReload(frame);
}

void DeleteSelected(KelvoraFrame& frame) {
    HWND owner = frame.MainWindow();
    if (frame.Messages().ShowMessageByIds(owner, IDS_CAP_DELETELIST, IDS_ASK_DELETE,
                                          MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK) {
        return;
    }
    ListMenu* list = frame.List();
    int selected = list->GetSelection();
    if (selected < 0) {
        frame.Messages().ShowMessage(owner, kMsgDeleteNoLogFile);
        return;
    }
    if (list->DeleteEntry(selected) < 0) {
        frame.Messages().ShowMessage(owner, kMsgDeleteFailed);
        return;
    }
    list->SaveList();
    list->Select(selected);  // past the last row this leaves no row selected
    UpdateStatusBar(frame);
}

void LaunchSelected(KelvoraFrame& frame, bool editor) {
    HWND owner = frame.MainWindow();
    ListMenu* list = frame.List();
    const int failed = editor ? kMsgEditorFailed : kMsgBrowserFailed;
    int selected = list->GetSelection();
    if (selected < 0) {
        if (!editor) frame.Messages().ShowMessage(owner, kMsgBrowserFailed);
        return;
    }
    LogEntry entry;
    if (list->GetEntry(selected, &entry) < 0) {
        frame.Messages().ShowMessage(owner, failed);
        return;
    }
    if (entry.FileTime.dwHighDateTime == 0) {
        frame.Messages().ShowMessageByIds(owner, IDS_CAP_BROWSER, IDS_LOG_MISSING, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const char* program = editor ? frame.Settings().GetEditor() : entry.BrowserName;
    if (editor && program[0] == '\0') {
        frame.Messages().ShowMessage(owner, kMsgNoEditor);
        return;
    }
    char name[MAX_PATH];
    ExpandDateMacros(entry.LogFileName, name, frame.Settings());
    HINSTANCE result = ShellExecuteA(owner, nullptr, program, ProgramArgument(name).c_str(), ".", SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(result) <= 32) {
        frame.Messages().ShowMessage(owner, failed);
        return;
    }
    entry.SeenTime = LocalNow();
    int row = -1;
    if (list->DeleteEntry(selected) >= 0) row = list->AddEntry(entry);
    if (row < 0) {
        frame.Messages().ShowMessage(owner, kMsgUpdateFailed);
        return;
    }
    list->Select(row);
    InvalidateRect(list->Control(), nullptr, TRUE);
}

void OpenIndexFile(KelvoraFrame& frame) {
    HWND owner = frame.MainWindow();
    HINSTANCE instance = frame.Instance();
    std::string filter = LoadText(instance, IDS_OPENLIST_FILTER_DAT);
    filter.append(1, '\0').append("*.dat").append(1, '\0');
    filter.append(LoadText(instance, IDS_OPENLIST_FILTER_KVD));
    filter.append(1, '\0').append("*.kvd").append(1, '\0').append(1, '\0');
    std::string title = LoadText(instance, IDS_OPENLIST_TITLE);
    char path[MAX_PATH];
    lstrcpynA(path, frame.Settings().GetIndex(), sizeof path);

    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = path;
    ofn.nMaxFile = sizeof path;
    ofn.lpstrTitle = title.c_str();
    ofn.Flags = OFN_HIDEREADONLY;
    if (!GetOpenFileNameA(&ofn)) return;

    ListMenu* list = frame.List();
    const bool exists = CheckFile(path) != 0;
    if (!exists && frame.Messages().ShowMessageByIds(owner, IDS_OPENLIST_TITLE, IDS_ASK_CREATEINDEX,
                                                     MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
        return;
    }
    // Changes since the last write (a browser started, say) reach the current file first.
    if (!list->SaveList() && !list->LoadFailed()) return;
    if (exists) {
        frame.Settings().SetIndex(path);
        // LoadList has enabled the entry commands when the file holds entries, and told a failure.
        LoadAndSelectFirst(frame);
        return;
    }
    {
        OwnedFile created(CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_ARCHIVE, nullptr));
        if (!created) {
            frame.Messages().ShowMessage(owner, kMsgIndexCreateFailed);
            return;
        }
    }
    // The user asked for a new list: it becomes the current one, empty.
    frame.Settings().SetIndex(path);
    LoadAndSelectFirst(frame);
}

void ShowHelp(KelvoraFrame& frame) {
    char path[MAX_PATH];
    HelpFilePath(path);
    CallHtmlHelp(frame.MainWindow(), path, HH_DISPLAY_TOPIC, 0);
}

}  // namespace list_commands
