// Sizes at the DPI a window is shown at: lengths and the list font, which are meant at 96 DPI, the
// toolbar images for a DPI with the resampling that fits them to it, and the DPI of a window.
#pragma once
#include <windows.h>

#include <vector>

// The DPI at which the program's pixel sizes and the stored list font are meant (100 %).
constexpr UINT kDesignDpi = 96;

// A length meant at 96 DPI, at dpi; halves round away from zero (MulDiv). A dpi of 0 counts as 96.
int ScaleToDpi(int length, UINT dpi);

// The list font is stored as the user chose it at 96 DPI. FontForDpi is the font to create at dpi:
// lfHeight and lfWidth scaled, a character height (negative) staying negative, the rest as stored.
// FontAt96 turns a font chosen at dpi into that stored form; for every dpi of 96 and more,
// FontAt96(FontForDpi(font, dpi), dpi) is font again.
LOGFONTA FontForDpi(const LOGFONTA& stored, UINT dpi);
LOGFONTA FontAt96(const LOGFONTA& chosen, UINT dpi);
// A font meant at one DPI, at another: lfHeight and lfWidth scaled as above.
LOGFONTA ScaleFont(const LOGFONTA& font, UINT from, UINT to);

// The toolbar images for a DPI. At 96 DPI they are the 16-colour strip of resource 3, whose colours
// the toolbar maps to the button colours; at any other DPI the smallest 32-bit strip drawn for that
// DPI or a higher one (above 200 % the 200 % strip), resampled to the target size with
// ResamplePicture and handed to the toolbar as an image list.
struct ToolbarImages {
    int resource;    // bitmap resource id: a strip of 14 images side by side
    SIZE source;     // one image in the strip
    SIZE target;     // one image on the toolbar at the DPI
    bool withAlpha;  // 32-bit with straight alpha, else 16 colours
};
ToolbarImages ToolbarImagesForDpi(UINT dpi);

// A 32-bit picture with straight alpha: rows from the top, pixels 0xAARRGGBB (a DIB's BGRA bytes).
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;
};

// The picture at width x height. Each new pixel averages the part of the picture it covers, weighted
// by alpha, so clear pixels do not darken the edges next to them. A strip of images of equal width
// stays a strip of the same number of images, none bleeding into its neighbour.
Picture ResamplePicture(const Picture& picture, int width, int height);

// The DPI the window is shown at: GetDpiForWindow where user32 has it (Windows 10 1607 on), else the
// DPI of the window's monitor from shcore (Windows 8.1 on), else the screen's LOGPIXELSY (Vista, 7, 8).
UINT WindowDpi(HWND window);
// The DPI the screen's device context, the system metrics and the system's fonts are measured at.
UINT SystemDpi();
