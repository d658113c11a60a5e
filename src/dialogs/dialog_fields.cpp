#include "dialogs/dialog_fields.h"

#include "lib/core/byte_text.h"

void ReadField(HWND dialog, int id, char* field, size_t size) {
    char text[1024] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    bytetext::CopyToField(field, size, text);
}
