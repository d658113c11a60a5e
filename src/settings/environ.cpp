// The program's settings: the registry key Main with its two sub-records, the list font (ListFont)
// and the cut settings (Extent). Read once at start-up, written back at exit.
#include "settings/environ.h"

#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "resources/resource_ids.h"
#include "settings/registry_value.h"

using settings::OpenSettingsKey;
using settings::ValueName;

namespace {
constexpr int kUseDefault = static_cast<int>(0x80000000);
}

void CopyToField(char* field, size_t fieldSize, const char* text) {
    if (fieldSize == 0) return;
    std::memset(field, 0, fieldSize);
    size_t i = 0;
    while (text[i] != '\0') {
        size_t width = (IsDBCSLeadByte(static_cast<BYTE>(text[i])) && text[i + 1] != '\0') ? 2 : 1;
        if (i + width > fieldSize - 1) break;
        std::memcpy(field + i, text + i, width);
        i += width;
    }
}

void BuildDataFolder(HINSTANCE instance, char out[MAX_PATH]) {
    out[0] = '\0';
    char appData[MAX_PATH] = "";
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData))) return;
    ValueName sub(instance, IDS_DATAFOLDER);
    int n = std::snprintf(out, MAX_PATH, "%s%s", appData, sub.text);
    if (n < 0 || n >= MAX_PATH) out[0] = '\0';
}

void BuildDefaultIndexPath(HINSTANCE instance, char out[MAX_PATH]) {
    char folder[MAX_PATH];
    BuildDataFolder(instance, folder);
    out[0] = '\0';
    if (folder[0] == '\0') return;
    ValueName file(instance, IDS_INDEXFILE);
    int n = std::snprintf(out, MAX_PATH, "%s%s", folder, file.text);
    if (n < 0 || n >= MAX_PATH) out[0] = '\0';
}

void FormatMacroDate(const SYSTEMTIME& date, char year[5], char month[3], char day[3]) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", date.wYear);
    CopyToField(year, 5, std::strlen(text) > 2 ? text + 2 : "");
    std::snprintf(text, sizeof text, "%02d", date.wMonth % 100);
    CopyToField(month, 3, text);
    std::snprintf(text, sizeof text, "%02d", date.wDay % 100);
    CopyToField(day, 3, text);
}

// ---- EnvironList ----

EnvironList::EnvironList(HINSTANCE instance) : instance_(instance), logFont_(DefaultFont()) { Load(); }

EnvironList::~EnvironList() { Save(); }

LOGFONTA EnvironList::DefaultFont() {
    LOGFONTA font;
    std::memset(&font, 0, sizeof font);
    TEXTMETRICA metrics{};
    if (HDC screen = GetDC(nullptr)) {
        GetTextMetricsA(screen, &metrics);
        ReleaseDC(nullptr, screen);
    }
    font.lfHeight = metrics.tmHeight;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = SHIFTJIS_CHARSET;
    font.lfPitchAndFamily = VARIABLE_PITCH;
    CopyToField(font.lfFaceName, sizeof font.lfFaceName, "\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e");  // ＭＳ ゴシック
    return font;
}

LONG EnvironList::Load() {
    OwnedKey key = OpenSettingsKey(instance_, IDS_REG_LISTFONT);
    if (!key) return ERROR_CANNOT_MAKE;
    // A value shorter than the record fills only its first bytes; the rest keeps the default.
    LOGFONTA font = DefaultFont();
    DWORD got = 0;
    if (!settings::ReadBytes(key.Get(), ValueName(instance_, IDS_REG_LOGFONT).text, &font, sizeof font, &got)) {
        font = DefaultFont();
    }
    font.lfFaceName[LF_FACESIZE - 1] = '\0';
    logFont_ = font;
    int color = 0;
    if (!settings::ReadInt(key.Get(), ValueName(instance_, IDS_REG_CFCOLORS).text, &color)) color = 0;
    cfColors_ = static_cast<COLORREF>(color);
    return ERROR_SUCCESS;
}

LONG EnvironList::Save() const {
    OwnedKey key = OpenSettingsKey(instance_, IDS_REG_LISTFONT);
    if (!key) return ERROR_CANNOT_MAKE;
    settings::WriteBinary(key.Get(), ValueName(instance_, IDS_REG_LOGFONT).text, &logFont_, sizeof logFont_);
    return settings::WriteInt(key.Get(), ValueName(instance_, IDS_REG_CFCOLORS).text, static_cast<int>(cfColors_));
}

