// The toolbar's pictures at a DPI, as image lists: at 96 DPI the 16-colour strip, above it the strip
// drawn for the DPI, fitted to it, with a disabled look of its own.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "lib/core/owned.h"
#include "lib/services/dpi.h"

struct ImageListTraits {
    using Type = HIMAGELIST;
    static HIMAGELIST Invalid() { return nullptr; }
    static bool Valid(HIMAGELIST h) { return h != nullptr; }
    static void Close(HIMAGELIST h) { ImageList_Destroy(h); }
};
using OwnedImageList = Owned<ImageListTraits>;

// How a disabled button shows a picture: each pixel grey at its brightness, at a third of its alpha.
// The toolbar's own disabled look needs a mask, which pictures with alpha do not have.
Picture DisabledPicture(const Picture& picture);

// The toolbar's 14 images at a DPI and their disabled look. The toolbar does not own them: they must
// outlive its use of them.
struct ToolbarImageLists {
    OwnedImageList normal;
    OwnedImageList disabled;  // none for the 16-colour strip: the toolbar greys its masked images itself
};
// Both empty when the strip cannot be read. The 16-colour strip's greys become the button colours and
// its button face is clear, as in the strip a toolbar loads itself.
ToolbarImageLists LoadToolbarImageLists(HINSTANCE instance, UINT dpi);
