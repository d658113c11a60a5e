// The main window's commands that show the entry and option dialogs, and what the list does after them.
#include "dialogs/dialog_commands.h"

#include <cstdlib>

#include "app/kelvora_frame.h"
#include "dialogs/date_macro_dialog.h"
#include "dialogs/entry_dialog.h"
#include "dialogs/environment_dialog.h"
#include "loglist/list_commands.h"
#include "loglist/list_menu.h"

namespace dialog_commands {

void AddEntry(KelvoraFrame& frame) {
    ListMenu* list = frame.List();
    if (!list) return;
    DlgAddList dialog(frame.MainWindow(), *list, frame.Settings(), frame.Messages());
    list_commands::FinishEntryDialog(frame, dialog.Show(AddListDlgProc) == 1);
}

void EditEntry(KelvoraFrame& frame) {
    ListMenu* list = frame.List();
    if (!list) return;
    DlgEditList dialog(frame.MainWindow(), *list, frame.Settings(), frame.Messages());
    list_commands::FinishEntryDialog(frame, dialog.Show(EditListDlgProc) == 1);
}

void Options(KelvoraFrame& frame) {
    ListMenu* list = frame.List();
    if (!list || !ShowEnvironmentDialog(frame.MainWindow(), frame.Settings())) return;
    Environ& settings = frame.Settings();
    SendMessageA(list->Control(), LB_SETITEMHEIGHT, 0, std::labs(settings.List().GetFontHeight()));
    settings.Save();
    list->RecreateListFont();
    list->ComputeColumnStops();
    list_commands::RewriteAndReload(frame);  // keeps the selected row number
}

void DateMacros(KelvoraFrame& frame) {
    if (!ShowDateMacroDialog(frame.MainWindow(), frame.Settings())) return;
    frame.Settings().Save();
    // Every log file name is expanded again with the new date.
    list_commands::RewriteAndReload(frame);
}

}  // namespace dialog_commands