void EnvironList::SetListFont(const LOGFONTA& font, COLORREF color) {
    LOGFONTA copy = font;
    std::memset(copy.lfFaceName, 0, sizeof copy.lfFaceName);
    CopyToField(copy.lfFaceName, sizeof copy.lfFaceName, font.lfFaceName);
    logFont_ = copy;
    cfColors_ = color;
}

COLORREF EnvironList::GetListFont(LOGFONTA* font) const {
    *font = logFont_;
    return cfColors_;
}

// ---- EnvironCut ----

EnvironCut::EnvironCut(HINSTANCE instance) : instance_(instance) {
    std::memset(cutFile_, 0, sizeof cutFile_);
    Load();
}

EnvironCut::~EnvironCut() { Save(); }

LONG EnvironCut::Load() {
    OwnedKey key = OpenSettingsKey(instance_, IDS_REG_EXTENT);
    if (!key) return ERROR_CANNOT_MAKE;
    if (!settings::ReadString(key.Get(), ValueName(instance_, IDS_REG_CUTFILE).text, cutFile_, sizeof cutFile_)) {
        CopyToField(cutFile_, sizeof cutFile_, "");
    }
    if (!settings::ReadInt(key.Get(), ValueName(instance_, IDS_REG_CUTMODE).text, &cutMode_)) cutMode_ = 0;
    if (!settings::ReadInt(key.Get(), ValueName(instance_, IDS_REG_CUTCHECK).text, &cutCheck_)) cutCheck_ = 1;
    return ERROR_SUCCESS;
}

LONG EnvironCut::Save() const {
    OwnedKey key = OpenSettingsKey(instance_, IDS_REG_EXTENT);
    if (!key) return ERROR_CANNOT_MAKE;
    settings::WriteString(key.Get(), ValueName(instance_, IDS_REG_CUTFILE).text, cutFile_, sizeof cutFile_);
    settings::WriteInt(key.Get(), ValueName(instance_, IDS_REG_CUTMODE).text, cutMode_);
    return settings::WriteInt(key.Get(), ValueName(instance_, IDS_REG_CUTCHECK).text, cutCheck_);
}

void EnvironCut::SetCutFile(const char* path) { CopyToField(cutFile_, sizeof cutFile_, path); }

// ---- Environ ----

Environ::Environ(HINSTANCE instance) : instance_(instance) {
    list_ = std::make_unique<EnvironList>(instance);
    cut_ = std::make_unique<EnvironCut>(instance);
    // When the key cannot be opened the record keeps these defaults.
    SetDefaults();
    Load();
}

Environ::~Environ() {
    list_.reset();
    cut_.reset();
    Save();
}

void Environ::SaveAll() const {
    list_->Save();
    cut_->Save();
    Save();
}

void Environ::SetDefaults() {
    char path[MAX_PATH];
    BuildDefaultIndexPath(instance_, path);
    CopyToField(index_, sizeof index_, path);
    CopyToField(editor_, sizeof editor_, "");
    CopyToField(macroYear_, sizeof macroYear_, "");
    CopyToField(macroMon_, sizeof macroMon_, "");
    CopyToField(macroDay_, sizeof macroDay_, "");
    char mark[3] = "";
    LoadStringA(instance_, IDS_MARKCHAR, mark, sizeof mark);
    CopyToField(markChar_, sizeof markChar_, mark);
    sortList_ = 0;
    dispDate_ = 1;
    dispMark_ = 1;
    macroAuto_ = 1;
    for (int& v : windowRect_) v = kUseDefault;
    tabStop_ = 4;
    bakFile_ = 1;
    xpUpdate_ = 0;
    if (macroAuto_) SetMacrosToToday();
}

