// MulDiv for lengths and font sizes, an area filter for the toolbar images, and the DPI query of each
// Windows version, looked up at run time.
#include "lib/services/dpi.h"

#include <algorithm>
#include <cmath>

#include "lib/core/owned.h"
#include "resources/resource_ids.h"

namespace {

UINT KnownDpi(UINT dpi) { return dpi ? dpi : kDesignDpi; }

// The size of one toolbar image at 96 DPI, and the strips drawn for higher DPIs.
constexpr SIZE kToolbarImage = {26, 20};
struct DrawnStrip {
    UINT dpi;
    int resource;
    SIZE image;
};
constexpr DrawnStrip kDrawnStrips[] = {
    {120, IDB_TOOLBAR_125, {33, 25}}, {144, IDB_TOOLBAR_150, {39, 30}}, {192, IDB_TOOLBAR_200, {52, 40}}};

// For each new pixel along one axis: the first old pixel it covers and how much of each old pixel from
// there on counts, as fractions of the new pixel.
struct Taps {
    int first = 0;
    std::vector<double> weights;
};

std::vector<Taps> AreaTaps(int from, int to) {
    std::vector<Taps> taps(to);
    const double step = static_cast<double>(from) / to;
    for (int i = 0; i < to; ++i) {
        // Edges computed from whole products, so that the edges between images of a strip are exact.
        const double a = static_cast<double>(i) * from / to, b = static_cast<double>(i + 1) * from / to;
        taps[i].first = static_cast<int>(a);
        for (int j = taps[i].first; j < from && j < b; ++j)
            taps[i].weights.push_back((std::min(b, j + 1.0) - std::max(a, static_cast<double>(j))) / step);
    }
    return taps;
}

BYTE Channel(double value) { return static_cast<BYTE>(std::clamp(std::lround(value), 0L, 255L)); }

}  // namespace

int ScaleToDpi(int length, UINT dpi) { return MulDiv(length, static_cast<int>(KnownDpi(dpi)), kDesignDpi); }

LOGFONTA ScaleFont(const LOGFONTA& font, UINT from, UINT to) {
    LOGFONTA out = font;
    out.lfHeight = MulDiv(font.lfHeight, static_cast<int>(KnownDpi(to)), static_cast<int>(KnownDpi(from)));
    out.lfWidth = MulDiv(font.lfWidth, static_cast<int>(KnownDpi(to)), static_cast<int>(KnownDpi(from)));
    return out;
}

LOGFONTA FontForDpi(const LOGFONTA& stored, UINT dpi) { return ScaleFont(stored, kDesignDpi, dpi); }

LOGFONTA FontAt96(const LOGFONTA& chosen, UINT dpi) { return ScaleFont(chosen, dpi, kDesignDpi); }

ToolbarImages ToolbarImagesForDpi(UINT dpi) {
    dpi = KnownDpi(dpi);
    const SIZE target = {ScaleToDpi(kToolbarImage.cx, dpi), ScaleToDpi(kToolbarImage.cy, dpi)};
    if (dpi == kDesignDpi) return {IDB_TOOLBAR, kToolbarImage, target, false};
    const DrawnStrip* strip = std::find_if(std::begin(kDrawnStrips), std::end(kDrawnStrips),
                                           [dpi](const DrawnStrip& s) { return s.dpi >= dpi; });
    if (strip == std::end(kDrawnStrips)) --strip;
    return {strip->resource, strip->image, target, true};
}

Picture ResamplePicture(const Picture& picture, int width, int height) {
    Picture out;
    if (width <= 0 || height <= 0 || picture.width <= 0 || picture.height <= 0) return out;
    // Alpha-weighted channels (a, r, g, b), resampled across into `across`, then down into `sums`.
    const int w = picture.width, h = picture.height;
    std::vector<double> across(static_cast<size_t>(width) * h * 4, 0.0);
    const std::vector<Taps> columns = AreaTaps(w, width), rows = AreaTaps(h, height);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < width; ++x) {
            double* sum = &across[(static_cast<size_t>(y) * width + x) * 4];
            for (size_t k = 0; k < columns[x].weights.size(); ++k) {
                const DWORD p = picture.pixels[static_cast<size_t>(y) * w + columns[x].first + k];
                const double alpha = (p >> 24) * columns[x].weights[k];
                sum[0] += alpha;
                for (int c = 1; c < 4; ++c) sum[c] += alpha * ((p >> (24 - 8 * c)) & 0xFF);
            }
        }
    }
    out.width = width;
    out.height = height;
    out.pixels.assign(static_cast<size_t>(width) * height, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double sum[4] = {0, 0, 0, 0};
            for (size_t k = 0; k < rows[y].weights.size(); ++k) {
                const double* in = &across[(static_cast<size_t>(rows[y].first + k) * width + x) * 4];
                for (int c = 0; c < 4; ++c) sum[c] += in[c] * rows[y].weights[k];
            }
            if (Channel(sum[0]) == 0) continue;  // clear
            DWORD p = static_cast<DWORD>(Channel(sum[0])) << 24;
            for (int c = 1; c < 4; ++c) p |= static_cast<DWORD>(Channel(sum[c] / sum[0])) << (24 - 8 * c);
            out.pixels[static_cast<size_t>(y) * width + x] = p;
        }
    }
    return out;
}

UINT WindowDpi(HWND window) {
    // Both entry points are looked up once; shcore stays loaded for the life of the process.
    using DpiForWindow = UINT(WINAPI*)(HWND);
    using DpiForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const DpiForWindow dpiForWindow = reinterpret_cast<DpiForWindow>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    static const DpiForMonitor dpiForMonitor = [] {
        HMODULE shcore = dpiForWindow ? nullptr : LoadLibraryA("shcore.dll");
        return shcore ? reinterpret_cast<DpiForMonitor>(
                            reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                      : nullptr;
    }();
    if (dpiForWindow) {
        if (const UINT dpi = dpiForWindow(window)) return dpi;
    }
    const int effectiveDpi = 0;  // MDT_EFFECTIVE_DPI
    UINT dpiX = 0, dpiY = 0;
    if (dpiForMonitor &&
        dpiForMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), effectiveDpi, &dpiX, &dpiY) == S_OK)
        return dpiY;
    return SystemDpi();
}

UINT SystemDpi() {
    WindowDC screen(nullptr);
    const int dpi = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : kDesignDpi;
}
