#include "lib/services/html_help.h"

namespace {

HWND WINAPI SystemHtmlHelp(HWND caller, LPCSTR file, UINT command, DWORD_PTR data) {
    static HtmlHelpFunction fn = [] {
        // The library stays loaded for the life of the process; ordinal 14 is HtmlHelpA.
        HMODULE module = LoadLibraryA("hhctrl.ocx");
        return module ? reinterpret_cast<HtmlHelpFunction>(
                            reinterpret_cast<void*>(GetProcAddress(module, MAKEINTRESOURCEA(14))))
                      : nullptr;
    }();
    return fn ? fn(caller, file, command, data) : nullptr;
}

}  // namespace

Seam<HtmlHelpFunction> htmlHelpSeam(SystemHtmlHelp);

HWND CallHtmlHelp(HWND caller, LPCSTR file, UINT command, DWORD_PTR data) {
    return htmlHelpSeam.Current()(caller, file, command, data);
}
