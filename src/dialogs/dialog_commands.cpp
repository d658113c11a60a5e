// The main window's commands that show the entry and option dialogs, and what the list does after them.
#include "dialogs/dialog_commands.h"

#include "dialogs/date_macro_dialog.h"
#include "dialogs/entry_dialog.h"
#include "dialogs/environment_dialog.h"
#include "loglist/list_commands.h"
#include "loglist/list_context.h"
#include "loglist/list_menu.h"
#include "settings/environ.h"

namespace dialog_commands {

void AddEntry(ListContext& context) {
    ListMenu* list = context.List();
    if (!list) return;
    DlgAddList dialog(context.Owner(), *list, context.Settings(), context.Messages());
    // The dialog selects the new row once this reload is done.
    if (dialog.Show(AddListDlgProc) == 1) list_commands::RewriteAndReload(context);
}

void EditEntry(ListContext& context) {
    ListMenu* list = context.List();
    if (!list) return;
    DlgEditList dialog(context.Owner(), *list, context.Settings(), context.Messages());
    if (dialog.Show(EditListDlgProc) == 1) list_commands::RewriteAndReload(context);
}

void Options(ListContext& context) {
    ListMenu* list = context.List();
    if (!list || !ShowEnvironmentDialog(context.Owner(), context.Settings())) return;
    context.Settings().Save();
    list->ApplyListFont();
    list_commands::RewriteAndReload(context);  // keeps the selected row number
}

void DateMacros(ListContext& context) {
    if (!ShowDateMacroDialog(context.Owner(), context.Settings())) return;
    context.Settings().Save();
    // Every log file name is expanded again with the new date.
    list_commands::RewriteAndReload(context);
}

}  // namespace dialog_commands
