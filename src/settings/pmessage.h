// Message boxes by number: each row of the table names a caption, a text and a style.
#pragma once
#include <windows.h>

// The rows of the message table, named by what they report.
constexpr int kMsgIndexCreateFailed = 0;
constexpr int kMsgListReadFailed = 1;
constexpr int kMsgNoCutFile = 2;
constexpr int kMsgNoEditor = 3;
constexpr int kMsgDeleteNoLogFile = 4;
constexpr int kMsgDeleteFailed = 5;
constexpr int kMsgUpdateFailed = 6;
constexpr int kMsgBrowserRunning = 7;
constexpr int kMsgEditorFailed = 8;
constexpr int kMsgBrowserFailed = 9;
constexpr int kMsgEditNoSelection = 10;
constexpr int kMsgGetEntryFailed = 11;
constexpr int kMsgEditorNoLogFile = 12;
constexpr int kMsgNoLogFile = 13;
constexpr int kMsgNoListName = 14;
constexpr int kMsgNoBrowser = 15;
constexpr int kMsgApplyNoSelection = 16;
constexpr int kMsgApplyDeleteFailed = 17;
constexpr int kMsgApplyAddFailed = 18;
constexpr int kMsgListOptionEditorRunning = 19;
constexpr int kMsgDateMacroEditorRunning = 20;
constexpr int kMsgWorkFileFailed = 21;
constexpr int kMsgCopyFailed = 22;
constexpr int kMsgCutStopped = 23;
constexpr int kMsgCutReadFailed = 24;
constexpr int kMsgCutWriteFailed = 25;
constexpr int kMsgCutFileEditorRunning = 26;

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
    // A message about one file: its text, then the file's path on a line of its own.
    int ShowFileMessage(HWND owner, UINT captionId, UINT textId, UINT style, const char* path) const;
    // The same with the caption, text and style of a row of the table.
    int ShowFileMessage(HWND owner, UINT number, const char* path) const;

    static const MessageRow& Row(int number);

    // While one lives the boxes are not shown and answer 0: the session is ending, and a box
    // would hold it while nobody answers.
    class Silence {
    public:
        explicit Silence(const PMessage& messages) : messages_(messages) { ++messages_.silenced_; }
        ~Silence() { --messages_.silenced_; }
        Silence(const Silence&) = delete;
        Silence& operator=(const Silence&) = delete;

    private:
        const PMessage& messages_;
    };

private:
    int Box(HWND owner, const char* text, const char* caption, UINT style) const;

    HINSTANCE instance_;
    mutable int silenced_ = 0;  // used on the user interface thread only
};
