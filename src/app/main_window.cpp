#include "app/main_window.h"

#include <commctrl.h>
#include <htmlhelp.h>

#include <memory>

#include "app/commands.h"
#include "app/layout.h"
#include "app/status_text.h"
#include "dragdrop/drag_start.h"
#include "dragdrop/drop_files.h"
#include "dragdrop/list_proc.h"
#include "lib/core/files.h"
#include "lib/core/path_text.h"
#include "lib/services/html_help.h"
#include "lib/services/program_files.h"
#include "loglist/date_macros.h"
#include "loglist/list_commands.h"
#include "loglist/list_menu.h"
#include "loglist/live_list.h"
#include "resources/resource_ids.h"
#include "settings/environ.h"
#include "settings/pmessage.h"

namespace {

struct ToolbarEntry {
    int command;  // 0: separator
    int image;
    UINT tooltip;
};

constexpr ToolbarEntry kToolbar[] = {
    {0, 0, 0},
    {IDM_ADDLIST, 0, IDS_TIP_ADDLIST},
    {IDM_EDITLIST, 1, IDS_TIP_EDITLIST},
    {IDM_DELETELIST, 2, IDS_TIP_DELETELIST},
    {0, 0, 0},
    {IDM_CUT, 3, IDS_TIP_CUT},
    {0, 0, 0},
    {IDM_BROWSER, 4, IDS_TIP_BROWSER},
    {IDM_EDITOR, 5, IDS_TIP_EDITOR},
    {0, 0, 0},
    {IDM_SORTNAME, 6, IDS_TIP_SORTNAME},
    {IDM_SORTNEW, 7, IDS_TIP_SORTNEW},
    {IDM_SORTOLD, 8, IDS_TIP_SORTOLD},
    {0, 0, 0},
    {IDM_DATEMACRO, 9, IDS_TIP_DATEMACRO},
    {IDM_OPTION, 10, IDS_TIP_OPTION},
    {IDM_CUTOPTION, 11, IDS_TIP_CUTOPTION},
    {0, 0, 0},
    {IDM_EXIT, 12, IDS_TIP_EXIT},
    {0, 0, 0},
    {IDM_HELP, 13, IDS_TIP_HELP},
};
constexpr int kToolbarEntries = sizeof kToolbar / sizeof kToolbar[0];
static_assert(kToolbarEntries == 21, "the toolbar has 21 entries");

// Posted by the log watch; the timer that checks the date for the date macros.
constexpr UINT kLogsChanged = WM_APP + 1;
constexpr UINT_PTR kDayTimer = 1;

// How long a session-end message waits for a stopped cut's worker, which stops at its next line.
constexpr DWORD kSessionEndWaitMs = 300;

UINT TooltipOf(UINT_PTR command) {
    for (const ToolbarEntry& e : kToolbar) {
        if (e.command != 0 && static_cast<UINT_PTR>(e.command) == command) return e.tooltip;
    }
    return 0;
}

int WindowHeight(HWND w) {
    RECT r = {};
    GetWindowRect(w, &r);
    return r.bottom - r.top;
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, HWND window, Environ& settings, const PMessage& messages)
    : instance_(instance), window_(window), settings_(settings), messages_(messages) {}

MainWindow::~MainWindow() { cut_.Stop(); }

LRESULT MainWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    ListMenu* list = list_.get();
    switch (message) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_MOVE:
        if (!IsIconic(window_)) RememberWindowRect();
        return 0;
    case WM_SIZE: OnSize(message, wParam, lParam); return 0;
    case WM_DPICHANGED: OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam)); return 0;
    case WM_SETFOCUS:
        if (list) SetFocus(list->Control());
        return 0;
    case WM_CLOSE: OnClose(); return 0;
    case WM_QUERYENDSESSION: OnEndSession(); return TRUE;
    case WM_ENDSESSION:
        if (wParam) OnEndSession();
        return 0;
    case WM_MEASUREITEM:  // arrives while the list control is being created
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = settings_.List().RowHeightAt(dpi_);
        return 0;
    case WM_DRAWITEM:
        if (list) list->Draw(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return 0;
    case WM_COMPAREITEM: {
        if (!list) return 0;
        int order = list->Compare(*reinterpret_cast<COMPAREITEMSTRUCT*>(lParam));
        return order < 0 ? -1 : order > 0 ? 1 : 0;
    }
    case WM_NOTIFY: return OnNotify(lParam);
    case WM_CONTEXTMENU: OnContextMenu(lParam); return 0;
    case WM_COMMAND:  // no list, no command: ids can come from outside while the window starts or closes
        return list ? OnCommand(wParam, lParam) : DefWindowProcA(window_, message, wParam, lParam);
    case WM_MOUSEMOVE: {
        LRESULT result = list ? OnMouseMove(wParam, lParam) : 0;
        return result != 0 ? result : DefWindowProcA(window_, message, wParam, lParam);
    }
    case WM_LBUTTONDOWN:
        if (list) OnLeftButtonDown(lParam);
        return DefWindowProcA(window_, message, wParam, lParam);
    case WM_DROPFILES: return OnDrop(reinterpret_cast<HDROP>(wParam));
    case kLogsChanged:
    case WM_TIMER:
    case WM_TIMECHANGE: OnLogsOrClock(message, wParam); return 0;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

void MainWindow::OnCreate() {
    dpi_ = WindowDpi(window_);
    TBBUTTON buttons[kToolbarEntries] = {};
    for (int i = 0; i < kToolbarEntries; ++i) {
        buttons[i].iBitmap = kToolbar[i].command ? kToolbar[i].image : 0;
        buttons[i].idCommand = kToolbar[i].command;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = kToolbar[i].command ? TBSTYLE_BUTTON : TBSTYLE_SEP;
    }
    toolbar_ = CreateToolbarEx(window_, WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS, IDC_TOOLBAR, 21, instance_,
                               IDB_TOOLBAR, buttons, kToolbarEntries, 0, 0, 0, 0, sizeof(TBBUTTON));
    ScaleToolbar();

    statusBar_ = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | 0x10, 0, 0, 0, 0, window_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_STATUSBAR)), instance_, nullptr);
    ScaleStatusBar();
    SetStatusParts();
    ShowWindow(statusBar_, SW_SHOW);

    list_ = std::make_unique<ListMenu>(instance_, window_, settings_, messages_, ListRect(), dpi_);
    SubclassList(list_->Control());
    live_ = std::make_unique<LiveList>(window_, kLogsChanged, kDayTimer, *list_, settings_);

    EnsureDataFolder();
    if (settings_.GetIndex()[0] == '\0') {
        list_->DisableEntryCommands();
        return;
    }
    if (!list_commands::LoadAndSelectFirst(*this)) return;  // LoadList told the user
    RelocateIndexFile();
}

