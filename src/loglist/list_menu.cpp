#include "loglist/list_menu.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "lib/core/files.h"
#include "lib/services/dpi.h"
#include "loglist/display.h"
#include "loglist/index_file.h"
#include "resources/resource_ids.h"
#include "settings/environ.h"
#include "settings/pmessage.h"

namespace {

// Each row is a global block holding one LogEntry; the list box keeps its handle as item data. The
// blocks are fixed: a process has at most 65,536 handles of movable blocks, fewer than a list may hold.
HGLOBAL RowOf(LPARAM data) { return reinterpret_cast<HGLOBAL>(data); }

class WaitCursor {
public:
    WaitCursor() { SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT))); }
    ~WaitCursor() { SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW))); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

ListMenu::ListMenu(HINSTANCE instance, HWND mainWindow, Environ& settings, const PMessage& messages, const RECT& rect,
                   UINT dpi)
    : mainWindow_(mainWindow), dpi_(dpi), settings_(settings), messages_(messages) {
    list_ = CreateWindowExA(0, "LISTBOX", "",
                            WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_SORT |
                                LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT,
                            rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, mainWindow,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_LIST)), instance, nullptr);
    RecreateListFont();
    ComputeColumnStops();
}

ListMenu::~ListMenu() {
    ClearEntries();
    // The font is deleted with this object.
    if (list_ && IsWindow(list_)) SendMessageA(list_, WM_SETFONT, 0, FALSE);
}

int ListMenu::AddEntry(const LogEntry& entry) {
    changed_ = true;
    return InsertRow(entry, true);
}

int ListMenu::InsertRow(const LogEntry& entry, bool sorted) {
    OwnedGlobal row(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, sizeof(LogEntry)));
    if (!row) return -1;
    {
        GlobalLockGuard<LogEntry> copy(row.Get());
        if (!copy) return -1;
        *copy.Get() = entry;
        BuildDisplayText(copy.Get(), settings_);
    }
    // LB_INSERTSTRING places the row where it is told, even in a sorted list box.
    LRESULT index =
        sorted ? SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.Get()))
               : SendMessageA(list_, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(row.Get()));
    if (index == LB_ERR || index == LB_ERRSPACE) return -1;
    row.Release();  // the list box holds the row now
    ++revision_;
    return static_cast<int>(index);
}

int ListMenu::DeleteEntry(int index) {
    LRESULT data = SendMessageA(list_, LB_GETITEMDATA, index, 0);
    if (index < 0 || data == LB_ERR) return -1;
    LRESULT left = SendMessageA(list_, LB_DELETESTRING, index, 0);
    if (left == LB_ERR) return -1;
    GlobalFree(RowOf(data));
    changed_ = true;
    ++revision_;
    return static_cast<int>(left);
}

void ListMenu::ClearEntries() {
    if (!list_ || !IsWindow(list_)) return;
    int count = GetEntryCount();
    for (int i = 0; i < count; ++i) {
        LRESULT data = SendMessageA(list_, LB_GETITEMDATA, i, 0);
        if (data != LB_ERR && data) GlobalFree(RowOf(data));
    }
    SendMessageA(list_, LB_RESETCONTENT, 0, 0);
    changed_ = true;
    ++revision_;
}

int ListMenu::GetEntryCount() const {
    LRESULT count = SendMessageA(list_, LB_GETCOUNT, 0, 0);
    return count == LB_ERR ? -1 : static_cast<int>(count);
}

int ListMenu::GetEntry(int index, LogEntry* out) const {
    *out = LogEntry();
    if (index < 0) return -1;
    LRESULT data = SendMessageA(list_, LB_GETITEMDATA, index, 0);
    if (data == LB_ERR || !data) return -1;
    GlobalLockGuard<LogEntry> row(RowOf(data));
    if (!row) return -1;
    *out = *row.Get();
    return index;
}

int ListMenu::GetSelection() const { return static_cast<int>(SendMessageA(list_, LB_GETCURSEL, 0, 0)); }

void ListMenu::Select(int index) { SendMessageA(list_, LB_SETCURSEL, index, 0); }

