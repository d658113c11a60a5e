#include "settings/environ.h"

#include <cstdio>
#include <cstring>
#include <type_traits>

#include "lib/core/byte_text.h"
#include "lib/core/local_time.h"
#include "lib/services/dpi.h"
#include "lib/services/program_files.h"
#include "resources/resource_ids.h"
#include "settings/registry_value.h"

using bytetext::CopyToField;
using settings::OpenSettingsKey;
using settings::ValueName;

namespace {
constexpr int kUseDefault = static_cast<int>(0x80000000);
}

namespace {

// Today's date as the macro texts: the last two digits of the year, the month and the day.
void FormatMacroDate(const SYSTEMTIME& date, char year[5], char month[3], char day[3]) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", date.wYear);
    CopyToField(year, 5, std::strlen(text) > 2 ? text + 2 : "");
    std::snprintf(text, sizeof text, "%02d", date.wMonth % 100);
    CopyToField(month, 3, text);
    std::snprintf(text, sizeof text, "%02d", date.wDay % 100);
    CopyToField(day, 3, text);
}

}  // namespace

// ---- EnvironList ----

EnvironList::EnvironList(HINSTANCE instance) : instance_(instance) { Load(); }

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
    CopyToField(font.lfFaceName, sizeof font.lfFaceName,
                "\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e");  // ＭＳ ゴシック
    return FontAt96(font, SystemDpi());                                // measured at the screen's DPI
}

LONG EnvironList::Load() {
    // Every value that is missing or cannot be read keeps its default.
    logFont_ = DefaultFont();
    cfColors_ = 0;
    OwnedKey key = OpenSettingsKey(instance_, IDS_REG_LISTFONT);
    if (!key) return ERROR_CANNOT_MAKE;
    // A value shorter than the record fills only its first bytes; the rest keeps the default.
    LOGFONTA font = logFont_;
    DWORD got = 0;
    if (settings::ReadBytes(key.Get(), ValueName(instance_, IDS_REG_LOGFONT).text, &font, sizeof font, &got)) {
        font.lfFaceName[LF_FACESIZE - 1] = '\0';
        logFont_ = font;
    }
    int color = 0;
    if (settings::ReadInt(key.Get(), ValueName(instance_, IDS_REG_CFCOLORS).text, &color)) {
        cfColors_ = static_cast<COLORREF>(color);
    }
    return ERROR_SUCCESS;
}

LONG EnvironList::Save() const {
    OwnedKey key = OpenSettingsKey(instance_, IDS_REG_LISTFONT);
    if (!key) return ERROR_CANNOT_MAKE;
    settings::WriteBinary(key.Get(), ValueName(instance_, IDS_REG_LOGFONT).text, &logFont_, sizeof logFont_);
    return settings::WriteInt(key.Get(), ValueName(instance_, IDS_REG_CFCOLORS).text, static_cast<int>(cfColors_));
}

int EnvironList::RowHeightAt(UINT dpi) const { return ScaleToDpi(RowHeight(), dpi); }

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

EnvironCut::EnvironCut(HINSTANCE instance) : instance_(instance) { Load(); }

EnvironCut::~EnvironCut() { Save(); }

LONG EnvironCut::Load() {
    // Every value that is missing or cannot be read keeps its default.
    CopyToField(cutFile_, sizeof cutFile_, "");
    cutMode_ = 0;
    cutCheck_ = 1;
    OwnedKey key = OpenSettingsKey(instance_, IDS_REG_EXTENT);
    if (!key) return ERROR_CANNOT_MAKE;
    settings::ReadString(key.Get(), ValueName(instance_, IDS_REG_CUTFILE).text, cutFile_, sizeof cutFile_);
    settings::ReadInt(key.Get(), ValueName(instance_, IDS_REG_CUTMODE).text, &cutMode_);
    settings::ReadInt(key.Get(), ValueName(instance_, IDS_REG_CUTCHECK).text, &cutCheck_);
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
}

LONG Environ::Load() {
    // Every value that is missing or cannot be read keeps its default; without the key, all do.
    SetDefaults();
    OwnedKey key = OpenSettingsKey(instance_, IDS_REG_MAIN);
    if (key) ReadMain(key.Get());
    if (macroAuto_) SetMacrosToToday();
    return key ? ERROR_SUCCESS : ERROR_CANNOT_MAKE;
}