void MainWindow::EnsureDataFolder() {
    char folder[MAX_PATH];
    BuildDataFolder(instance_, folder);
    if (folder[0] && !fileops::IsFolder(folder)) fileops::CreateFolders(folder);
}

void MainWindow::RelocateIndexFile() {
    // A file this start made because Index named none holds no list to move.
    if (list_->CreatedEmpty()) return;
    char folder[MAX_PATH];
    BuildDataFolder(instance_, folder);
    if (!folder[0]) return;
    char oldPath[MAX_PATH];
    lstrcpynA(oldPath, settings_.GetIndex(), sizeof oldPath);
    char oldFolder[MAX_PATH];
    pathtext::FolderOf(oldPath, oldFolder);
    if (lstrcmpiA(oldFolder, folder) == 0) return;
    // A Kelvora.dat already there holds a list of its own: the moved list takes a free name.
    char newPath[MAX_PATH];
    FreeIndexPath(instance_, newPath);
    if (!newPath[0]) return;
    settings_.SetIndex(newPath);
    if (!list_->SaveList()) {
        settings_.SetIndex(oldPath);  // the list stays in its file
        return;
    }
    // The old file goes only once the registry names the new one, so that a program ended at any
    // moment finds the list at the next start.
    if (settings_.Save(true) == ERROR_SUCCESS) DeleteFileA(oldPath);
}

