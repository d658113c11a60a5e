// HTML Help, loaded from hhctrl.ocx on first use. Tests replace the entry point to record calls.
#include "lib/services/html_help.h"

namespace {

HtmlHelpFunction hook = nullptr;

HtmlHelpFunction RealHtmlHelp() {
    static HtmlHelpFunction fn = [] {
        // The library stays loaded for the life of the process; ordinal 14 is HtmlHelpA.
        HMODULE module = LoadLibraryA("hhctrl.ocx");
        return module ? reinterpret_cast<HtmlHelpFunction>(
                            reinterpret_cast<void*>(GetProcAddress(module, MAKEINTRESOURCEA(14))))
                      : nullptr;
    }();
    return fn;
}

}  // namespace

HWND CallHtmlHelp(HWND caller, LPCSTR file, UINT command, DWORD_PTR data) {
    HtmlHelpFunction fn = hook ? hook : RealHtmlHelp();
    return fn ? fn(caller, file, command, data) : nullptr;
}

HtmlHelpFunction SetHtmlHelpHook(HtmlHelpFunction fn) {
    HtmlHelpFunction previous = hook;
    hook = fn;
    return previous;
}