bool ListMenu::SetFileStatus(int index, const FileStatus& status) {
    LRESULT data = SendMessageA(list_, LB_GETITEMDATA, index, 0);
    if (index < 0 || data == LB_ERR || !data) return false;
    {
        GlobalLockGuard<LogEntry> row(RowOf(data));
        if (!row || SameStatus(status, {row.Get()->FileTime, row.Get()->FileSize})) return false;
        row.Get()->FileTime = status.time;
        row.Get()->FileSize = status.size;
        BuildDisplayText(row.Get(), settings_);
    }
    RECT rect;
    if (SendMessageA(list_, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect)) != LB_ERR)
        InvalidateRect(list_, &rect, FALSE);
    return true;
}

bool ListMenu::LoadList() {
    ShowWindow(list_, SW_HIDE);
    const char* path = settings_.GetIndex();
    bool loaded = true;
    createdEmpty_ = false;
    {
        WaitCursor wait;
        ClearEntries();
        if (path[0]) {
            if (!fileops::Exists(path)) {
                OwnedFile created(
                    CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_ARCHIVE, nullptr));
                createdEmpty_ = static_cast<bool>(created);
            }
            IndexEntries entries;
            loaded =
                ReadIndexFile(path, MacroTextsOf(settings_), &entries) == IndexRead::Read && InsertInOrder(entries);
        }
    }
    source_ = !path[0] ? Source::None : loaded ? Source::File : Source::Failed;
    changed_ = false;
    SetEntryCommands(GetEntryCount() > 0);
    ShowWindow(list_, SW_SHOW);
    InvalidateRect(list_, nullptr, TRUE);
    SetFocus(list_);
    if (!loaded) messages_.ShowFileMessage(mainWindow_, kMsgListReadFailed, path);
    return loaded;
}

bool ListMenu::InsertInOrder(const IndexEntries& entries) {
    const int count = entries.Count();
    if (count == 0) return true;
    // The rows are put in order here and appended, which gives the order that inserting each row
    // at its sorted place gives, without a round of compare messages per row. The order is kept
    // in a block taken without throwing, as the entries are.
    std::unique_ptr<const LogEntry*[]> order(new (std::nothrow) const LogEntry*[count]);
    if (!order) return false;
    for (int i = 0; i < count; ++i) order[i] = &entries[i];
    const int sort = settings_.GetSortList();
    std::stable_sort(order.get(), order.get() + count,
                     [sort](const LogEntry* a, const LogEntry* b) { return CompareEntries(*a, *b, sort) < 0; });
    SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list_, LB_INITSTORAGE, count, 0);
    bool inserted = true;
    for (int i = 0; i < count && inserted; ++i) inserted = InsertRow(*order[i], false) >= 0;
    SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    return inserted;
}

bool ListMenu::SaveList() {
    if (source_ == Source::Failed) return false;
    if (source_ == Source::None && GetEntryCount() <= 0) return true;
    bool saved;
    const char* path;
    {
        WaitCursor wait;
        path = IndexPathForWrite(settings_);
        saved = path[0] &&
                WriteIndexFile(path, GetEntryCount(), [this](int i, LogEntry* out) { return GetEntry(i, out) >= 0; });
    }
    if (!saved) {
        messages_.ShowFileMessage(mainWindow_, IDS_CAP_SAVELIST, IDS_ERR_INDEXWRITE, MB_OK | MB_ICONHAND, path);
        return false;
    }
    source_ = Source::File;  // the file holds this list now
    changed_ = false;
    return true;
}

void ListMenu::ApplyListFont() {
    SendMessageA(list_, LB_SETITEMHEIGHT, 0, RowHeight());
    RecreateListFont();
    ComputeColumnStops();
}

void ListMenu::SetDpi(UINT dpi) {
    dpi_ = dpi;
    ApplyListFont();
}

void ListMenu::RecreateListFont() {
    LOGFONTA stored;
    settings_.List().GetListFont(&stored);
    const LOGFONTA font = FontForDpi(stored, dpi_);
    // The control lets go of the old font before it is deleted.
    OwnedFont next(CreateFontIndirectA(&font));
    SendMessageA(list_, WM_SETFONT, reinterpret_cast<WPARAM>(next.Get()), FALSE);
    font_ = std::move(next);
}

