#include "app/toolbar_images.h"

#include <cstring>

namespace {

constexpr int kImages = 14;

// The 32-bit strip resource as a picture: LoadImage gives a DIB section whose rows may run from
// the bottom.
bool ReadStrip(HINSTANCE instance, int resource, Picture* out) {
    OwnedBitmap strip(static_cast<HBITMAP>(
        LoadImageA(instance, MAKEINTRESOURCEA(resource), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    DIBSECTION dib = {};
    if (!strip || GetObjectA(strip.Get(), sizeof dib, &dib) != static_cast<int>(sizeof dib)) return false;
    if (dib.dsBm.bmBitsPixel != 32 || !dib.dsBm.bmBits || dib.dsBm.bmWidth <= 0 || dib.dsBm.bmHeight <= 0) return false;
    GdiFlush();
    out->width = dib.dsBm.bmWidth;
    out->height = dib.dsBm.bmHeight;
    out->pixels.resize(static_cast<size_t>(out->width) * out->height);
    const bool bottomUp = dib.dsBmih.biHeight > 0;
    for (int y = 0; y < out->height; ++y) {
        const int row = bottomUp ? out->height - 1 - y : y;
        std::memcpy(&out->pixels[static_cast<size_t>(y) * out->width],
                    static_cast<const BYTE*>(dib.dsBm.bmBits) + static_cast<size_t>(row) * dib.dsBm.bmWidthBytes,
                    static_cast<size_t>(out->width) * sizeof(DWORD));
    }
    return true;
}

// An image list with ILC_COLOR32, the only kind that honours alpha, holding the strip's images.
OwnedImageList ImageListOf(const Picture& strip, SIZE image) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = strip.width;
    info.bmiHeader.biHeight = -strip.height;  // rows from the top, as the picture has them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    OwnedBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return {};
    std::memcpy(bits, strip.pixels.data(), strip.pixels.size() * sizeof(DWORD));
    OwnedImageList list(ImageList_Create(image.cx, image.cy, ILC_COLOR32, kImages, 0));
    if (!list || ImageList_Add(list.Get(), bitmap.Get(), nullptr) < 0) return {};
    return list;
}

OwnedImageList SixteenColourList(HINSTANCE instance, const ToolbarImages& images) {
    OwnedBitmap strip(CreateMappedBitmap(instance, images.resource, 0, nullptr, 0));
    if (!strip) return {};
    OwnedImageList list(ImageList_Create(images.target.cx, images.target.cy, ILC_COLOR24 | ILC_MASK, kImages, 0));
    if (!list || ImageList_AddMasked(list.Get(), strip.Get(), GetSysColor(COLOR_BTNFACE)) < 0) return {};
    return list;
}

}  // namespace

Picture DisabledPicture(const Picture& picture) {
    Picture out = picture;
    for (DWORD& p : out.pixels) {
        const DWORD r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        const DWORD grey = (r * 299 + g * 587 + b * 114 + 500) / 1000;
        p = ((p >> 24) / 3) << 24 | grey << 16 | grey << 8 | grey;
    }
    return out;
}

ToolbarImageLists LoadToolbarImageLists(HINSTANCE instance, UINT dpi) {
    const ToolbarImages images = ToolbarImagesForDpi(dpi);
    ToolbarImageLists lists;
    if (!images.withAlpha) {
        lists.normal = SixteenColourList(instance, images);
        return lists;
    }
    Picture strip;
    if (!ReadStrip(instance, images.resource, &strip)) return {};
    if (images.source.cx != images.target.cx || images.source.cy != images.target.cy)
        strip = ResamplePicture(strip, kImages * images.target.cx, images.target.cy);
    lists.normal = ImageListOf(strip, images.target);
    lists.disabled = ImageListOf(DisabledPicture(strip), images.target);
    if (!lists.normal || !lists.disabled) return {};
    return lists;
}
