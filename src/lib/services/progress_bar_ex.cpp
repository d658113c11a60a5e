#include "lib/services/progress_bar_ex.h"

#include <commctrl.h>

#include <cstdio>
#include <new>

#include "lib/core/owned.h"
#include "lib/services/dpi.h"
#include "lib/services/proc_boundary.h"

namespace {

const char kBarClass[] = "ProgressBarEx";

// The window owns this record from WM_CREATE to WM_DESTROY.
struct BarState {
    unsigned minimum = 0;
    unsigned maximum = 100;
    unsigned step = 1;
    unsigned position = 0;
    unsigned percent = 0;
    // The digits' font for the DPI it was made at; null: the device context's default font.
    OwnedFont digitsFont;
    UINT digitsDpi = 0;
};

BarState* StateOf(HWND w) { return reinterpret_cast<BarState*>(GetWindowLongPtrA(w, 0)); }

struct MemoryDCTraits {
    using Type = HDC;
    static HDC Invalid() { return nullptr; }
    static bool Valid(HDC h) { return h != nullptr; }
    static void Close(HDC h) { DeleteDC(h); }
};

// A memory device context with a bitmap of its own selected. Members go in reverse order: the
// bitmap is selected out before it is deleted, and the context goes last.
class Layer {
public:
    Layer(HDC screen, int width, int height)
        : dc_(CreateCompatibleDC(screen)),
          bitmap_(CreateCompatibleBitmap(screen, width, height)),
          select_(dc_.Get(), bitmap_.Get()) {}
    HDC Get() const { return dc_.Get(); }
    explicit operator bool() const { return dc_ && bitmap_; }

private:
    Owned<MemoryDCTraits> dc_;
    OwnedBitmap bitmap_;
    SelectGuard select_;
};

void FillWith(HDC dc, const RECT& r, int sysColor) {
    OwnedBrush brush(CreateSolidBrush(GetSysColor(sysColor)));
    FillRect(dc, &r, brush.Get());
}

// The digits are written in the device context's default font, which is made for the system DPI;
// on a monitor of another DPI they take that font scaled to it. Null: the default font as it is.
OwnedFont DigitsFont(UINT dpi) {
    const UINT system = SystemDpi();
    if (dpi == system) return {};
    LOGFONTA font = {};
    if (!GetObjectA(GetStockObject(SYSTEM_FONT), sizeof font, &font)) return {};
    font = ScaleFont(font, system, dpi);
    return OwnedFont(CreateFontIndirectA(&font));
}

void Paint(HWND w, HDC dc, BarState& state) {
    RECT client;
    GetClientRect(w, &client);
    const int width = client.right;
    const int height = client.bottom;
    ProgressPaint p = ComputeProgressPaint(state.minimum, state.maximum, state.position, width);
    state.percent = p.percent;
    if (width <= 2 || height <= 2) return;
    const int lw = width - 2;
    const int lh = height - 2;

    Layer text(dc, lw, lh);
    Layer bar(dc, lw, lh);
    if (!text || !bar) return;
    RECT layer = {0, 0, lw, lh};
    FillRect(text.Get(), &layer, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    char digits[16];
    std::snprintf(digits, sizeof digits, "%u%%", p.percent);
    RECT centre = {0, 0, width, height};
    SetTextColor(text.Get(), GetSysColor(COLOR_BTNTEXT));
    SetBkMode(text.Get(), TRANSPARENT);
    const UINT dpi = WindowDpi(w);
    if (dpi != state.digitsDpi) {  // made once for the bar's DPI, not at every position
        state.digitsFont = DigitsFont(dpi);
        state.digitsDpi = dpi;
    }
    SelectGuard useFont(text.Get(), state.digitsFont.Get());
    DrawTextA(text.Get(), digits, -1, &centre, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOCLIP);

    FillWith(bar.Get(), layer, COLOR_BTNFACE);
    if (p.fill > 0) {
        RECT filled = {0, 0, p.fill, lh};
        FillWith(bar.Get(), filled, COLOR_HIGHLIGHT);
    }
    // Inverted text xor bar: bare places keep the bar's colour, the digits take its inverse.
    BitBlt(text.Get(), 0, 0, lw, lh, nullptr, 0, 0, DSTINVERT);
    BitBlt(text.Get(), 0, 0, lw, lh, bar.Get(), 0, 0, SRCINVERT);
    BitBlt(dc, 1, 1, lw, lh, text.Get(), 0, 0, SRCCOPY);

    OwnedPen pen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
    SelectGuard usePen(dc, pen.Get());
    MoveToEx(dc, width - 2, 0, nullptr);
    LineTo(dc, 0, 0);
    LineTo(dc, 0, height - 1);
}

void PaintNow(HWND w, BarState& state) {
    WindowDC dc(w);
    if (dc.Get()) Paint(w, dc.Get(), state);
}

LRESULT Handle(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    BarState* state = StateOf(w);
    if (m == WM_CREATE && !state) {
        state = static_cast<BarState*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        SetWindowLongPtrA(w, 0, reinterpret_cast<LONG_PTR>(state));
        return 0;
    }
    if (!state) return DefWindowProcA(w, m, wp, lp);
    switch (m) {
    case PBM_SETRANGE:
        state->minimum = LOWORD(lp);
        state->maximum = HIWORD(lp);
        return 0;
    case PBM_SETPOS:
        state->position = static_cast<unsigned>(wp);
        PaintNow(w, *state);
        return 0;
    case PBM_DELTAPOS: state->position += static_cast<unsigned>(wp); return 0;
    case PBM_SETSTEP: state->step = static_cast<unsigned>(wp); return 0;
    case PBM_STEPIT:
        state->position += state->step;
        PaintNow(w, *state);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(w, &ps);
        if (dc) Paint(w, dc, *state);
        EndPaint(w, &ps);
        return 0;
    }
    case WM_DESTROY:
        SetWindowLongPtrA(w, 0, 0);
        delete state;
        return 0;
    }
    return DefWindowProcA(w, m, wp, lp);
}

LRESULT CALLBACK BarProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    return GuardedMessage(DefWindowProcA, w, m, wp, lp, [&] { return Handle(w, m, wp, lp); });
}

}  // namespace