RECT MainWindow::ListRect() const {
    RECT client = {};
    GetClientRect(window_, &client);
    return ListRectangle(client.right, client.bottom, WindowHeight(toolbar_), WindowHeight(statusBar_),
                         GetSystemMetrics(SM_CYBORDER));
}

void MainWindow::SetStatusParts() {
    if (!statusBar_) return;
    TEXTMETRICA metrics = {};
    {
        WindowDC dc(statusBar_);
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(statusBar_, WM_GETFONT, 0, 0));
        SelectGuard select(dc.Get(), font);
        GetTextMetricsA(dc.Get(), &metrics);
    }
    RECT client = {};
    GetClientRect(window_, &client);
    int edges[4];
    StatusBarEdges(client.right, metrics.tmMaxCharWidth, edges);
    SendMessageA(statusBar_, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(edges));
}

void MainWindow::OnSize(UINT message, WPARAM type, LPARAM size) {
    if (type == SIZE_MINIMIZED) return;
    RememberWindowRect();
    if (toolbar_) SendMessageA(toolbar_, message, type, size);
    if (statusBar_) SendMessageA(statusBar_, message, type, size);
    SetStatusParts();
    if (list_) {
        RECT r = ListRect();
        MoveWindow(list_->Control(), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    }
}

void MainWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
    // The new DPI comes with the message; the window's own may still read the old one meanwhile.
    dpi_ = dpi;
    ScaleToolbar();
    ScaleStatusBar();
    if (list_) list_->SetDpi(dpi_);
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    Relayout();  // the children changed size even where the window did not
}

void MainWindow::ScaleToolbar() {
    // Image lists of our own at every DPI: the toolbar's own, made from the strip it loads, could not
    // be shown again after another, as the toolbar remakes it behind a new handle when sizes change.
    ToolbarImageLists images = LoadToolbarImageLists(instance_, dpi_);
    if (images.normal) {
        SendMessageA(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.normal.Get()));
        SendMessageA(toolbar_, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(images.disabled.Get()));
        toolbarImages_ = std::move(images);  // the lists shown before go once the toolbar has let them go
    }
    // At 96 DPI: images in 26 x 26, buttons that size with the toolbar's usual padding of 7 x 6.
    SendMessageA(toolbar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(ScaleToDpi(26, dpi_), ScaleToDpi(26, dpi_)));
    SendMessageA(toolbar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(ScaleToDpi(33, dpi_), ScaleToDpi(32, dpi_)));
    SendMessageA(toolbar_, TB_AUTOSIZE, 0, 0);
}

void MainWindow::ScaleStatusBar() {
    // The system's status font is made for the system DPI; the window may be on a monitor of another.
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return;
    const LOGFONTA font = ScaleFont(metrics.lfStatusFont, SystemDpi(), dpi_);
    OwnedFont next(CreateFontIndirectA(&font));
    SendMessageA(statusBar_, WM_SETFONT, reinterpret_cast<WPARAM>(next.Get()), TRUE);
    statusFont_ = std::move(next);
}

