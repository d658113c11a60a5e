#include "lib/services/proc_boundary.h"

#include "resources/resource_ids.h"

void ReportAbandoned(HWND window) {
    static volatile LONG showing = 0;  // the worker thread reports too
    if (InterlockedExchange(&showing, 1)) return;
    // The strings of the module that holds this code, also when another program uses its exports.
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ReportAbandoned), &module);
    char text[256] = "";
    char caption[81] = "";
    LoadStringA(module, IDS_ERR_ABANDONED, text, sizeof text);
    LoadStringA(module, IDS_TITLE, caption, sizeof caption);
    MessageBoxA(window ? GetAncestor(window, GA_ROOT) : nullptr, text, caption, MB_OK | MB_ICONHAND);
    InterlockedExchange(&showing, 0);
}
