// Watches for the next popup menu on this thread, records it and closes it or picks an item.
#include "menu_watcher.h"

namespace testing_support {
namespace {
MenuWatcher* watching = nullptr;
constexpr UINT kMenuGetHandle = 0x01E1;  // MN_GETHMENU
}  // namespace

MenuWatcher::MenuWatcher(char key) : key_(key) {
    watching = this;
    timer_ = SetTimer(nullptr, 0, 30, Tick);
}

MenuWatcher::~MenuWatcher() {
    KillTimer(nullptr, timer_);
    watching = nullptr;
}

void CALLBACK MenuWatcher::Tick(HWND, UINT, UINT_PTR, DWORD) {
    MenuWatcher* self = watching;
    if (!self || self->menu_.shown) return;
    HWND window = FindWindowA("#32768", nullptr);
    if (!window || !IsWindowVisible(window)) {
        if (++self->ticks_ > 200) EndMenu();  // never wait for ever
        return;
    }
    self->menu_.shown = true;
    GetWindowRect(window, &self->menu_.rect);
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(window, kMenuGetHandle, 0, 0));
    for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
        char text[128] = "";
        GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        self->menu_.texts.push_back(text);
        self->menu_.ids.push_back(GetMenuItemID(menu, i));
    }
    if (self->key_) {
        PostMessageA(window, WM_CHAR, static_cast<BYTE>(self->key_), 0);
    } else {
        EndMenu();
    }
}

}  // namespace testing_support