// The string and number values of the key Main, read and written alike; WindowRect is the one
// binary value and is handled on its own.
template <class Self, class Visit>
void Environ::ForEachValue(Self& self, Visit visit) {
    visit(IDS_REG_INDEX, self.index_);
    visit(IDS_REG_EDITOR, self.editor_);
    visit(IDS_REG_MACROYEAR, self.macroYear_);
    visit(IDS_REG_MACROMON, self.macroMon_);
    visit(IDS_REG_MACRODAY, self.macroDay_);
    visit(IDS_REG_MARKCHAR, self.markChar_);
    visit(IDS_REG_SORTLIST, self.sortList_);
    visit(IDS_REG_DISPDATE, self.dispDate_);
    visit(IDS_REG_DISPMARK, self.dispMark_);
    visit(IDS_REG_MACROAUTO, self.macroAuto_);
    visit(IDS_REG_TABSTOP, self.tabStop_);
    visit(IDS_REG_BAKFILE, self.bakFile_);
    visit(IDS_REG_XPUPDATE, self.xpUpdate_);
}

void Environ::ReadMain(HKEY k) {
    ForEachValue(*this, [&](UINT id, auto& field) {
        if constexpr (std::is_array_v<std::remove_reference_t<decltype(field)>>) {
            settings::ReadString(k, ValueName(instance_, id).text, field, sizeof field);
        } else {
            settings::ReadInt(k, ValueName(instance_, id).text, &field);
        }
    });
    int rect[4];
    DWORD got = 0;
    if (settings::ReadBytes(k, ValueName(instance_, IDS_REG_WINDOWRECT).text, rect, sizeof rect, &got) &&
        got == sizeof rect) {
        std::memcpy(windowRect_, rect, sizeof rect);
    }
}

LONG Environ::Save(bool durable) const {
    OwnedKey key = OpenSettingsKey(instance_, IDS_REG_MAIN);
    if (!key) return ERROR_CANNOT_MAKE;
    HKEY k = key.Get();
    LONG result = ERROR_SUCCESS;
    auto keep = [&result](LONG written) {  // the first failure is the answer
        if (result == ERROR_SUCCESS) result = written;
    };
    ForEachValue(*this, [&](UINT id, const auto& field) {
        if constexpr (std::is_array_v<std::remove_reference_t<decltype(field)>>) {
            keep(settings::WriteString(k, ValueName(instance_, id).text, field, sizeof field));
        } else {
            keep(settings::WriteInt(k, ValueName(instance_, id).text, field));
        }
    });
    settings::WriteBinary(k, ValueName(instance_, IDS_REG_WINDOWRECT).text, windowRect_, sizeof windowRect_);
    if (durable) keep(RegFlushKey(k));
    return result;
}

void Environ::SetIndex(const char* path) { CopyToField(index_, sizeof index_, path); }
void Environ::SetEditor(const char* path) { CopyToField(editor_, sizeof editor_, path); }
void Environ::SetMacroYear(const char* text) { CopyToField(macroYear_, sizeof macroYear_, text); }
void Environ::SetMacroMon(const char* text) { CopyToField(macroMon_, sizeof macroMon_, text); }
void Environ::SetMacroDay(const char* text) { CopyToField(macroDay_, sizeof macroDay_, text); }
void Environ::SetMarkChar(const char* text) { CopyToField(markChar_, sizeof markChar_, text); }

void Environ::GetWindowRect(int rect[4]) const { std::memcpy(rect, windowRect_, sizeof windowRect_); }
void Environ::SetWindowRect(const int rect[4]) { std::memcpy(windowRect_, rect, sizeof windowRect_); }

void Environ::SetMacrosToToday() { SetMacrosToDate(LocalNow()); }

void Environ::SetMacrosToDate(const SYSTEMTIME& date) { FormatMacroDate(date, macroYear_, macroMon_, macroDay_); }

void Environ::SetColumnStops(const int* stops, int count) {
    if (count < 0) count = 0;
    if (count > kMaxColumnStops) count = kMaxColumnStops;
    std::memcpy(columnStops_, stops, sizeof(int) * count);
    columnStopCount_ = count;
}
