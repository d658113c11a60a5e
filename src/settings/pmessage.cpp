#include "settings/pmessage.h"

#include <string>

#include "resources/resource_ids.h"

namespace {

constexpr UINT kWarn = MB_OK | MB_ICONEXCLAMATION;
constexpr UINT kStop = MB_OK | MB_ICONHAND;

constexpr MessageRow kRows[PMessage::kRowCount] = {
    {IDS_CAP_CREATEWINDOW, IDS_ERR_INDEXCREATE, kWarn},  // 0
    {IDS_CAP_OPENLIST, IDS_ERR_READ, kWarn},             // 1
    {IDS_CAP_EDITOR, IDS_ERR_NOCUTFILE, kWarn},          // 2
    {IDS_CAP_EDITOR, IDS_ERR_NOEDITOR, kWarn},           // 3
    {IDS_CAP_DELETELIST, IDS_ERR_NOLOGFILE, kStop},      // 4
    {IDS_CAP_DELETELIST, IDS_ERR_DELETE, kStop},         // 5
    {IDS_CAP_BROWSER, IDS_ERR_UPDATE, kStop},            // 6
    {IDS_CAP_EXIT, IDS_ERR_BROWSERRUNNING, kWarn},       // 7
    {IDS_CAP_EDITOR, IDS_ERR_EDITORSTART, kWarn},        // 8
    {IDS_CAP_BROWSER, IDS_ERR_BROWSERSTART, kWarn},      // 9
    {IDS_CAP_EDITLIST, IDS_ERR_NOSELECTION, kWarn},      // 10
    {IDS_CAP_EDITLIST, IDS_ERR_GETENTRY, kWarn},         // 11
    {IDS_CAP_ADDLIST, IDS_ERR_NOSELECTION, kWarn},       // 12
    {IDS_CAP_EDITOR, IDS_ERR_NOLOGFILE, kWarn},          // 13
    {IDS_CAP_EDITLIST, IDS_ERR_NOLISTNAME, kWarn},       // 14
    {IDS_CAP_EDITLIST, IDS_ERR_NOBROWSER, kWarn},        // 15
    {IDS_CAP_EDITLIST, IDS_ERR_NOSELECTION, kStop},      // 16
    {IDS_CAP_EDITLIST, IDS_ERR_DELETE, kStop},           // 17
    {IDS_CAP_EDITLIST, IDS_ERR_ADD, kStop},              // 18
    {IDS_CAP_LISTOPTION, IDS_ERR_EDITORRUNNING, kWarn},  // 19
    {IDS_CAP_DATEMACRO, IDS_ERR_EDITORRUNNING, kWarn},   // 20
    {IDS_CAP_CUT, IDS_ERR_WORKFILE, kStop},              // 21
    {IDS_CAP_CUT, IDS_ERR_COPY, kStop},                  // 22
    {IDS_CAP_CUT, IDS_ERR_CUTSTOPPED, kWarn},            // 23
    {IDS_CAP_CUT, IDS_ERR_READ, kStop},                  // 24
    {IDS_CAP_CUT, IDS_ERR_WRITE, kStop},                 // 25
    {IDS_CAP_CUTFILE, IDS_ERR_EDITORRUNNING, kWarn},     // 26
};

void LoadText(HINSTANCE instance, UINT id, char* buffer, int size) {
    if (LoadStringA(instance, id, buffer, size) <= 0) buffer[0] = '\0';
}

}  // namespace

const MessageRow& PMessage::Row(int number) { return kRows[number]; }

int PMessage::Box(HWND owner, const char* text, const char* caption, UINT style) const {
    return silenced_ ? 0 : MessageBoxA(owner, text, caption, style);
}

int PMessage::ShowMessage(HWND owner, UINT number) const {
    number &= 0xFFFF;
    if (number >= static_cast<UINT>(kRowCount)) return 0;
    const MessageRow& row = kRows[number];
    char text[257];
    char caption[81];
    LoadText(instance_, row.textId, text, sizeof text);
    LoadText(instance_, row.captionId, caption, sizeof caption);
    return Box(owner, text, caption, row.style);
}

int PMessage::ShowMessageByIds(HWND owner, UINT captionId, UINT textId, UINT style) const {
    char text[257];
    char caption[257];
    LoadText(instance_, textId & 0xFFFF, text, sizeof text);
    LoadText(instance_, captionId & 0xFFFF, caption, sizeof caption);
    return Box(owner, text, caption, style & 0xFFFF);
}

int PMessage::ShowFileMessage(HWND owner, UINT captionId, UINT textId, UINT style, const char* path) const {
    char text[257];
    char caption[257];
    LoadText(instance_, textId, text, sizeof text);
    LoadText(instance_, captionId, caption, sizeof caption);
    std::string message = std::string(text) + "\r\n" + path;
    return Box(owner, message.c_str(), caption, style);
}

int PMessage::ShowFileMessage(HWND owner, UINT number, const char* path) const {
    if (number >= static_cast<UINT>(kRowCount)) return 0;
    const MessageRow& row = kRows[number];
    return ShowFileMessage(owner, row.captionId, row.textId, row.style, path);
}