void ListMenu::ComputeColumnStops() {
    TEXTMETRICA metrics = {};
    {
        WindowDC dc(list_);
        SelectGuard select(dc.Get(), font_.Get());
        GetTextMetricsA(dc.Get(), &metrics);
    }
    ::ComputeColumnStops(settings_, metrics.tmAveCharWidth);
}

void ListMenu::SetEntryCommands(bool enabled) {
    // After a failed load a change could not be written back: adding is greyed too.
    const bool entries = enabled && !LoadFailed();
    const bool add = !LoadFailed();
    if (HMENU menu = GetMenu(mainWindow_)) {
        UINT state = entries ? MF_ENABLED : MF_GRAYED;
        EnableMenuItem(menu, 2, MF_BYPOSITION | state);  // the launch popup 起動(&B)
        for (UINT id : {IDM_EDITLIST, IDM_DELETELIST, IDM_CUT, IDM_BROWSER, IDM_EDITOR}) {
            EnableMenuItem(menu, id, MF_BYCOMMAND | state);
        }
        EnableMenuItem(menu, IDM_ADDLIST, MF_BYCOMMAND | (add ? MF_ENABLED : MF_GRAYED));
    }
    if (HWND toolbar = GetDlgItem(mainWindow_, IDC_TOOLBAR)) {
        for (UINT id :
             {IDM_EDITLIST, IDM_DELETELIST, IDM_CUT, IDM_BROWSER, IDM_EDITOR, IDM_SORTNAME, IDM_SORTNEW, IDM_SORTOLD}) {
            SendMessageA(toolbar, TB_ENABLEBUTTON, id, MAKELPARAM(entries ? TRUE : FALSE, 0));
        }
        SendMessageA(toolbar, TB_ENABLEBUTTON, IDM_ADDLIST, MAKELPARAM(add ? TRUE : FALSE, 0));
    }
    DrawMenuBar(mainWindow_);
}

void ListMenu::DisableEntryCommands() { SetEntryCommands(false); }

int ListMenu::RowHeight() const { return settings_.List().RowHeightAt(dpi_); }

void ListMenu::Draw(const DRAWITEMSTRUCT& item) const {
    if (item.itemID == static_cast<UINT>(-1)) return;
    if (!(item.itemAction & (ODA_DRAWENTIRE | ODA_SELECT))) return;  // no focus rectangle
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    COLORREF text = selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : settings_.List().GetColor();
    COLORREF back = selected ? GetSysColor(COLOR_HIGHLIGHT) : GetSysColor(COLOR_WINDOW);
    LogEntry entry;
    if (GetEntry(static_cast<int>(item.itemID), &entry) < 0) return;
    OwnedBrush brush(CreateSolidBrush(back));
    FillRect(item.hDC, &item.rcItem, brush.Get());
    SelectGuard font(item.hDC, font_.Get());
    COLORREF oldText = SetTextColor(item.hDC, text);
    COLORREF oldBack = SetBkColor(item.hDC, back);
    int oldMode = SetBkMode(item.hDC, OPAQUE);
    TabbedTextOutA(item.hDC, item.rcItem.left, item.rcItem.top, entry.DisplayText,
                   static_cast<int>(std::strlen(entry.DisplayText)), settings_.GetColumnStopCount(),
                   const_cast<int*>(settings_.GetColumnStops()), item.rcItem.left);
    SetBkMode(item.hDC, oldMode);
    SetBkColor(item.hDC, oldBack);
    SetTextColor(item.hDC, oldText);
}

int ListMenu::Compare(const COMPAREITEMSTRUCT& item) const {
    GlobalLockGuard<LogEntry> a(RowOf(static_cast<LPARAM>(item.itemData1)));
    GlobalLockGuard<LogEntry> b(RowOf(static_cast<LPARAM>(item.itemData2)));
    if (!a || !b) return 0;
    return CompareEntries(*a.Get(), *b.Get(), settings_.GetSortList());
}
