#include "dialogs/dialog_commands.h"

#include "dialogs/date_macro_dialog.h"
#include "dialogs/entry_dialog.h"
#include "dialogs/environment_dialog.h"
#include "loglist/command_host.h"
#include "loglist/list_commands.h"
#include "loglist/list_menu.h"
#include "settings/environ.h"

namespace dialog_commands {

void AddEntry(CommandHost& host) {
    DlgAddList dialog(host);
    // The dialog selects the new row once this reload is done.
    if (dialog.Show(AddListDlgProc)) list_commands::RewriteAndReload(host);
}

void EditEntry(CommandHost& host) {
    DlgEditList dialog(host);
    if (dialog.Show(EditListDlgProc)) list_commands::RewriteAndReload(host);
}

void Options(CommandHost& host) {
    if (!ShowEnvironmentDialog(host)) return;
    host.Settings().Save();
    host.List().ApplyListFont();
    list_commands::RewriteAndReload(host);  // keeps the selected row number
}

void DateMacros(CommandHost& host) {
    if (!ShowDateMacroDialog(host)) return;
    host.Settings().Save();
    // Every log file name is expanded again with the new date.
    list_commands::RewriteAndReload(host);
}

}  // namespace dialog_commands