void MainWindow::Relayout() {
    if (IsIconic(window_)) return;  // laid out when it is restored
    RECT client = {};
    GetClientRect(window_, &client);
    OnSize(WM_SIZE, IsZoomed(window_) ? SIZE_MAXIMIZED : SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
}

void MainWindow::RememberWindowRect() {
    RECT r;
    if (!::GetWindowRect(window_, &r)) return;
    const int rect[4] = {r.left, r.top, r.right - r.left, r.bottom - r.top};
    settings_.SetWindowRect(rect);
}

void MainWindow::OnClose() {
    CallHtmlHelp(window_, nullptr, HH_CLOSE_ALL, 0);
    // Written while the window can still own the message of a failed write; the window then
    // goes without writing again.
    ReleaseList();
    DestroyWindow(window_);
}

void MainWindow::OnDestroy() {
    ReleaseList();
    PostQuitMessage(0);
}

void MainWindow::ReleaseList() {
    if (!list_) return;
    // Everything is written before anything waits: a running cut (its choices put back) and the log
    // watch are only asked to stop first, and waited for after; the cut may then say that it was
    // stopped.
    cut_.Interrupt();
    live_->Interrupt();
    list_->SaveList();
    settings_.SaveAll();
    cut_.Stop();
    live_.reset();
    list_.reset();
}

void MainWindow::OnEndSession() {
    // Answered at once and without a box: the session may end right after, without WM_DESTROY and
    // without the settings' destructor. So a running cut is asked to stop, the list and every
    // setting are written, and only then the worker gets a moment to leave its logs whole.
    cut_.Interrupt();
    if (list_) {
        PMessage::Silence quiet(messages_);
        list_->SaveList();
    }
    settings_.SaveAll();
    cut_.Stop(kSessionEndWaitMs, false);
}

LRESULT MainWindow::OnNotify(LPARAM lParam) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->code != TTN_NEEDTEXTA) return 0;
    auto* tip = reinterpret_cast<NMTTDISPINFOA*>(lParam);
    UINT text = TooltipOf(header->idFrom);
    if (text == 0) return 0;
    tip->hinst = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window_, GWLP_HINSTANCE));
    tip->lpszText = MAKEINTRESOURCEA(text);
    return 0;
}

void MainWindow::OnLogsOrClock(UINT message, WPARAM wParam) {
    if (!live_ || (message == WM_TIMER && wParam != kDayTimer)) return;
    if (message == kLogsChanged ? live_->TakeChanges() : live_->CheckDay()) RefreshStatusBar();
}

void MainWindow::OnContextMenu(LPARAM position) {
    POINT at = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    if (position == -1 && list_) {
        HWND control = list_->Control();
        RECT r = {};
        GetWindowRect(control, &r);
        at = KeyboardMenuPosition(r, static_cast<int>(SendMessageA(control, LB_GETTOPINDEX, 0, 0)),
                                  static_cast<int>(SendMessageA(control, LB_GETCURSEL, 0, 0)),
                                  static_cast<int>(SendMessageA(control, LB_GETITEMHEIGHT, 0, 0)), dpi_);
    }
    ShowContextMenu(instance_, window_, at);
}

void MainWindow::OnLeftButtonDown(LPARAM position) {
    LRESULT height = SendMessageA(list_->Control(), LB_GETITEMHEIGHT, 0, 0);
    if (height > 0) pressedRow_ = static_cast<int>(HIWORD(position) / height);
}

LRESULT MainWindow::OnDrop(HDROP drop) {
    if (list_) return OnDropFiles(*this, drop);
    DragFinish(drop);  // no list to add to
    return 0;
}

LRESULT MainWindow::OnMouseMove(WPARAM keys, LPARAM position) {
    return StartDragOnMouseMove(*this, pressedRow_, keys, position);
}

LRESULT MainWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == IDC_LIST) {
        if (HIWORD(wParam) == LBN_DBLCLK) return SendMessageA(window_, WM_COMMAND, IDM_BROWSER, lParam);
        if (HIWORD(wParam) == LBN_SELCHANGE) {
            RefreshStatusBar();
            return 0;
        }
    }
    return DispatchCommand(*this, cut_, wParam, lParam);
}

void MainWindow::RowsChanged() {
    if (live_) live_->Follow();
}

void MainWindow::RefreshStatusBar() {
    int selected = list_->GetSelection();
    if (selected < 0) return;
    LogEntry entry;
    if (list_->GetEntry(selected, &entry) < 0) return;
    StatusTexts texts = FormatStatusTexts(entry, MacroTextsOf(settings_));
    const std::string* parts[4] = {&texts.file, &texts.size, &texts.date, &texts.time};
    for (int i = 0; i < 4; ++i) SendMessageA(statusBar_, SB_SETTEXTA, i, reinterpret_cast<LPARAM>(parts[i]->c_str()));
}
