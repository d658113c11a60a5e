#include "lib/services/program_files.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "lib/core/path_text.h"
#include "resources/resource_ids.h"

namespace {

// A string of the table, at most 63 characters; empty when it is missing.
void LoadName(HINSTANCE instance, UINT id, char out[64]) {
    if (LoadStringA(instance, id, out, 64) <= 0) out[0] = '\0';
}

}  // namespace

bool ModuleFilePath(HMODULE module, char out[MAX_PATH]) {
    DWORD length = GetModuleFileNameA(module, out, MAX_PATH);
    if (length > 0 && length < MAX_PATH) return true;
    out[0] = '\0';  // a cut path would name another file
    return false;
}

void BuildDataFolder(HINSTANCE instance, char out[MAX_PATH]) {
    out[0] = '\0';
    char appData[MAX_PATH] = "";
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData))) return;
    char sub[64];
    LoadName(instance, IDS_DATAFOLDER, sub);
    int n = std::snprintf(out, MAX_PATH, "%s%s", appData, sub);
    if (n < 0 || n >= MAX_PATH) out[0] = '\0';
}

void BuildDefaultIndexPath(HINSTANCE instance, char out[MAX_PATH]) {
    char folder[MAX_PATH];
    BuildDataFolder(instance, folder);
    out[0] = '\0';
    if (folder[0] == '\0') return;
    char file[64];
    LoadName(instance, IDS_INDEXFILE, file);
    int n = std::snprintf(out, MAX_PATH, "%s%s", folder, file);
    if (n < 0 || n >= MAX_PATH) out[0] = '\0';
}

void FreeIndexPath(HINSTANCE instance, char out[MAX_PATH]) {
    BuildDefaultIndexPath(instance, out);
    if (!out[0] || GetFileAttributesA(out) == INVALID_FILE_ATTRIBUTES) return;
    char taken[MAX_PATH];
    lstrcpynA(taken, out, MAX_PATH);
    // The number goes before the extension of the file name (a dot in a folder name is none).
    const char* name = std::strrchr(taken, '\\');
    const char* dot = std::strrchr(name ? name : taken, '.');
    const int stem = static_cast<int>(dot ? dot - taken : std::strlen(taken));
    for (int n = 2; n < 1000; ++n) {
        int length = std::snprintf(out, MAX_PATH, "%.*s%d%s", stem, taken, n, taken + stem);
        if (length < 0 || length >= MAX_PATH) break;
        if (GetFileAttributesA(out) == INVALID_FILE_ATTRIBUTES) return;
    }
    out[0] = '\0';
}

void HelpFilePath(HINSTANCE instance, char out[MAX_PATH]) {
    char folder[MAX_PATH];
    ModuleFilePath(instance, folder);
    pathtext::FolderOf(folder, folder);  // keeps the trailing backslash
    char file[64] = "";
    LoadStringA(instance, IDS_HELPFILE, file, sizeof file);
    int written = std::snprintf(out, MAX_PATH, "%s%s", folder, file);
    if (written < 0 || written >= MAX_PATH) out[0] = '\0';
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