LONG Environ::Load() {
    OwnedKey key = OpenSettingsKey(instance_, IDS_REG_MAIN);
    if (!key) return ERROR_CANNOT_MAKE;
    HKEY k = key.Get();
    auto readString = [&](UINT id, char* field, DWORD size, const char* fallback) {
        if (!settings::ReadString(k, ValueName(instance_, id).text, field, size)) CopyToField(field, size, fallback);
    };
    auto readInt = [&](UINT id, int* field, int fallback) {
        if (!settings::ReadInt(k, ValueName(instance_, id).text, field)) *field = fallback;
    };

    char defaultIndex[MAX_PATH];
    BuildDefaultIndexPath(instance_, defaultIndex);
    readString(IDS_REG_INDEX, index_, sizeof index_, defaultIndex);
    readString(IDS_REG_EDITOR, editor_, sizeof editor_, "");
    readString(IDS_REG_MACROYEAR, macroYear_, sizeof macroYear_, "");
    readString(IDS_REG_MACROMON, macroMon_, sizeof macroMon_, "");
    readString(IDS_REG_MACRODAY, macroDay_, sizeof macroDay_, "");
    char mark[3] = "";
    LoadStringA(instance_, IDS_MARKCHAR, mark, sizeof mark);
    readString(IDS_REG_MARKCHAR, markChar_, sizeof markChar_, mark);
    readInt(IDS_REG_SORTLIST, &sortList_, 0);
    readInt(IDS_REG_DISPDATE, &dispDate_, 1);
    readInt(IDS_REG_DISPMARK, &dispMark_, 1);
    readInt(IDS_REG_MACROAUTO, &macroAuto_, 1);
    if (macroAuto_) SetMacrosToToday();

    int rect[4];
    DWORD got = 0;
    if (settings::ReadBytes(k, ValueName(instance_, IDS_REG_WINDOWRECT).text, rect, sizeof rect, &got) &&
        got == sizeof rect) {
        std::memcpy(windowRect_, rect, sizeof rect);
    } else {
        for (int& v : windowRect_) v = kUseDefault;
    }
    readInt(IDS_REG_TABSTOP, &tabStop_, 4);
    readInt(IDS_REG_BAKFILE, &bakFile_, 1);
    readInt(IDS_REG_XPUPDATE, &xpUpdate_, 0);
    return ERROR_SUCCESS;
}

LONG Environ::Save() const {
    OwnedKey key = OpenSettingsKey(instance_, IDS_REG_MAIN);
    if (!key) return ERROR_CANNOT_MAKE;
    HKEY k = key.Get();
    auto writeString = [&](UINT id, const char* field, DWORD size) {
        settings::WriteString(k, ValueName(instance_, id).text, field, size);
    };
    auto writeInt = [&](UINT id, int value) { return settings::WriteInt(k, ValueName(instance_, id).text, value); };
    writeString(IDS_REG_INDEX, index_, sizeof index_);
    writeString(IDS_REG_EDITOR, editor_, sizeof editor_);
    writeString(IDS_REG_MACROYEAR, macroYear_, sizeof macroYear_);
    writeString(IDS_REG_MACROMON, macroMon_, sizeof macroMon_);
    writeString(IDS_REG_MACRODAY, macroDay_, sizeof macroDay_);
    writeString(IDS_REG_MARKCHAR, markChar_, sizeof markChar_);
    writeInt(IDS_REG_SORTLIST, sortList_);
    writeInt(IDS_REG_DISPDATE, dispDate_);
    writeInt(IDS_REG_DISPMARK, dispMark_);
    writeInt(IDS_REG_MACROAUTO, macroAuto_);
    settings::WriteBinary(k, ValueName(instance_, IDS_REG_WINDOWRECT).text, windowRect_, sizeof windowRect_);
    writeInt(IDS_REG_TABSTOP, tabStop_);
    writeInt(IDS_REG_BAKFILE, bakFile_);
    return writeInt(IDS_REG_XPUPDATE, xpUpdate_);
}

void Environ::SetIndex(const char* path) { CopyToField(index_, sizeof index_, path); }
void Environ::SetEditor(const char* path) { CopyToField(editor_, sizeof editor_, path); }
void Environ::SetMacroYear(const char* text) { CopyToField(macroYear_, sizeof macroYear_, text); }
void Environ::SetMacroMon(const char* text) { CopyToField(macroMon_, sizeof macroMon_, text); }
void Environ::SetMacroDay(const char* text) { CopyToField(macroDay_, sizeof macroDay_, text); }
void Environ::SetMarkChar(const char* text) { CopyToField(markChar_, sizeof markChar_, text); }

void Environ::GetWindowRect(int rect[4]) const { std::memcpy(rect, windowRect_, sizeof windowRect_); }
void Environ::SetWindowRect(const int rect[4]) { std::memcpy(windowRect_, rect, sizeof windowRect_); }

void Environ::EffectiveMarkText(char* out) const {
    lstrcpyA(out, markChar_[0] ? markChar_ : "\x81\x40");  // a full-width space
}

void Environ::SetMacrosToToday() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    FormatMacroDate(now, macroYear_, macroMon_, macroDay_);
}

void Environ::SetColumnStops(const int* stops, int count) {
    if (count < 0) count = 0;
    if (count > kMaxColumnStops) count = kMaxColumnStops;
    std::memcpy(columnStops_, stops, sizeof(int) * count);
    columnStopCount_ = count;
}
