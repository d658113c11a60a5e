// Watches for the next popup menu on this thread (a context menu runs its own modal loop),
// records its items and position, and closes it or picks an item by its mnemonic key.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

struct ShownMenu {
    bool shown = false;
    RECT rect = {};  // the menu window on the screen
    std::vector<std::string> texts;  // separators as ""
    std::vector<UINT> ids;
};

class MenuWatcher {
public:
    // key 0 closes the menu without a choice; otherwise the character is typed into it.
    explicit MenuWatcher(char key = 0);
    ~MenuWatcher();
    MenuWatcher(const MenuWatcher&) = delete;
    MenuWatcher& operator=(const MenuWatcher&) = delete;
    const ShownMenu& Menu() const { return menu_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    UINT_PTR timer_ = 0;
    char key_;
    int ticks_ = 0;
    ShownMenu menu_;
};

}  // namespace testing_support
