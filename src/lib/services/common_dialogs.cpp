#include "lib/services/common_dialogs.h"

#include <cstring>

Seam<OpenFileFunction> openFileSeam(GetOpenFileNameA);
Seam<ChooseFontFunction> chooseFontSeam(ChooseFontA);

std::string BuildFilter(HINSTANCE instance, std::initializer_list<FileFilter> filters) {
    std::string out;
    for (const FileFilter& f : filters) {
        char text[128] = "";
        LoadStringA(instance, f.textId, text, sizeof text);
        out.append(text).append(1, '\0').append(f.pattern).append(1, '\0');
    }
    out.append(1, '\0');
    return out;
}

bool ChooseFileToOpen(HWND owner, HINSTANCE instance, UINT titleId, const std::string& filter, DWORD extraFlags,
                      char path[MAX_PATH]) {
    char title[81] = "";
    LoadStringA(instance, titleId, title, sizeof title);
    char chosen[MAX_PATH];
    lstrcpynA(chosen, path, sizeof chosen);
    OPENFILENAMEA ofn = {};
    // The size without the later extension fields: the dialog looks the same on every system.
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = owner;
    ofn.hInstance = instance;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = chosen;
    ofn.nMaxFile = sizeof chosen;
    ofn.lpstrTitle = title;
    ofn.Flags = OFN_HIDEREADONLY | extraFlags;
    BOOL ok = openFileSeam.Current()(&ofn);
    if (!ok || chosen[0] == '\0') return false;
    chosen[MAX_PATH - 1] = '\0';
    std::memcpy(path, chosen, MAX_PATH);
    return true;
}

bool ChooseListFont(HWND owner, LOGFONTA* font, COLORREF* color) {
    LOGFONTA working = *font;
    CHOOSEFONTA cf = {};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = owner;
    cf.lpLogFont = &working;
    cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS;
    cf.rgbColors = *color;
    cf.nFontType = SCREEN_FONTTYPE;
    BOOL ok = chooseFontSeam.Current()(&cf);
    if (!ok) return false;
    *font = working;
    *color = cf.rgbColors;
    return true;
}
