// The main window's commands that show the entry and option dialogs, and what the list does after them.
#pragma once

class ListContext;

namespace dialog_commands {

void AddEntry(ListContext& context);    // 12
void EditEntry(ListContext& context);   // 13
void Options(ListContext& context);     // 22
void DateMacros(ListContext& context);  // 24

}  // namespace dialog_commands
