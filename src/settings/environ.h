// The program's settings: the registry key Main with its two sub-records, the list font (ListFont)
// and the cut settings (Extent). Read once at start-up, written back at exit.
#pragma once
#include <windows.h>

#include <memory>

// The list font and the text colour of unselected rows (key ListFont).
class EnvironList {
public:
    static_assert(sizeof(LOGFONTA) == 60, "the stored font record is 60 bytes");

    explicit EnvironList(HINSTANCE instance);  // loads
    ~EnvironList();                            // saves
    EnvironList(const EnvironList&) = delete;
    EnvironList& operator=(const EnvironList&) = delete;

    LONG Load();
    LONG Save() const;
    void SetListFont(const LOGFONTA& font, COLORREF color);
    COLORREF GetListFont(LOGFONTA* font) const;
    // The list's row height: the font's height, also when it is stored as a negative (character) height.
    int RowHeight() const { return logFont_.lfHeight < 0 ? -logFont_.lfHeight : logFont_.lfHeight; }
    // The row height of the list shown at dpi, whose font is the stored one scaled to it.
    int RowHeightAt(UINT dpi) const;
    COLORREF GetColor() const { return cfColors_; }

    // The font used when nothing usable is stored: "ＭＳ ゴシック" at the screen font's height, as the
    // font is stored: at 96 DPI.
    static LOGFONTA DefaultFont();

private:
    HINSTANCE instance_;
    COLORREF cfColors_ = 0;
    LOGFONTA logFont_;
};

// The cut settings (key Extent).
class EnvironCut {
public:
    explicit EnvironCut(HINSTANCE instance);  // loads
    ~EnvironCut();                            // saves
    EnvironCut(const EnvironCut&) = delete;
    EnvironCut& operator=(const EnvironCut&) = delete;

    LONG Load();
    LONG Save() const;
    const char* GetCutFile() const { return cutFile_; }
    void SetCutFile(const char* path);
    int GetCutMode() const { return cutMode_; }
    void SetCutMode(int mode) { cutMode_ = mode; }
    int GetCutCheck() const { return cutCheck_; }
    void SetCutCheck(int check) { cutCheck_ = check; }

private:
    HINSTANCE instance_;
    char cutFile_[MAX_PATH];
    int cutMode_ = 0;
    int cutCheck_ = 1;
};

class Environ {
public:
    static constexpr int kMaxColumnStops = 34;

    explicit Environ(HINSTANCE instance);  // reads ListFont, Extent and Main
    ~Environ();                            // writes ListFont, Extent and Main
    Environ(const Environ&) = delete;
    Environ& operator=(const Environ&) = delete;

    // Every value that is missing or cannot be read takes its default.
    LONG Load();
    // Main only; durable: on the disk before it returns, as a step that a file's removal waits for.
    LONG Save(bool durable = false) const;
    // Main, ListFont and Extent: at session end, when the program may end without its destructor.
    void SaveAll() const;

    const char* GetIndex() const { return index_; }
    void SetIndex(const char* path);
    const char* GetEditor() const { return editor_; }
    void SetEditor(const char* path);
    const char* GetMacroYear() const { return macroYear_; }
    void SetMacroYear(const char* text);
    const char* GetMacroMon() const { return macroMon_; }
    void SetMacroMon(const char* text);
    const char* GetMacroDay() const { return macroDay_; }
    void SetMacroDay(const char* text);
    const char* GetMarkChar() const { return markChar_; }
    void SetMarkChar(const char* text);
    int GetSortList() const { return sortList_; }
    void SetSortList(int order) { sortList_ = order; }
    int GetDispDate() const { return dispDate_; }
    void SetDispDate(int on) { dispDate_ = on; }
    int GetDispMark() const { return dispMark_; }
    void SetDispMark(int on) { dispMark_ = on; }
    int GetMacroAuto() const { return macroAuto_; }
    void SetMacroAuto(int on) { macroAuto_ = on; }
    void GetWindowRect(int rect[4]) const;
    void SetWindowRect(const int rect[4]);
    int GetTabStop() const { return tabStop_; }
    void SetTabStop(int width) { tabStop_ = width; }
    int GetBakFile() const { return bakFile_; }
    void SetBakFile(int on) { bakFile_ = on; }
    int GetXpUpdate() const { return xpUpdate_; }
    void SetXpUpdate(int done) { xpUpdate_ = done; }

    void SetMacrosToToday();
    // The macro texts of a given local date: the last two digits of the year, month and day.
    void SetMacrosToDate(const SYSTEMTIME& date);

    // Column stops of the list text, filled when the list font is measured.
    int GetColumnStopCount() const { return columnStopCount_; }
    const int* GetColumnStops() const { return columnStops_; }
    void SetColumnStops(const int* stops, int count);

    EnvironList& List() { return *list_; }
    const EnvironList& List() const { return *list_; }
    EnvironCut& Cut() { return *cut_; }
    const EnvironCut& Cut() const { return *cut_; }
    HINSTANCE Instance() const { return instance_; }

private:
    void SetDefaults();
    void ReadMain(HKEY key);
    template <class Self, class Visit>
    static void ForEachValue(Self& self, Visit visit);

    HINSTANCE instance_;
    char index_[MAX_PATH];
    char editor_[MAX_PATH];
    char macroYear_[5];
    char macroMon_[3];
    char macroDay_[3];
    char markChar_[3];
    int sortList_;
    int dispDate_;
    int dispMark_;
    int macroAuto_;
    int windowRect_[4];
    int tabStop_;
    int bakFile_;
    int xpUpdate_;
    int columnStopCount_ = 0;
    int columnStops_[kMaxColumnStops] = {};
    std::unique_ptr<EnvironList> list_;
    std::unique_ptr<EnvironCut> cut_;
};