ProgressPaint ComputeProgressPaint(unsigned minimum, unsigned maximum, unsigned position, int clientWidth) {
    ProgressPaint p = {0, 0};
    unsigned long long scaled;  // the fill as percent of the maximum
    if (maximum <= minimum || maximum == 0) {
        p.percent = position > minimum ? 100 : 0;
        scaled = p.percent;
    } else {
        p.percent = static_cast<unsigned>(position * 100ULL / (maximum - minimum));
        scaled = position * 100ULL / maximum;
    }
    const int layer = clientWidth > 2 ? clientWidth - 2 : 0;
    unsigned long long fill = clientWidth > 0 ? static_cast<unsigned long long>(clientWidth) * scaled / 100 : 0;
    // The filled rectangle ends two pixels before the computed edge and never leaves the layer.
    if (fill <= 2)
        p.fill = 0;
    else
        p.fill = fill - 2 >= static_cast<unsigned long long>(layer) ? layer : static_cast<int>(fill - 2);
    return p;
}

namespace progressbar {

HWND CreateEx(HWND parent, int x, int y, int width, int height, int id) {
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE));
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_BYTEALIGNCLIENT | CS_BYTEALIGNWINDOW;
    wc.lpfnWndProc = BarProc;
    wc.cbWndExtra = sizeof(LONG_PTR);  // 4 bytes on the shipped 32-bit build
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kBarClass;
    RegisterClassA(&wc);                            // fails harmlessly when the class exists
    BarState* state = new (std::nothrow) BarState;  // without it the bar shows its background only
    HWND bar = CreateWindowExA(0, kBarClass, nullptr, WS_CHILD | WS_VISIBLE, x, y, width, height, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, state);
    if (!bar) delete state;  // no WM_CREATE took it over
    return bar;
}

void SetRange(HWND bar, int minimum, int maximum, int step) {
    if (!bar) return;
    SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(minimum, maximum));
    SendMessageA(bar, PBM_SETSTEP, static_cast<WPARAM>(step), 0);
}

void ItemRect(HWND dialog, int id, int rect[4]) {
    RECT r = {};
    HWND item = GetDlgItem(dialog, id);
    if (item) {
        GetWindowRect(item, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    }
    rect[0] = r.left;
    rect[1] = r.top;
    rect[2] = r.right - r.left;
    rect[3] = r.bottom - r.top;
}

}  // namespace progressbar
