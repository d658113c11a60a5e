// Message boxes by number: each row of the table names a caption, a text and a style.
#pragma once
#include <windows.h>

struct MessageRow {
    UINT captionId;
    UINT textId;
    UINT style;
};

class PMessage {
public:
    static constexpr int kRowCount = 27;

    explicit PMessage(HINSTANCE instance) : instance_(instance) {}

    // The button pressed (IDOK for one-button boxes); 0 without a box for a number outside the table.
    int ShowMessage(HWND owner, UINT number) const;
    int ShowMessageByIds(HWND owner, UINT captionId, UINT textId, UINT style) const;

    static const MessageRow& Row(int number);

private:
    HINSTANCE instance_;
};
